#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** Opens a file chooser for one existing file without blocking (modal loops are
    off in a plug-in) and hands the choice to a callback on the message thread;
    the callback does not run when the user cancels. Tests replace launch. */
class FileChooserLauncher
{
public:
    using Callback = std::function<void (const juce::File&)>;

    virtual ~FileChooserLauncher() = default;

    virtual void launch (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                         Callback onChosen);

private:
    std::unique_ptr<juce::FileChooser> chooser; // kept alive until the asynchronous dialog ends
};
