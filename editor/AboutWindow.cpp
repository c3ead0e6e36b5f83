#include "editor/AboutWindow.h"

#include "framework/BasePlugin.h"

AboutWindow::AboutWindow (BasePlugin& pluginToUse)
    : plugin (pluginToUse)
{
    setTitleBarVisible (false);
    setTitle (plugin.getPluginName());
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::mouseDown (const juce::MouseEvent&)
{
    hide();
}
