#pragma once

#include "editor/BasePluginEditor.h"
#include "gui/controls/RadioButtons.h"
#include "gui/widgets/GFXDisplayListener.h"

class BasePluginOldStyle;
class DocumentFileChooser;
class PathComponent;
class DefaultResourcesRadioButtons;
class GFXDisplay;
class OldStylePresetBrowserWindow;

/** The editor layer of the preset plug-ins: the skin's preset name display renames
    the current preset, event 1004 opens the preset browser, and the options window
    gets the "Presets" page. */
class BasePluginEditorOldStyle : public BasePluginEditor,
                                 public RadioButtons::Listener,
                                 public GFXDisplayListener
{
public:
    class PresetsSettingsComponent;

    explicit BasePluginEditorOldStyle (BasePluginOldStyle& plugin);
    ~BasePluginEditorOldStyle() override;

    void controllerEvent (GUIController* controller, int uid) override;
    void radioButtonsChanged (RadioButtons* radioButtons) override;
    void displayTextChanged (GFXDisplay* display) override;

    OldStylePresetBrowserWindow* getPresetBrowserWindow() const noexcept { return presetBrowserWindow.get(); }
    PresetsSettingsComponent* getPresetsPage() const noexcept { return presetsPage.get(); }
    GFXDisplay* getPresetNameDisplay() const noexcept { return presetNameDisplay; }

    /** Places a start-up source group of the settings pages and stretches its path
        field to the frame's right edge, so that long paths have room. */
    static void placeStartUpGroup (DefaultResourcesRadioButtons& group, int x, int y, int width);

    /** Makes the chooser open in the plug-in's dialog folder and move it to each file read or written. */
    static void followDialogFolder (DocumentFileChooser& chooser, BasePluginOldStyle& plugin);

    /** Makes a path row's "Browse" open in the plug-in's dialog folder; picking a path reads no
        file, so it leaves the folder where it is. */
    static void followDialogFolder (PathComponent& path, BasePluginOldStyle& plugin);

private:
    BasePluginOldStyle& oldStylePlugin;
    GFXDisplay* presetNameDisplay = nullptr;
    std::unique_ptr<OldStylePresetBrowserWindow> presetBrowserWindow;
    std::unique_ptr<PresetsSettingsComponent> presetsPage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasePluginEditorOldStyle)
};
