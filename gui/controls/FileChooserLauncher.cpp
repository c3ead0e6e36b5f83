#include "gui/controls/FileChooserLauncher.h"

#include "gui/controls/PseudoModalComponent.h"

FileChooserLauncher::~FileChooserLauncher()
{
    close();
}

void FileChooserLauncher::setParentAbove (juce::Component& component)
{
    auto* c = &component;

    while (c != nullptr && dynamic_cast<PseudoModalComponent::Desktop*> (c) == nullptr)
        c = c->getParentComponent();

    parent = c;
}

void FileChooserLauncher::launch (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                                  Callback onChosen)
{
    start (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles, title, initialFile, wildcard,
           std::move (onChosen), true);
}

void FileChooserLauncher::launchForSave (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                                         Callback onChosen)
{
    start (juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles, title, initialFile, wildcard,
           std::move (onChosen), false);
}

void FileChooserLauncher::close()
{
    // A new token first: a choice already on its way to the callback finds the old one gone.
    alive = std::make_shared<int> (0);
    chooser.reset();
}

void FileChooserLauncher::start (int flags, const juce::String& title, const juce::File& initialFile,
                                 const juce::String& wildcard, Callback onChosen, bool mustExist)
{
    close();
    chooser = std::make_unique<juce::FileChooser> (title, initialFile, wildcard, true, false, parent.getComponent());

    chooser->launchAsync (flags, [callback = std::move (onChosen), token = std::weak_ptr<int> (alive), mustExist] (const juce::FileChooser& fc)
                          {
        const auto file = fc.getResult();

        if (file == juce::File() || (mustExist && !file.existsAsFile()) || !callback)
            return;

        // Passed on from the message loop: the callback may start another chooser, which
        // replaces the one still returning from this call.
        juce::MessageManager::callAsync ([callback, token, file]
                                         {
            if (!token.expired())
                callback (file); }); });
}
