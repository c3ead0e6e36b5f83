#include "gui/widgets/NumericDisplaySign.h"

NumericDisplaySign::NumericDisplaySign (const juce::Image& imageToUse, int width, int height)
    : image (imageToUse)
{
    setInterceptsMouseClicks (false, false);

    if (image.isValid())
        setSize (image.getWidth(), image.getHeight() / 2);
    else
        setSize (juce::jmax (0, width), juce::jmax (0, height));
}

void NumericDisplaySign::setNegative (bool shouldBeNegative)
{
    if (shouldBeNegative == negative)
        return;

    negative = shouldBeNegative;
    repaint();
}

void NumericDisplaySign::paint (juce::Graphics& g)
{
    if (image.isValid())
    {
        const int frameHeight = image.getHeight() / 2;

        if (frameHeight > 0)
            g.drawImage (image, 0, 0, image.getWidth(), frameHeight, 0, frameHeight * getFrameToShow(), image.getWidth(), frameHeight);

        return;
    }

    g.fillAll (juce::Colours::white);

    if (negative)
    {
        g.setColour (juce::Colours::black);
        g.setFont (14.0f);
        g.drawText ("-", getLocalBounds(), juce::Justification::centred, false);
    }
}
