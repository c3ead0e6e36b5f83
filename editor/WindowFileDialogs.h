#pragma once

#include "gui/controls/AlertWindow.h"

#include <functional>
#include <memory>

/** The open and save dialogs of a window over the panel, all asynchronous.

    Opening hands the chosen file to a reader. Saving appends the extension unless
    the name already ends with it (ignoring case), asks in our own question window
    before replacing a file, then hands the file to a writer. A reader or writer
    that fails is reported in a one-button alert. Questions and alerts show over
    the editor that the owner sits in; a chooser that answers after this object
    has gone does nothing. Tests replace the two launch operations. */
class WindowFileDialogs : private Oru::AlertWindow::Caller
{
public:
    using FileAction = std::function<bool (const juce::File&)>;
    using Chosen = std::function<void (const juce::File&)>;

    explicit WindowFileDialogs (juce::Component& owner);
    ~WindowFileDialogs() override;

    /** reader gets the chosen file; failureMessage is shown when it returns false. */
    void open (const juce::String& title, const juce::File& initialFile, const juce::String& patterns,
               FileAction reader, const juce::String& failureMessage);

    void save (const juce::String& title, const juce::File& initialFile, const juce::String& patterns,
               const juce::String& extension, FileAction writer, const juce::String& failureMessage);

    /** The file with the extension appended, unless its name already ends with it. */
    static juce::File withExtension (const juce::File& file, const juce::String& extension);

    /** The question or alert on screen, if any. */
    Oru::AlertWindow* getAlert() const noexcept { return alert.get(); }

    /** The plug-in's name, the title of questions and alerts. */
    void setAlertTitle (const juce::String& title) { alertTitle = title; }

protected:
    /** The real choosers: one existing file to open; a file name to save to. The
        callback runs only for a choice, on the message thread. */
    virtual void launchOpen (const juce::String& title, const juce::File& initialFile, const juce::String& patterns,
                             Chosen onChosen);
    virtual void launchSave (const juce::String& title, const juce::File& initialFile, const juce::String& patterns,
                             Chosen onChosen);

private:
    void alertWindowClosed (Oru::AlertWindow* window, int result) override;
    void showAlert (std::unique_ptr<Oru::AlertWindow> window);
    void showFailure (const juce::String& message);
    void write (const juce::File& file);

    juce::Component& owner;
    juce::String alertTitle;
    std::unique_ptr<juce::FileChooser> chooser;
    std::unique_ptr<Oru::AlertWindow> alert, retiredAlert;

    // The save waiting for the answer to "replace?".
    juce::File pendingFile;
    FileAction pendingWriter;
    juce::String pendingFailure;

    JUCE_DECLARE_WEAK_REFERENCEABLE (WindowFileDialogs)
    JUCE_DECLARE_NON_COPYABLE (WindowFileDialogs)
};
