#pragma once

#include "gui/controls/FileChooserLauncher.h"

/** The file choosers of the pattern menus, never blocking: opening through the
    toolkit's launcher, and choosing a file to save to, whose overwrite question the
    editor asks itself once the extension is on the name. Tests replace both. */
class PatternFileChooser : public FileChooserLauncher
{
public:
    /** The callback does not run when the user cancels. The parent hosts JUCE's own
        dialog when the desktop offers no native one. */
    virtual void launchSave (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                             juce::Component* parent, Callback onChosen);

private:
    std::unique_ptr<juce::FileChooser> saveChooser; // kept alive until the asynchronous dialog ends
};
