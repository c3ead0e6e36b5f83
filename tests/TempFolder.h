#pragma once

#include <juce_core/juce_core.h>

#include <unistd.h>

/** A folder of its own under the temporary directory, removed with everything in it. The process id
    is in its name: ctest runs tests as parallel processes, and a name that is merely free when asked
    for can be taken by another process before it is created. */
struct TempFolder
{
    TempFolder() { folder.createDirectory(); }
    ~TempFolder() { folder.deleteRecursively(); }
    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }

    const juce::File folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                  .getChildFile ("pulsaret-" + juce::String ((int) getpid()) + "-" + juce::Uuid().toString());
};
