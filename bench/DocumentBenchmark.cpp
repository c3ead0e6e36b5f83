// Reads the documents the plug-in reads most (the full state chunk of a fresh instance and the
// factory preset and pattern banks) as the plug-in reads them, through expat, and with JUCE's
// juce::XmlDocument, and prints the CPU time a document takes to become a tree with each. The
// chunk is read whole: the plug-in hands the chunk's bytes to expat; JUCE's parser needs them
// checked as UTF-8 and copied into a juce::String first.

#include "drummachine/Pulsaret.h"
#include "framework/EmbeddedResources.h"
#include "framework/XmlDocuments.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <cstdio>
#include <functional>

namespace
{
double cpuSeconds()
{
    timespec t{};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
    return (double) t.tv_sec + (double) t.tv_nsec * 1e-9;
}

/** CPU microseconds one read takes: the mean of as many reads as fit in 0.1 s (at least 10). */
double microsecondsPerRead (const std::function<bool()>& read)
{
    int reads = 0;
    const double start = cpuSeconds();
    double elapsed = 0.0;

    do
    {
        if (!read())
        {
            std::fprintf (stderr, "a document did not parse\n");
            std::exit (1);
        }

        ++reads;
        elapsed = cpuSeconds() - start;
    } while (elapsed < 0.1 || reads < 10);

    return elapsed / reads * 1.0e6;
}

juce::MemoryBlock fullStateChunk()
{
    const auto settings = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("PulsaretBench", ".ini");
    juce::MemoryBlock chunk;

    {
        Pulsaret plugin;
        plugin.setUserSettingsFile (settings);
        plugin.preInitialise();
        plugin.initialise();
        plugin.getStateInformation (chunk);
    }

    settings.deleteFile();
    return chunk;
}

/** The chunk's text (after the magic and the length, up to the terminator) as JUCE's parser needs it. */
std::unique_ptr<juce::XmlElement> readChunkWithJuce (const juce::MemoryBlock& chunk)
{
    const auto* text = static_cast<const char*> (chunk.getData()) + 8;
    const auto length = std::strlen (text);

    if (!juce::CharPointer_UTF8::isValidString (text, (int) length))
        return nullptr;

    return juce::XmlDocument::parse (juce::String (juce::CharPointer_UTF8 (text), length));
}
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;

    const auto chunk = fullStateChunk();
    const auto presetBank = loadXmlResource ("default.PXprsb");
    const auto patternBank = loadXmlResource ("default.PXptrb");

    const struct
    {
        const char* name;
        size_t bytes;
        std::function<bool()> expat, juce;
    } documents[] = {
        {"full state chunk", chunk.getSize(), [&chunk] { return BasePlugin::readStateChunk (chunk.getData(), (int) chunk.getSize()) != nullptr; },
         [&chunk] { return readChunkWithJuce (chunk) != nullptr; }},
        {"factory preset bank", presetBank.getNumBytesAsUTF8(), [&presetBank] { return parseXmlText (presetBank) != nullptr; },
         [&presetBank] { return juce::XmlDocument::parse (presetBank) != nullptr; }},
        {"factory pattern bank", patternBank.getNumBytesAsUTF8(), [&patternBank] { return parseXmlText (patternBank) != nullptr; },
         [&patternBank] { return juce::XmlDocument::parse (patternBank) != nullptr; }},
    };

    std::printf ("%-22s %9s %12s %12s %8s\n", "document", "bytes", "expat us", "JUCE us", "ratio");

    for (const auto& d : documents)
    {
        // The two in turn, ten rounds each, the fastest round of each: other work on the machine
        // slows both alike.
        double expat = 1.0e30, juceParser = 1.0e30;

        for (int round = 0; round < 10; ++round)
        {
            expat = std::min (expat, microsecondsPerRead (d.expat));
            juceParser = std::min (juceParser, microsecondsPerRead (d.juce));
        }

        std::printf ("%-22s %9d %12.1f %12.1f %8.2f\n", d.name, (int) d.bytes, expat, juceParser, expat / juceParser);
    }

    return 0;
}
