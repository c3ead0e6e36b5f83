#pragma once

#include "drummachine/Pulsaret.h"
#include "sequencer/PulsaretSeq.h"
#include "tests/MessagePump.h"
#include "tests/TempFolder.h"

#include <juce_events/juce_events.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>

/** What every fuzz target shares: one started Pulsaret per process (created once, as the host
    adapter starts it, its settings file in a folder of its own), the input file and the output
    file that the file readers and writers use, and the oracle.

    The oracle, for each input: a refused input leaves the reader's state document as it was, byte
    for byte; an accepted one is written back by the reader's own writer, read again, and written
    again, and the two writes are the same bytes. Then the baseline (what the writer gave for the
    started instance) is read back, which must restore the state exactly, so every input starts
    from the same state and a failure found by the campaign replays on its own. A broken oracle
    aborts with the reason, so libFuzzer and the replay both report it. */
class FuzzedReader
{
public:
    /** The reader's state as bytes: its document, or several, as the writers give them. */
    using Snapshot = std::function<juce::MemoryBlock()>;

    /** Takes the input through the real reader; true when the reader accepted it. */
    using Read = std::function<bool (const void* data, size_t size)>;

    /** What the reader's own writer gives for the current state. */
    using Write = std::function<juce::MemoryBlock()>;

    FuzzedReader (const char* targetName, Snapshot s, Read r, Write w)
        : name (targetName)
        , snapshot (std::move (s))
        , read (std::move (r))
        , write (std::move (w))
    {
        baselineWrite = written();
        baselineState = taken();
        restoreBaseline ("the started instance");
    }

    /** A reader of files: the input is written to the input file, which the reader loads; the
        writer saves to the output file, whose bytes are what it wrote. */
    static FuzzedReader forFile (const char* targetName, const juce::String& extension, Snapshot s,
                                 std::function<bool (const juce::File&)> load,
                                 std::function<bool (const juce::File&)> save)
    {
        const auto in = inputFile (extension), out = outputFile (extension);

        return FuzzedReader (
            targetName, std::move (s),
            [in, load] (const void* data, size_t size)
            {
                writeFile (in, data, size);
                return load (in);
            },
            [out, save, targetName]
            {
                if (! save (out))
                    failWith (targetName, "the writer failed to write " + out.getFullPathName());

                return readFile (out);
            });
    }

    int run (const void* data, size_t size)
    {
        if (! readAndDeliver (data, size))
        {
            if (taken() != baselineState)
                fail ("an input the reader refused changed its state");

            return 0;
        }

        const auto first = written();

        if (! readAndDeliver (first.getData(), first.getSize()))
            fail ("the reader refused what its own writer wrote for an accepted input");

        if (written() != first)
            fail ("writing, reading and writing an accepted input again gave other bytes");

        restoreBaseline ("an accepted input");
        return 0;
    }

    //==============================================================================
    // The shared instance and files

    struct Instance
    {
        Instance()
        {
            settingsFile = folder.file ("Pulsaret.ini");
            plugin = std::make_unique<Pulsaret>();
            plugin->setUserSettingsFile (settingsFile);
            plugin->preInitialise();
            plugin->initialise();
            const int channels = plugin->getOutputChannelCount();
            plugin->setPlayConfigDetails (0, channels, 44100.0, 512);
            plugin->prepareToPlay (44100.0, 512);
            pumpPendingMessages();
        }

        ~Instance()
        {
            plugin.reset();
            pumpPendingMessages();
        }

        // Members go in reverse order: the plug-in, then its folder, then JUCE.
        juce::ScopedJuceInitialiser_GUI juce;
        TempFolder folder;
        juce::File settingsFile;
        std::unique_ptr<Pulsaret> plugin;
    };

    static Instance& instance()
    {
        static Instance shared;
        return shared;
    }

    static Pulsaret& plugin() { return *instance().plugin; }

    /** The file a file reader reads: the input goes in whole, replacing what was there. */
    static juce::File inputFile (const juce::String& extension)
    {
        return instance().folder.file ("input" + extension);
    }

    static juce::File outputFile (const juce::String& extension)
    {
        return instance().folder.file ("output" + extension);
    }

    static void writeFile (const juce::File& file, const void* data, size_t size)
    {
        if (! file.replaceWithData (data, size) && size > 0)
            failWith ("fuzz", "could not write the input file " + file.getFullPathName());
    }

