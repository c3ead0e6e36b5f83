#include "editor/PatternsSettingsComponent.h"

#include "sequencer/DrumMachineSeq.h"

DrumMachineEditor::PatternsSettingsComponent::PatternsSettingsComponent (DrumMachine& pluginToUse)
    : plugin (pluginToUse)
{
    auto* sequencer = plugin.getSequencer();

    if (sequencer == nullptr)
        return;

    auto addGroup = [this, sequencer] (const juce::String& title, int kind)
    {
        auto* group = groups.add (new DefaultResourcesRadioButtons (title, {"Factory patterns", "Clear patterns", "User defined"}));
        kinds.add (kind);
        group->getPathComponent().setChooserWildcard (sequencer->getPatternBankFileFilter (kind));
        followDialogFolder (group->getPathComponent(), plugin);
        group->addListener (this);
        group->getPathComponent().addListener (this);
        addAndMakeVisible (group);
    };

    if (sequencer->hasSeparateHostAndNativePatterns())
    {
        addGroup ("Default host patterns", DrumMachineSeq::hostPatternSet);
        addGroup ("Default native patterns", DrumMachineSeq::nativePatternSet);
    }
    else
    {
        addGroup ("Default patterns", DrumMachineSeq::commonPatternSet);
    }

    updateFromPlugin();
}

DrumMachineEditor::PatternsSettingsComponent::~PatternsSettingsComponent() = default;

void DrumMachineEditor::PatternsSettingsComponent::updateFromPlugin()
{
    auto* sequencer = plugin.getSequencer();

    for (int i = 0; i < groups.size(); ++i)
    {
        groups[i]->setSelectedIndex (sequencer->getPatternsSource (kinds[i]), false);

        // Paths differing only in letter case name different files here, so the
        // path component compares them exactly.
        groups[i]->getPathComponent().setPath (sequencer->getPatternsFile (kinds[i]), false);
    }
}

void DrumMachineEditor::PatternsSettingsComponent::radioButtonsChanged (RadioButtons* radioButtons)
{
    const int i = groups.indexOf (dynamic_cast<DefaultResourcesRadioButtons*> (radioButtons));

    if (i >= 0 && radioButtons->getSelectedIndex() >= 0)
        plugin.getSequencer()->setPatternsSource (radioButtons->getSelectedIndex(), kinds[i]);
}

void DrumMachineEditor::PatternsSettingsComponent::pathChanged (PathComponent* path)
{
    auto* sequencer = plugin.getSequencer();

    for (int i = 0; i < groups.size(); ++i)
    {
        if (path != &groups[i]->getPathComponent())
            continue;

        switch (kinds[i])
        {
            case DrumMachineSeq::hostPatternSet:
                sequencer->setHostPatternsFile (path->getPath());
                break;
            case DrumMachineSeq::nativePatternSet:
                sequencer->setNativePatternsFile (path->getPath());
                break;
            default:
                sequencer->setPatternsFile (path->getPath());
                break;
        }

        // The file is the start-up source: the group shows so before it reports itself.
        groups[i]->setSelectedIndex (groups[i]->getNumItems() - 1, false);
    }
}

void DrumMachineEditor::PatternsSettingsComponent::resized()
{
    int y = 0;

    for (auto* group : groups)
    {
        placeStartUpGroup (*group, 0, y, getWidth());
        y = group->getBottom() + 10;
    }
}
