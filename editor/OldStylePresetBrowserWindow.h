#pragma once

#include "gui/controls/WindowComponent.h"

class BasePluginOldStyle;

/** The preset browser: groups and presets of the plug-in's preset list. */
class OldStylePresetBrowserWindow : public WindowComponent
{
public:
    explicit OldStylePresetBrowserWindow (BasePluginOldStyle& plugin);
    ~OldStylePresetBrowserWindow() override;

    bool dimsBackground() override { return true; }

private:
    BasePluginOldStyle& plugin;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OldStylePresetBrowserWindow)
};
