#include "editor/OldStylePresetBrowserWindow.h"

#include "framework/BasePluginOldStyle.h"

OldStylePresetBrowserWindow::OldStylePresetBrowserWindow (BasePluginOldStyle& pluginToUse)
    : plugin (pluginToUse)
{
    setTitle ("Preset Browser");
}

OldStylePresetBrowserWindow::~OldStylePresetBrowserWindow() = default;
