#pragma once

#include "gui/controls/TabbedComponentEx.h"
#include "gui/controls/WindowComponent.h"

/** The settings window: one tabbed component filling the content area, one page a
    tab. It darkens the panel behind it and closes with its close button. */
class OptionsWindow : public WindowComponent
{
public:
    static constexpr juce::uint32 tabColour = 0xffc5c5c5;

    OptionsWindow();
    ~OptionsWindow() override;

    /** Inserts the page and its tab at the index (-1 appends). A page added at 0
        becomes the shown one, and its listeners hear of the change. */
    void addTab (const juce::String& name, juce::Component* page, int index);

    TabbedComponentEx& getTabbedComponent() noexcept { return tabs; }

    bool dimsBackground() override { return true; }
    void resized() override;

private:
    TabbedComponentEx tabs;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OptionsWindow)
};
