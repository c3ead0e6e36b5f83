#include "gui/widgets/NumericDisplayDigit.h"

NumericDisplayDigit::NumericDisplayDigit (const juce::Image& imageToUse, int width, int height, bool isIntegerPart)
    : image (imageToUse)
    , integerPart (isIntegerPart)
{
    setInterceptsMouseClicks (false, false);

    if (image.isValid())
        setSize (image.getWidth(), image.getHeight() / numFrames);
    else
        setSize (juce::jmax (0, width), juce::jmax (0, height));
}

void NumericDisplayDigit::setDigit (int newDigit, bool shouldBeBlank)
{
    if (newDigit == digit && shouldBeBlank == blank)
        return;

    digit = newDigit;
    blank = shouldBeBlank;
    repaint();
}

void NumericDisplayDigit::enablementChanged()
{
    // Without this only the digits whose value changes later are repainted, and the
    // rest keep the frame of the old enablement (a blank "1" in "112.0").
    repaint();
}

int NumericDisplayDigit::getFrameToShow() const noexcept
{
    return !isEnabled() || blank ? 0 : digit + 1;
}

void NumericDisplayDigit::paint (juce::Graphics& g)
{
    if (image.isValid())
    {
        const int frame = getFrameToShow();
        const int frameHeight = image.getHeight() / numFrames;

        // A value too large for the digits never reads past the strip.
        if (frame >= 0 && frame < numFrames && frameHeight > 0)
            g.drawImage (image, 0, 0, image.getWidth(), frameHeight, 0, frameHeight * frame, image.getWidth(), frameHeight);

        return;
    }

    g.fillAll (!isEnabled() ? juce::Colours::black : juce::Colour::greyLevel (integerPart ? 1.0f : 0.8f));

    if (!blank)
    {
        g.setColour (juce::Colours::black);
        g.setFont (14.0f);
        g.drawText (juce::String (digit), getLocalBounds(), juce::Justification::centred, false);
    }
}
