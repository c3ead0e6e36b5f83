#pragma once

#include <juce_graphics/juce_graphics.h>

/** The toolkit's drawing helpers, shared by the controls, the widgets and the look
    and feel, which all draw the same rounded frames and slanted texts. */
struct ToolkitDrawing
{
    /** Strokes a rounded rectangle that stays inside area: the path runs on area
        inset by half the thickness. */
    static void drawRoundedOutline (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize, float thickness);
    static void fillRoundedRectangle (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize);

    /** Draws one line of text slanted, for the toolkit's italic texts (the embedded
        faces have no italic). */
    static void drawSlantedText (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area,
                                 juce::Justification justification);
};
