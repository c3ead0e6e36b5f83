#include "gui/controls/ToolkitDrawing.h"

void ToolkitDrawing::drawRoundedOutline (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize, float thickness)
{
    juce::Path p;
    p.addRoundedRectangle (area.getX() + thickness * 0.5f, area.getY() + thickness * 0.5f,
                           area.getWidth() - thickness, area.getHeight() - thickness, cornerSize);
    g.strokePath (p, juce::PathStrokeType (thickness));
}

void ToolkitDrawing::fillRoundedRectangle (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize)
{
    g.fillRoundedRectangle (area, cornerSize);
}

void ToolkitDrawing::drawSlantedText (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area,
                                      juce::Justification justification)
{
    juce::Graphics::ScopedSaveState state (g);
    const float pivotY = (float) area.getCentreY();
    g.addTransform (juce::AffineTransform::shear (-0.2f, 0.0f).translated (0.2f * pivotY, 0.0f));
    g.drawText (text, area, justification, false);
}
