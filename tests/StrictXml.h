#pragma once

#include <juce_core/juce_core.h>

/** What a strict XML 1.0 reader (Python's, on expat) says of each file it refuses, one line a
    file; empty when it reads every file. JUCE's own parser reads what the standard forbids
    (a reference to character 1, for one), so it cannot be the judge of what we write. */
inline juce::String refusedByStrictXmlReader (const juce::Array<juce::File>& files)
{
    static const char* const script = "import sys, xml.etree.ElementTree as E\n"
                                      "for f in sys.argv[1:]:\n"
                                      "    try:\n"
                                      "        E.parse(f)\n"
                                      "    except Exception as e:\n"
                                      "        print(f, e)\n";

    juce::StringArray command{PULSARET_PYTHON, "-c", script};

    for (auto& file : files)
        command.add (file.getFullPathName());

    juce::ChildProcess python;

    if (!python.start (command))
        return "cannot start " PULSARET_PYTHON;

    const auto output = python.readAllProcessOutput();
    python.waitForProcessToFinish (30000);

    if (python.getExitCode() != 0)
        return "the reader failed: " + output;

    return output.trim();
}
