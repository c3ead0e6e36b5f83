#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

/** Opens a file chooser without blocking (modal loops are off in a plug-in) and hands
    the choice to a callback on the message thread; the callback does not run when the
    user cancels, nor after the launcher has gone or closed the chooser.

    zenity or kdialog is used when installed. Else the toolkit's own chooser opens in a
    top-level window of its own, centred over the parent component, which the window
    manager keeps above the host's window as one of the host's dialogs: a host keeps the
    keyboard focus on its own window and never hands it to the editor embedded in it, so a
    chooser inside the editor would never see a key (LiftedWindow). The chooser takes the
    focus with the keyboard in its file name box, gives the focus back where it was when it
    closes, and closes as if cancelled when the host closes the editor. Tests replace launch
    and launchForSave. */
class FileChooserLauncher
{
public:
    using Callback = std::function<void (const juce::File&)>;

    FileChooserLauncher();
    virtual ~FileChooserLauncher();

    void setParentComponent (juce::Component* newParent) noexcept { parent = newParent; }

    /** Makes the editor above the component (the nearest pseudo-modal desktop) the parent. */
    void setParentAbove (juce::Component& component);

    /** One existing file. */
    virtual void launch (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                         Callback onChosen);

    /** A file to write, which may not exist yet. The chooser itself does not ask about
        replacing: the caller asks once it has added its extension. */
    virtual void launchForSave (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                                Callback onChosen);

    /** Closes an open chooser; its callback never runs. */
    virtual void close();

    /** The toolkit's chooser window while it is open, else null. */
    juce::Component* getChooserWindow() const noexcept;

private:
    class ChooserWindow;

    void start (int flags, const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                Callback onChosen, bool mustExist);
    void startPlatformDialog (int flags, const juce::String& title, const juce::File& initialFile,
                              const juce::String& wildcard, Callback onChosen, bool mustExist);

    std::unique_ptr<juce::FileChooser> chooser; // kept alive until the asynchronous dialog ends
    std::unique_ptr<ChooserWindow> window;
    juce::Component::SafePointer<juce::Component> parent;
    std::shared_ptr<int> alive = std::make_shared<int> (0); // choices arriving later see it expired

    JUCE_DECLARE_NON_COPYABLE (FileChooserLauncher)
};
