#pragma once

#include "gui/controls/TextButtonFace.h"

/** A push button with a text label drawn by a TextButtonFace, built in code. Its width
    follows the text; its left edge stays put. ButtonBase is the button it extends: a
    plain juce::Button for the windows' controls, the skin's button for TextButtonEx. */
template <class ButtonBase>
class FacedTextButton : public ButtonBase
{
public:
    using LookAndFeelMethods = TextButtonFace::LookAndFeelMethods;

    FacedTextButton (const juce::String& text, int styleToUse)
        : ButtonBase (text)
        , style (styleToUse)
    {
        setText (text);
        lookAndFeelChanged();
        updateSize();
    }

    /** Resizes only when the text's width changed. */
    void setText (const juce::String& text)
    {
        this->setButtonText (text);

        if (face.measure (text))
            updateSize();
    }

    void setImages (const juce::Image& normalLeft, const juce::Image& normalMiddle, const juce::Image& normalRight,
                    const juce::Image& pressedLeft, const juce::Image& pressedMiddle, const juce::Image& pressedRight,
                    const juce::Image& overlay)
    {
        face.setImages (normalLeft, normalMiddle, normalRight, pressedLeft, pressedMiddle, pressedRight, overlay);
        updateSize();
    }

    void lookAndFeelChanged() override
    {
        ButtonBase::lookAndFeelChanged();

        // Another look and feel leaves the button with its own defaults.
        if (auto* lf = dynamic_cast<LookAndFeelMethods*> (&this->getLookAndFeel()))
        {
            face.setFont (lf->getTextButtonFont());
            face.measure (this->getButtonText());
            lf->setTextButtonImages (face, style);
            updateSize();
        }
    }

    void paintButton (juce::Graphics& g, bool, bool isButtonDown) override { face.paint (g, *this, isButtonDown); }

    int getStyle() const noexcept { return style; }
    int getTextWidth() const noexcept { return face.getTextWidth(); }
    int getLeftMargin() const noexcept { return face.getLeftMargin(); }
    int getRightMargin() const noexcept { return face.getRightMargin(); }
    int getButtonHeight() const noexcept { return face.getButtonHeight(); }
    const juce::Font& getFont() const noexcept { return face.getFont(); }

private:
    void updateSize() { this->setSize (face.getWidth(), face.getButtonHeight()); }

    TextButtonFace face;
    int style;
};
