#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The minus sign of a numeric display whose range reaches below 0: a filmstrip of a
    blank frame and the minus. Clicks go through to the display. */
class NumericDisplaySign : public juce::Component
{
public:
    NumericDisplaySign (const juce::Image& image, int width, int height);

    void setNegative (bool shouldBeNegative);
    bool isNegative() const noexcept { return negative; }

    int getFrameToShow() const noexcept { return isEnabled() && negative ? 1 : 0; }

    void paint (juce::Graphics& g) override;

    /** The frame follows the enablement, which the toolkit changes without a repaint. */
    void enablementChanged() override { repaint(); }

private:
    juce::Image image;
    bool negative = false;
};
