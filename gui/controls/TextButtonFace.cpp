#include "gui/controls/TextButtonFace.h"

void TextButtonFace::setImages (const juce::Image& normalLeft, const juce::Image& normalMiddle, const juce::Image& normalRight,
                                const juce::Image& pressedLeft, const juce::Image& pressedMiddle, const juce::Image& pressedRight,
                                const juce::Image& overlay)
{
    leftMargin = normalLeft.getWidth();
    rightMargin = normalRight.getWidth();
    buttonHeight = normalLeft.getHeight();

    const juce::Image* newImages[] = {&normalLeft, &normalMiddle, &normalRight, &pressedLeft, &pressedMiddle, &pressedRight, &overlay};

    for (size_t i = 0; i < images.size(); ++i)
        if (images[i] != *newImages[i])
            images[i] = *newImages[i];
}

bool TextButtonFace::measure (const juce::String& text)
{
    const int width = (int) font.getStringWidthFloat (text);

    if (width == textWidth)
        return false;

    textWidth = width;
    return true;
}

void TextButtonFace::paint (juce::Graphics& g, juce::Button& button, bool isButtonDown) const
{
    if (!images[normalLeftImage].isValid())
    {
        paintPlain (g, button, isButtonDown);
        return;
    }

    if (!button.isEnabled())
        g.setOpacity (0.5f);

    const int first = isButtonDown ? pressedLeftImage : normalLeftImage;
    const auto& leftImage = images[(size_t) first];
    const auto& middleImage = images[(size_t) first + 1];
    const auto& rightImage = images[(size_t) first + 2];
    const auto& normalMiddle = images[normalMiddleImage];

    g.drawImageAt (leftImage, 0, 0);

    if (middleImage.isValid())
        g.drawImage (middleImage, leftMargin, 0, textWidth, buttonHeight, 0, 0, normalMiddle.getWidth(), normalMiddle.getHeight());

    g.drawImageAt (rightImage, leftMargin + textWidth, 0);

    g.setFont (font);
    g.drawText (button.getButtonText(), leftMargin, 0, textWidth, button.getHeight(), juce::Justification::centred, false);

    if (images[overlayImage].isValid())
        g.drawImage (images[overlayImage], leftMargin, 0, textWidth, buttonHeight, 0, 0, normalMiddle.getWidth(), normalMiddle.getHeight());
}

void TextButtonFace::paintPlain (juce::Graphics& g, juce::Button& button, bool isButtonDown)
{
    g.fillAll (juce::Colour::greyLevel (isButtonDown ? 0.4f : 0.9f));
    g.setColour (juce::Colours::black);
    g.drawRect (button.getLocalBounds());

    if (button.getButtonText().isNotEmpty())
    {
        g.setColour (button.isEnabled() ? juce::Colours::black : juce::Colours::black.withAlpha (0.4f));
        g.setFont (12.0f);
        g.drawText (button.getButtonText(), button.getLocalBounds(), juce::Justification::centred, true);
    }
}
