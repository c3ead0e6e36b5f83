#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** One digit of a numeric display: a filmstrip of a blank frame and the ten digits.
    Clicks go through to the display. */
class NumericDisplayDigit : public juce::Component
{
public:
    NumericDisplayDigit (const juce::Image& image, int width, int height, bool integerPart);

    /** Repaints only when the digit or its blank state changed. */
    void setDigit (int newDigit, bool shouldBeBlank);

    int getDigit() const noexcept { return digit; }
    bool isBlank() const noexcept { return blank; }

    /** Frame 0 when disabled or blank, else the digit + 1. */
    int getFrameToShow() const noexcept;

    void paint (juce::Graphics& g) override;

    /** The frame follows the enablement, which the toolkit changes without a repaint. */
    void enablementChanged() override;

    static constexpr int numFrames = 11;

private:
    juce::Image image;
    int digit = 0;
    bool blank = true;
    bool integerPart;
};
