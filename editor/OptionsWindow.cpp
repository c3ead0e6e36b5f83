#include "editor/OptionsWindow.h"

OptionsWindow::OptionsWindow()
{
    addAndMakeVisible (tabs);
}

OptionsWindow::~OptionsWindow()
{
    // The pages belong to the editor layers, which may already have deleted them.
    tabs.clearTabs();
}

void OptionsWindow::addTab (const juce::String& name, juce::Component* page, int index)
{
    tabs.addTab (name, juce::Colour (tabColour), page, false, index);

    if (index == 0)
    {
        // Through "none" so that the change is reported even when tab 0 was shown.
        tabs.setCurrentTabIndex (-1);
        tabs.setCurrentTabIndex (0);
    }
}

void OptionsWindow::resized()
{
    WindowComponent::resized();
    tabs.setBounds (getContentArea());
}
