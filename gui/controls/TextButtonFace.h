#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

/** How a text button of the windows looks: its label between seven images of the look
    and feel (left cap, stretched middle and right cap, normal and pressed, and an
    overlay over the text), in the look and feel's font. Without images the button is
    drawn plainly. Message thread only. */
class TextButtonFace
{
public:
    /** What a text button asks of its look and feel; with one that lacks it the button
        keeps its own defaults. */
    struct LookAndFeelMethods
    {
        virtual ~LookAndFeelMethods() = default;

        virtual juce::Font getTextButtonFont() = 0;
        virtual void setTextButtonImages (TextButtonFace& face, int style) = 0;
    };

    /** The margins and height follow the caps. */
    void setImages (const juce::Image& normalLeft, const juce::Image& normalMiddle, const juce::Image& normalRight,
                    const juce::Image& pressedLeft, const juce::Image& pressedMiddle, const juce::Image& pressedRight,
                    const juce::Image& overlay);

    void setFont (const juce::Font& newFont) { font = newFont; }

    /** Measures the text in the face's font; true when its width changed. */
    bool measure (const juce::String& text);

    int getWidth() const noexcept { return leftMargin + textWidth + rightMargin; }
    int getTextWidth() const noexcept { return textWidth; }
    int getLeftMargin() const noexcept { return leftMargin; }
    int getRightMargin() const noexcept { return rightMargin; }
    int getButtonHeight() const noexcept { return buttonHeight; }
    const juce::Font& getFont() const noexcept { return font; }

    void paint (juce::Graphics& g, juce::Button& button, bool isButtonDown) const;

    /** A grey box with a black frame and the button's text: buttons without images. */
    static void paintPlain (juce::Graphics& g, juce::Button& button, bool isButtonDown);

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

    std::array<juce::Image, 7> images;
    int textWidth = 0;
    int leftMargin = 10, rightMargin = 10;
    int buttonHeight = 20;
    juce::Font font{14.0f};
};
