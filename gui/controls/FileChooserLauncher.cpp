#include "gui/controls/FileChooserLauncher.h"

void FileChooserLauncher::launch (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                                  Callback onChosen)
{
    chooser = std::make_unique<juce::FileChooser> (title, initialFile, wildcard, true);
    const auto flags = juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles;

    chooser->launchAsync (flags, [callback = std::move (onChosen)] (const juce::FileChooser& fc)
                          {
                              const auto file = fc.getResult();

                              if (file != juce::File() && file.existsAsFile() && callback)
                                  callback (file); });
}
