#include "gui/controls/DocumentFileChooser.h"

/** Hears the owner leave its window: the host closed the editor. */
class DocumentFileChooser::EditorWatch : public juce::ComponentMovementWatcher
{
public:
    EditorWatch (DocumentFileChooser& chooserToUse, juce::Component& watched)
        : juce::ComponentMovementWatcher (&watched)
        , chooser (chooserToUse)
    {
    }

    using juce::ComponentMovementWatcher::componentMovedOrResized;
    using juce::ComponentMovementWatcher::componentVisibilityChanged;
    void componentMovedOrResized (bool, bool) override {}
    void componentVisibilityChanged() override {}

    void componentPeerChanged() override
    {
        if (auto* c = getComponent(); c == nullptr || c->getPeer() == nullptr)
            chooser.abandon();
    }

private:
    DocumentFileChooser& chooser;
};

DocumentFileChooser::DocumentFileChooser (juce::Component& ownerToUse)
    : owner (ownerToUse)
    , launcher (std::make_unique<FileChooserLauncher>())
    , editorWatch (std::make_unique<EditorWatch> (*this, ownerToUse))
{
}

DocumentFileChooser::~DocumentFileChooser()
{
    editorWatch.reset();

    // The chooser goes first: a choice arriving now must find nothing to call.
    launcher.reset();
}

void DocumentFileChooser::abandon()
{
    launcher->close();
    saveTarget = juce::File();
    question.reset();
    notice.reset();
}

void DocumentFileChooser::setLauncher (std::unique_ptr<FileChooserLauncher> newLauncher)
{
    if (newLauncher != nullptr)
        launcher = std::move (newLauncher);
}

juce::File DocumentFileChooser::withExtension (const juce::File& chosen, const juce::String& extension)
{
    if (chosen.getFileName().endsWithIgnoreCase (extension))
        return chosen;

    return chosen.getSiblingFile (chosen.getFileName() + extension);
}

void DocumentFileChooser::setFolder (FolderSource current, FolderSink remember)
{
    folderSource = std::move (current);
    folderSink = std::move (remember);
}

juce::File DocumentFileChooser::startFolder() const
{
    return folderSource ? folderSource() : juce::File();
}

void DocumentFileChooser::succeeded (const juce::File& file, const Done& done)
{
    if (folderSink)
        folderSink (file.getParentDirectory());

    if (done)
        done (file);
}

void DocumentFileChooser::save (const juce::String& title, const juce::String& extension, FileAction writer, Done onSaved)
{
    question.reset();
    saveTitle = title;
    saveExtension = extension;
    saveWriter = std::move (writer);
    saveDone = std::move (onSaved);
    saveTarget = juce::File();

    launcher->setParentAbove (owner);
    launcher->launchForSave (title, startFolder(), "*" + extension, [this] (const juce::File& chosen)
                             { saveChosen (chosen); });
}

void DocumentFileChooser::saveChosen (const juce::File& chosen)
{
    saveTarget = withExtension (chosen, saveExtension);

    // A folder of that name cannot be replaced: the failure is reported without a question.
    if (!saveTarget.existsAsFile())
    {
        write();
        return;
    }

    question = showWindow (Oru::AlertWindow::createQuestionWindow (
        saveTitle, "\"" + saveTarget.getFileName() + "\" already exists. Do you want to replace it?", this));
}

void DocumentFileChooser::write()
{
    const auto target = saveTarget;
    saveTarget = juce::File();

    if (target.isDirectory() || !saveWriter || !saveWriter (target))
    {
        showNotice (saveTitle, "\"" + target.getFileName() + "\" could not be saved.");
        return;
    }

    succeeded (target, saveDone);
}

void DocumentFileChooser::alertWindowClosed (Oru::AlertWindow* window, int result)
{
    // The window stays until the next question replaces it: it is still returning from this call.
    if (window == question.get() && result == 1 && saveTarget != juce::File())
        write();
}

void DocumentFileChooser::load (const juce::String& title, const juce::String& wildcard, FileAction reader, Done onLoaded)
{
    launcher->setParentAbove (owner);
    launcher->launch (title, startFolder(), wildcard,
                      [this, title, reader = std::move (reader), onLoaded = std::move (onLoaded)] (const juce::File& file)
                      {
                          if (!reader || !reader (file))
                              showNotice (title, "\"" + file.getFileName() + "\" could not be loaded.");
                          else
                              succeeded (file, onLoaded);
                      });
}

void DocumentFileChooser::showNotice (const juce::String& title, const juce::String& message)
{
    auto window = std::make_unique<Oru::AlertWindow>();
    window->setTitle (title);
    window->setMessage (message);
    window->addButton ("OK", 0);
    notice = showWindow (std::move (window));
}

std::unique_ptr<Oru::AlertWindow> DocumentFileChooser::showWindow (std::unique_ptr<Oru::AlertWindow> window)
{
    owner.addChildComponent (*window);
    window->show();
    return window;
}
