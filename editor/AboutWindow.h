#pragma once

#include "gui/controls/WindowComponent.h"

class BasePlugin;

/** Names the plug-in, its version, interface, build number and date, and the
    credits. It has no close button: any press inside it hides it. */
class AboutWindow : public WindowComponent
{
public:
    explicit AboutWindow (BasePlugin& plugin);
    ~AboutWindow() override;

    bool dimsBackground() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void lookAndFeelChanged() override;
    void resized() override;
    void paint (juce::Graphics& g) override;

    juce::Rectangle<int> getHeaderArea() const noexcept { return headerArea; }
    juce::Rectangle<int> getVersionArea() const noexcept { return versionArea; }
    juce::Rectangle<int> getCreditsArea() const noexcept { return creditsArea; }

    /** The texts as painted: the name line, the version, the interface and platform,
        the build line and the credit line. */
    juce::StringArray getTexts() const;

private:
    BasePlugin& plugin;
    juce::Rectangle<int> headerArea, versionArea, creditsArea;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutWindow)
};
