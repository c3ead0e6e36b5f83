#include "gui/widgets/TextButtonEx.h"

TextButtonEx::TextButtonEx (const juce::String& text, int styleToUse)
    : GFXButton (text)
    , style (styleToUse)
{
    setText (text);
    lookAndFeelChanged();
    updateSize();
}

void TextButtonEx::updateSize()
{
    setSize (leftMargin + textWidth + rightMargin, buttonHeight);
}

void TextButtonEx::measureText()
{
    const int width = (int) font.getStringWidthFloat (getButtonText());

    if (width != textWidth)
    {
        textWidth = width;
        updateSize();
    }
}

void TextButtonEx::setText (const juce::String& text)
{
    setButtonText (text);
    measureText();
}

void TextButtonEx::setImages (const juce::Image& normalLeft, const juce::Image& normalMiddle, const juce::Image& normalRight,
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

    updateSize();
}

void TextButtonEx::lookAndFeelChanged()
{
    GFXButton::lookAndFeelChanged();

    // Another look and feel leaves the button with its own defaults.
    if (auto* lf = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
    {
        font = lf->getTextButtonFont();
        measureText();
        lf->setTextButtonImages (*this, style);
    }
}

void TextButtonEx::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    if (!images[normalLeftImage].isValid())
    {
        GFXButton::paintButton (g, isMouseOver, isButtonDown);
        return;
    }

    if (!isEnabled())
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
    g.drawText (getButtonText(), leftMargin, 0, textWidth, getHeight(), juce::Justification::centred, false);

    if (images[overlayImage].isValid())
        g.drawImage (images[overlayImage], leftMargin, 0, textWidth, buttonHeight, 0, 0, normalMiddle.getWidth(), normalMiddle.getHeight());
}
