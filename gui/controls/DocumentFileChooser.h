#pragma once

#include "gui/controls/AlertWindow.h"
#include "gui/controls/FileChooserLauncher.h"

#include <functional>
#include <memory>

/** Loading and saving one document through a file chooser, shared by every window and
    panel that keeps files. Saving appends the extension unless the chosen name already
    ends with it (ignoring case), then asks in our own question window before replacing a
    file of that name; "No" leaves the file as it was. A load or save that fails says so in
    a one-button notice. The windows are pseudo-modal over the editor, so nothing blocks.

    The reader and writer do the work and return false on failure; a writer must write
    through a temporary file moved into place, so that a failure changes nothing (the
    file writers of the plug-in all do). When the host closes the editor, an open chooser
    closes as if cancelled, and a question or notice goes with it: none waits inside a
    closed editor. Message thread only. */
class DocumentFileChooser : private Oru::AlertWindow::Caller
{
public:
    using FileAction = std::function<bool (const juce::File& file)>;
    using Done = std::function<void (const juce::File& file)>;

    /** owner: the component below the editor that holds the question and notice windows. */
    explicit DocumentFileChooser (juce::Component& owner);
    ~DocumentFileChooser() override;

    /** Replaces the chooser, as tests do with a scripted one. */
    void setLauncher (std::unique_ptr<FileChooserLauncher> newLauncher);
    FileChooserLauncher& getLauncher() noexcept { return *launcher; }

    using FolderSource = std::function<juce::File()>;
    using FolderSink = std::function<void (const juce::File& folder)>;

    /** Where every chooser opens, and what learns the folder of a file read or written. A
        cancelled chooser, a "No" to the question and a failed load or save leave it as it
        was: the musician comes back to where the last file that counted was. */
    void setFolder (FolderSource current, FolderSink remember);

    /** Asks for a file to write; extension with its dot (".PXptr"); the wildcard is
        "*" + extension. onSaved hears the file written. */
    void save (const juce::String& title, const juce::String& extension, FileAction writer, Done onSaved = {});

    /** Asks for an existing file and reads it; onLoaded hears the file read. */
    void load (const juce::String& title, const juce::String& wildcard, FileAction reader, Done onLoaded = {});

    /** A one-button notice over the editor, also for failures the caller finds itself. */
    void showNotice (const juce::String& title, const juce::String& message);

    /** The chosen file with the extension appended unless its name already ends with it. */
    static juce::File withExtension (const juce::File& chosen, const juce::String& extension);

    /** The question about replacing a file and the last notice, while they exist. */
    Oru::AlertWindow* getQuestion() const noexcept { return question.get(); }
    Oru::AlertWindow* getNotice() const noexcept { return notice.get(); }

private:
    class EditorWatch;

    void abandon();
    void saveChosen (const juce::File& chosen);
    void write();
    juce::File startFolder() const;
    void succeeded (const juce::File& file, const Done& done);
    void alertWindowClosed (Oru::AlertWindow* window, int result) override;
    std::unique_ptr<Oru::AlertWindow> showWindow (std::unique_ptr<Oru::AlertWindow> window);

    juce::Component& owner;
    std::unique_ptr<FileChooserLauncher> launcher;
    FolderSource folderSource;
    FolderSink folderSink;

    // The save in progress, from the choice to the answer of the question.
    juce::String saveTitle, saveExtension;
    FileAction saveWriter;
    Done saveDone;
    juce::File saveTarget;

    std::unique_ptr<Oru::AlertWindow> question, notice;
    std::unique_ptr<EditorWatch> editorWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DocumentFileChooser)
};
