#include <juce_core/juce_core.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize (int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);

// The ordinary build's main of a fuzz target: every file of the folders named on the command line
// goes through the target once, in name order, so the replay is the same on every run. A folder
// that is missing or empty fails the run, so a corpus that went astray cannot pass in silence.
int main (int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf (stderr, "usage: %s FOLDER...\n", argv[0]);
        return 2;
    }

    LLVMFuzzerInitialize (&argc, &argv);
    int total = 0;

    for (int i = 1; i < argc; ++i)
    {
        const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[i]);
        auto files = folder.findChildFiles (juce::File::findFiles, false);
        std::sort (files.begin(), files.end(), [] (const juce::File& a, const juce::File& b) { return a.getFileName() < b.getFileName(); });

        if (files.isEmpty())
        {
            std::fprintf (stderr, "no inputs in %s\n", folder.getFullPathName().toRawUTF8());
            return 1;
        }

        for (const auto& file : files)
        {
            juce::MemoryBlock input;

            if (! file.loadFileAsData (input))
            {
                std::fprintf (stderr, "cannot read %s\n", file.getFullPathName().toRawUTF8());
                return 1;
            }

            // Named before it runs, so a crash or a hang says which input it was.
            std::printf ("%s/%s: %zu bytes", folder.getFileName().toRawUTF8(), file.getFileName().toRawUTF8(), input.getSize());
            std::fflush (stdout);
            const auto start = juce::Time::getMillisecondCounterHiRes();
            LLVMFuzzerTestOneInput (static_cast<const uint8_t*> (input.getData()), input.getSize());
            std::printf (", %.1f ms\n", juce::Time::getMillisecondCounterHiRes() - start);
            ++total;
        }
    }

    std::printf ("%d inputs replayed\n", total);
    return 0;
}
