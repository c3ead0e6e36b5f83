#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The plug-in's editor panel as the plug-in base sees it: created once at start-up,
    kept for the plug-in's whole life and lent to the host's window each time it opens.
    The editor layer derives its base editor from this. */
class PluginEditorComponent : public juce::Component
{
public:
    ~PluginEditorComponent() override = default;

    /** The controls of a panel that has no skin. */
    virtual void createDefaultControls() {}

    /** Called only when the plug-in enables debugging. */
    virtual void createDebugPanel() {}

    /** The periodic refresh of lights and displays. */
    virtual void startRefreshTimer (int /*intervalMilliseconds*/) {}
    virtual void stopRefreshTimer() {}
};