    static juce::MemoryBlock readFile (const juce::File& file)
    {
        juce::MemoryBlock bytes;

        if (! file.loadFileAsData (bytes))
            failWith ("fuzz", "could not read back the written file " + file.getFullPathName());

        return bytes;
    }

    /** Documents one after the other, each as the chunk writer sets it down (one line, no
        declaration), one a line. */
    static juce::MemoryBlock documents (std::initializer_list<const juce::XmlElement*> elements)
    {
        juce::MemoryBlock bytes;

        {
            juce::MemoryOutputStream out (bytes, false);

            for (const auto* element : elements)
            {
                if (element != nullptr)
                    element->writeTo (out, juce::XmlElement::TextFormat().singleLine().withoutHeader());
                else
                    out << "(none)";

                out << "\n";
            }
        }

        return bytes;
    }

    /** What a preset read into the current slot may change: that slot, which one it is, and
        the parameters it is applied to. */
    static juce::MemoryBlock currentPreset()
    {
        auto& p = plugin();
        juce::XmlElement current ("CurrentPreset");
        current.setAttribute ("index", p.getCurrentPreset());
        return documents ({ &current, p.createPresetXmlForSlot (p.getCurrentPreset()).get(),
                            p.createParametersStateXml (p.getNumSavedParameters()).get() });
    }

    /** What a bank may change: every slot and group, the bank's name, the current preset and
        the parameters it is applied to. */
    static juce::MemoryBlock presets()
    {
        auto& p = plugin();
        juce::XmlElement current ("CurrentPreset");
        current.setAttribute ("index", p.getCurrentPreset());
        return documents ({ &current, p.createPresetBankXml().get(), p.createParametersStateXml (p.getNumSavedParameters()).get() });
    }

    /** Every pattern, the edited one, and the parameters that show them. */
    static juce::MemoryBlock patterns()
    {
        auto& p = plugin();
        return documents ({ p.getPulsaretSeq()->createPatternBankXml().get(), p.getPulsaretSeq()->createEditionStateXml().get(),
                            p.createParametersStateXml (p.getNumSavedParameters()).get() });
    }

    /** The whole plug-in state as the host takes it. */
    static juce::MemoryBlock stateChunk()
    {
        juce::MemoryBlock chunk;
        plugin().getStateInformation (chunk);
        pumpPendingMessages();
        return chunk;
    }

    [[noreturn]] static void failWith (const char* target, const juce::String& reason)
    {
        std::fprintf (stderr, "\n*** fuzz target %s: %s\n", target, reason.toRawUTF8());
        std::fflush (stderr);
        std::abort();
    }

private:
    [[noreturn]] void fail (const juce::String& reason) const { failWith (name, reason); }

    bool readAndDeliver (const void* data, size_t size)
    {
        const bool accepted = read (data, size);
        // Listeners hear a load on the message thread; what they do belongs to the load.
        pumpPendingMessages();
        return accepted;
    }

    juce::MemoryBlock written()
    {
        auto bytes = write();
        pumpPendingMessages();
        return bytes;
    }

    juce::MemoryBlock taken()
    {
        auto bytes = snapshot();
        pumpPendingMessages();
        return bytes;
    }

    void restoreBaseline (const char* after)
    {
        if (! readAndDeliver (baselineWrite.getData(), baselineWrite.getSize()))
            fail (juce::String ("the reader refused the baseline its own writer wrote, after ") + after);

        if (taken() != baselineState)
            fail (juce::String ("reading the baseline back did not restore the state, after ") + after);
    }

    const char* name;
    Snapshot snapshot;
    Read read;
    Write write;
    juce::MemoryBlock baselineWrite, baselineState;
};

/** libFuzzer's two entry points for a target whose reader is made by the function given: made once,
    before the first input, so that starting the instance is not taken for the first input's time. */
#define FUZZED_READER_ENTRY_POINTS(makeReader)                                          \
    extern "C" int LLVMFuzzerInitialize (int*, char***)                                \
    {                                                                                  \
        makeReader();                                                                  \
        return 0;                                                                      \
    }                                                                                  \
                                                                                       \
    extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)           \
    {                                                                                  \
        return makeReader().run (data, size);                                          \
    }
