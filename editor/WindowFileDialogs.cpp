#include "editor/WindowFileDialogs.h"

WindowFileDialogs::WindowFileDialogs (juce::Component& o)
    : owner (o)
{
}

WindowFileDialogs::~WindowFileDialogs() = default;

juce::File WindowFileDialogs::withExtension (const juce::File& file, const juce::String& extension)
{
    // "Kit v1.5" keeps its ".5": the extension is added, never swapped for another.
    if (extension.isEmpty() || file.getFileName().endsWithIgnoreCase (extension))
        return file;

    return file.getSiblingFile (file.getFileName() + extension);
}

void WindowFileDialogs::open (const juce::String& title, const juce::File& initialFile, const juce::String& patterns,
                              FileAction reader, const juce::String& failureMessage)
{
    juce::WeakReference<WindowFileDialogs> self (this);
    launchOpen (title, initialFile, patterns, [self, reader, failureMessage] (const juce::File& file)
                {
                    if (self == nullptr || !reader)
                        return;

                    if (!reader (file))
                        self->showFailure (failureMessage); });
}

void WindowFileDialogs::save (const juce::String& title, const juce::File& initialFile, const juce::String& patterns,
                              const juce::String& extension, FileAction writer, const juce::String& failureMessage)
{
    juce::WeakReference<WindowFileDialogs> self (this);
    launchSave (title, initialFile, patterns, [self, extension, writer, failureMessage] (const juce::File& chosen)
                {
                    if (self == nullptr || !writer || chosen == juce::File())
                        return;

                    self->pendingFile = withExtension (chosen, extension);
                    self->pendingWriter = writer;
                    self->pendingFailure = failureMessage;

                    if (!self->pendingFile.exists())
                    {
                        self->write (self->pendingFile);
                        return;
                    }

                    self->showAlert (Oru::AlertWindow::createQuestionWindow (
                        self->alertTitle, "\"" + self->pendingFile.getFileName() + "\" already exists. Do you want to replace it?",
                        self.get())); });
}

void WindowFileDialogs::write (const juce::File& file)
{
    auto writer = std::move (pendingWriter);
    pendingWriter = nullptr;

    if (writer && !writer (file))
        showFailure (pendingFailure);
}

void WindowFileDialogs::showFailure (const juce::String& message)
{
    auto window = std::make_unique<Oru::AlertWindow>();
    window->setMessage (message);
    window->addButton ("OK", 1);
    showAlert (std::move (window));
}

void WindowFileDialogs::alertWindowClosed (Oru::AlertWindow* window, int result)
{
    if (window != alert.get() || !pendingWriter)
        return;

    if (result == 1)
        write (pendingFile);
    else
        pendingWriter = nullptr;
}

void WindowFileDialogs::showAlert (std::unique_ptr<Oru::AlertWindow> window)
{
    // A newer question replaces the older one, which may be the very window whose
    // button is being answered: it is hidden now and deleted at the next replacement.
    if (alert != nullptr)
        alert->hide();

    retiredAlert = std::move (alert);

    if (window->getTitle().isEmpty())
        window->setTitle (alertTitle);

    alert = std::move (window);
    owner.addChildComponent (*alert);
    alert->show();
}

void WindowFileDialogs::launchOpen (const juce::String& title, const juce::File& initialFile,
                                    const juce::String& patterns, Chosen onChosen)
{
    chooser = std::make_unique<juce::FileChooser> (title, initialFile, patterns, true);
    chooser->launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                          [callback = std::move (onChosen)] (const juce::FileChooser& fc)
                          {
                              const auto file = fc.getResult();

                              if (file.existsAsFile() && callback)
                                  callback (file); });
}

void WindowFileDialogs::launchSave (const juce::String& title, const juce::File& initialFile,
                                    const juce::String& patterns, Chosen onChosen)
{
    // No overwrite question from the chooser: ours comes after the extension is added.
    chooser = std::make_unique<juce::FileChooser> (title, initialFile, patterns, true);
    chooser->launchAsync (juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles,
                          [callback = std::move (onChosen)] (const juce::FileChooser& fc)
                          {
                              const auto file = fc.getResult();

                              if (file != juce::File() && callback)
                                  callback (file); });
}
