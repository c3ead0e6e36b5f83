#pragma once

#include "SkinLayout.h"

#include <utility>
#include <vector>

/** Draws every image the panel skin names: the background with its plates and printed
    legends from the layout table, and the filmstrips of knobs, buttons, lights,
    digits and the dot-matrix font. Nothing depends on the clock: the same table gives
    the same pixels. */
class SkinArtwork
{
public:
    static constexpr int knobFrames = 64;

    static juce::Image background (const SkinLayout& layout);

    /** 64 frames from minimum to maximum; ring is transparent for a knob without a value ring. */
    static juce::Image knob (int size, juce::Colour ring);
    static juce::Image trackSwitch();

    static juce::Image linkToggle();
    static juce::Image arrow (bool left);
    static juce::Image plainButton (int width, int height, bool tap);
    static juce::Image rocker();
    static juce::Image stepPad();
    static juce::Image ledButton (int width, int height, int symbol);
    static juce::Image light (int size, juce::Colour colour);

    /** Glyphs 32 to 126, then the same glyphs inverted for the caret. */
    static juce::Image dotMatrixFont();

    /** Segment figures: 0 blank, 1 to 10 the digits, then the extra figures given as segment masks. */
    static juce::Image segmentDigits (int width, int height, const std::vector<int>& extraFigures, bool point);

    /** Every image with its file name, in a fixed order. */
    static std::vector<std::pair<juce::String, juce::Image>> renderAll (const SkinLayout& layout);
};
