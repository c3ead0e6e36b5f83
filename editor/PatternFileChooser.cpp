#include "editor/PatternFileChooser.h"

void PatternFileChooser::launchSave (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                                     juce::Component* parent, Callback onChosen)
{
    saveChooser = std::make_unique<juce::FileChooser> (title, initialFile, wildcard, true, false, parent);

    // No overwrite warning here: it would ask about the name before the extension is added.
    const auto flags = juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles;

    saveChooser->launchAsync (flags, [callback = std::move (onChosen)] (const juce::FileChooser& fc)
                              {
                                  const auto file = fc.getResult();

                                  if (file != juce::File() && callback)
                                      callback (file); });
}
