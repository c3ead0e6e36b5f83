#pragma once

#include "gui/controls/WindowComponent.h"

class BasePlugin;

/** Names the plug-in with its version and build; any click closes it. */
class AboutWindow : public WindowComponent
{
public:
    explicit AboutWindow (BasePlugin& plugin);
    ~AboutWindow() override;

    bool dimsBackground() override { return true; }
    void mouseDown (const juce::MouseEvent& e) override;

private:
    BasePlugin& plugin;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutWindow)
};
