#include "editor/BasePluginEditorOldStyle.h"

#include "editor/MidiControlComponent.h"
#include "editor/OldStylePresetBrowserWindow.h"
#include "editor/OptionsWindow.h"
#include "editor/PresetsSettingsComponent.h"
#include "framework/BasePluginOldStyle.h"
#include "gui/controls/DefaultResourcesRadioButtons.h"
#include "gui/widgets/GFXDisplay.h"

namespace
{
constexpr int browsePresetsEvent = 1004;
}

BasePluginEditorOldStyle::BasePluginEditorOldStyle (BasePluginOldStyle& pluginToUse)
    : BasePluginEditor (pluginToUse)
    , oldStylePlugin (pluginToUse)
{
    presetNameDisplay = findControlAs<GFXDisplay> ("PresetNameDisplay");

    if (presetNameDisplay != nullptr)
        presetNameDisplay->addListener (static_cast<GFXDisplayListener*> (this));

    if (auto* page = getMidiControlComponent())
    {
        page->setMapFileTypes (oldStylePlugin.getMidiMapFileExtension(), oldStylePlugin.getMidiMapFilePatterns());
        followDialogFolder (page->getDocumentChooser(), oldStylePlugin);
        followDialogFolder (page->getDefaultMapCheckBox().getPathComponent(), oldStylePlugin);
    }

    presetBrowserWindow = std::make_unique<OldStylePresetBrowserWindow> (oldStylePlugin);
    addChildComponent (*presetBrowserWindow);
    presetBrowserWindow->setSize (639, 350);

    presetsPage = std::make_unique<PresetsSettingsComponent> (oldStylePlugin, oldStylePlugin.getBankFilePatterns());
    presetsPage->getDefaultPresetsChoice().addListener (this);

    if (auto* options = getOptionsWindow())
        options->addTab ("Presets", presetsPage.get(), 0);
}

BasePluginEditorOldStyle::~BasePluginEditorOldStyle()
{
    if (presetNameDisplay != nullptr)
        presetNameDisplay->removeListener (static_cast<GFXDisplayListener*> (this));

    presetsPage.reset();
    presetBrowserWindow.reset();
}

void BasePluginEditorOldStyle::controllerEvent (GUIController* controller, int uid)
{
    if (uid == browsePresetsEvent)
    {
        presetBrowserWindow->show();
        return;
    }

    BasePluginEditor::controllerEvent (controller, uid);
}

void BasePluginEditorOldStyle::radioButtonsChanged (RadioButtons* radioButtons)
{
    if (presetsPage != nullptr && radioButtons == &presetsPage->getDefaultPresetsChoice())
        showSettingsNote ("Default Presets");
}

void BasePluginEditorOldStyle::displayTextChanged (GFXDisplay* display)
{
    if (display != nullptr && display == presetNameDisplay)
        oldStylePlugin.setPresetName (oldStylePlugin.getCurrentPreset(), display->getText());
}

void BasePluginEditorOldStyle::placeStartUpGroup (DefaultResourcesRadioButtons& group, int x, int y, int width)
{
    group.setBounds (x, y, width, group.getHeight());
    auto& path = group.getPathComponent();
    // The button keeps clear of the rounded frame as the radio buttons do on the left.
    path.setSize (juce::jmax (0, width - path.getX() - 2 * group.getTextGap()), path.getHeight());
}

void BasePluginEditorOldStyle::followDialogFolder (DocumentFileChooser& chooser, BasePluginOldStyle& plugin)
{
    chooser.setFolder ([&plugin]
                       { return plugin.getDialogFolder(); },
                       [&plugin] (const juce::File& folder)
                       { plugin.setDialogFolder (folder); });
}

void BasePluginEditorOldStyle::followDialogFolder (PathComponent& path, BasePluginOldStyle& plugin)
{
    path.setChooserFolder ([&plugin]
                           { return plugin.getDialogFolder(); });
}
