#pragma once

#include "gui/widgets/GFXButton.h"

#include <array>

/** A push button with a text label, built in code, drawn from seven images of the look
    and feel: left cap, stretched middle and right cap (normal and pressed) and an
    overlay over the text. Its width follows the text; its left edge stays put. */
class TextButtonEx : public GFXButton
{
public:
    /** What the control asks of its look and feel; with one that lacks it the control
        keeps its own defaults. */
    struct LookAndFeelMethods
    {
        virtual ~LookAndFeelMethods() = default;

        virtual juce::Font getTextButtonFont() = 0;
        virtual void setTextButtonImages (TextButtonEx& button, int style) = 0;
    };

    TextButtonEx (const juce::String& text, int style);

    /** Resizes only when the text's width changed. */
    void setText (const juce::String& text);

    void setImages (const juce::Image& normalLeft, const juce::Image& normalMiddle, const juce::Image& normalRight,
                    const juce::Image& pressedLeft, const juce::Image& pressedMiddle, const juce::Image& pressedRight,
                    const juce::Image& overlay);

    void lookAndFeelChanged() override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;

    int getStyle() const noexcept { return style; }
    int getTextWidth() const noexcept { return textWidth; }
    int getLeftMargin() const noexcept { return leftMargin; }
    int getRightMargin() const noexcept { return rightMargin; }
    int getButtonHeight() const noexcept { return buttonHeight; }
    const juce::Font& getFont() const noexcept { return font; }

private:
    enum ImageIndex
    {
        normalLeftImage,
        normalMiddleImage,
        normalRightImage,
        pressedLeftImage,
        pressedMiddleImage,
        pressedRightImage,
        overlayImage
    };

    void measureText();
    void updateSize();

    std::array<juce::Image, 7> images;
    int textWidth = 0;
    int leftMargin = 10, rightMargin = 10;
    int buttonHeight = 20;
    juce::Font font{14.0f};
    int style;
};
