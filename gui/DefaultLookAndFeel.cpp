#include "gui/DefaultLookAndFeel.h"
#include "gui/EmbeddedFonts.h"
#include "gui/ToolkitImages.h"
#include "gui/controls/ToolkitDrawing.h"
#include "gui/widgets/TextButtonEx.h"

namespace
{
juce::Colour grey (float level)
{
    // Levels become bytes by truncation: 0.7 gives 178, 0.5 gives 127.
    const auto v = (juce::uint8) (level * 255.0f);
    return juce::Colour (v, v, v);
}

constexpr int numIconKinds = ToolkitImages::numIcons;
} // namespace

DefaultLookAndFeel::DefaultLookAndFeel()
    : defaultFont (EmbeddedFonts::tahoma (13.0f))
    , boldFont (EmbeddedFonts::tahoma (13.0f, juce::Font::bold))
{
    juce::Path up;
    up.startNewSubPath (4.0f, 11.0f);
    up.lineTo (4.0f, 8.0f);
    up.lineTo (1.75f, 8.0f);
    up.lineTo (6.5f, 1.6f);
    up.lineTo (11.25f, 8.0f);
    up.lineTo (9.0f, 8.0f);
    up.lineTo (9.0f, 11.0f);
    up.closeSubPath();

    for (size_t i = 0; i < arrowPaths.size(); ++i)
    {
        arrowPaths[i] = up;
        arrowPaths[i].applyTransform (juce::AffineTransform::rotation ((float) i * juce::MathConstants<float>::halfPi, 6.5f, 6.5f));
    }

    checkBoxImages[0] = ToolkitImages::checkBox (false);
    checkBoxImages[1] = ToolkitImages::checkBox (true);
    radioImages[0] = ToolkitImages::radioButton (false);
    radioImages[1] = ToolkitImages::radioButton (true);

    for (size_t i = 0; i < textButtonSets.size(); ++i)
        textButtonSets[i] = ToolkitImages::textButtonSlices ((int) i);

    setColourDefaults();
}

DefaultLookAndFeel::~DefaultLookAndFeel() = default;

void DefaultLookAndFeel::setColourDefaults()
{
    setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colour (0xff000000));
    setColour (juce::Slider::rotarySliderFillColourId, juce::Colour (0xff808080));
    setColour (juce::TooltipWindow::outlineColourId, juce::Colour (0xff444444));
    setColour (juce::TooltipWindow::textColourId, juce::Colour (0xff000000));

    setColour (0x0F001000, juce::Colour (0xffc5c5c5));
    setColour (0x0F001001, juce::Colour (0xff444444));
    setColour (0x0F001002, juce::Colour (0xff444444));
    setColour (0x0F001003, juce::Colour (0xffffffff));
    setColour (0x0F001004, juce::Colour (0xffffffff));

    setColour (0, juce::Colour (0xff000000));
    setColour (1, juce::Colour (0xffffffff));
    setColour (2, juce::Colour (0xffffffff));
    setColour (3, juce::Colour (0xffffff00));

    const juce::uint32 buttonFamily[] = {0xffc5c5c5, 0xffe3e3e3, 0xffffffff, 0xffe3e3e3, 0xff000000,
                                         0xffadadad, 0xffffffff, 0xff5b5b5b, 0xffffffff};

    for (int i = 0; i < 9; ++i)
    {
        setColour (0x0F001100 + i, juce::Colour (buttonFamily[i]));
        setColour (0x0F003100 + i, juce::Colour (buttonFamily[i]));
    }

    setColour (0x0F002100, juce::Colour (0xff000000));
    setColour (0x0F002101, juce::Colour (0xffffffff));
    setColour (0x0F002102, juce::Colour (0xff000000));
    setColour (0x0F002103, grey (0.7f));
    setColour (0x0F002104, grey (0.5f));

    setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xff6e6e6e));
    setColour (juce::ScrollBar::trackColourId, juce::Colour (0xffcccccc));

    setColour (0x0F002200, juce::Colour (0xffe3e3e3));
    setColour (0x0F002201, juce::Colour (0xff000000));
    setColour (0x0F002202, juce::Colour (0xffffffff));

    setColour (0x0F003000, juce::Colour (0xffc5c5c5));
    setColour (0x0F003001, juce::Colour (0xff000000));
    setColour (0x0F003002, juce::Colour (0xff5b5b5b));

    setColour (0x0F004001, juce::Colour (0xff444444));
    setColour (0x0F004002, juce::Colour (0xffffffff));

    setColour (0x0F000000, juce::Colour (0xffe3e3e3));
}

//==============================================================================
juce::Image DefaultLookAndFeel::getCheckBoxUntickedImage()
{
    return checkBoxImages[0];
}
juce::Image DefaultLookAndFeel::getCheckBoxTickedImage()
{
    return checkBoxImages[1];
}
juce::Font DefaultLookAndFeel::getDefaultFont()
{
    return defaultFont;
}
int DefaultLookAndFeel::getCheckBoxGap()
{
    return 5;
}
juce::Image DefaultLookAndFeel::getRadioButtonUntickedImage()
{
    return radioImages[0];
}
juce::Image DefaultLookAndFeel::getRadioButtonTickedImage()
{
    return radioImages[1];
}
juce::Font DefaultLookAndFeel::getRadioGroupTitleFont()
{
    return boldFont;
}
juce::Font DefaultLookAndFeel::getRadioGroupItemFont()
{
    return defaultFont;
}
int DefaultLookAndFeel::getRadioTitleIndent()
{
    return 13;
}
int DefaultLookAndFeel::getRadioTitlePadding()
{
    return 4;
}
int DefaultLookAndFeel::getRadioLeftMargin()
{
    return 6;
}
int DefaultLookAndFeel::getRadioVerticalMargin()
{
    return 2;
}
int DefaultLookAndFeel::getRadioRowHeight()
{
    return 20;
}
float DefaultLookAndFeel::getRadioFrameCornerSize()
{
    return 4.0f;
}
int DefaultLookAndFeel::getRadioTextGap()
{
    return 6;
}
juce::Font DefaultLookAndFeel::getPanelTitleFont()
{
    return boldFont;
}
int DefaultLookAndFeel::getPanelTitleIndent()
{
    return 13;
}
int DefaultLookAndFeel::getPanelTitlePadding()
{
    return 4;
}
juce::BorderSize<int> DefaultLookAndFeel::getPanelBorder()
{
    return {18, 8, 8, 8};
}
juce::Font DefaultLookAndFeel::getTabBarFont()
{
    return boldFont;
}
int DefaultLookAndFeel::getTabBarDepth()
{
    return 23;
}
int DefaultLookAndFeel::getTabBarIndent()
{
    return 8;
}
juce::Font DefaultLookAndFeel::getStatusBarFont()
{
    return defaultFont;
}
int DefaultLookAndFeel::getStatusBarHeight()
{
    return 16;
}
int DefaultLookAndFeel::getStandardIconSize()
{
    return 1;
}
int DefaultLookAndFeel::getStandardButtonIconSize()
{
    return 1;
}

std::unique_ptr<juce::ImageButton> DefaultLookAndFeel::createImageButton (const juce::String& name, int icon, int size)
{
    if (icon < 0 || icon >= numIconKinds)
        return nullptr;

    auto button = std::make_unique<juce::ImageButton> (name);
    setImageButtonImages (*button, icon, size);
    return button;
}

std::unique_ptr<juce::ImageButton> DefaultLookAndFeel::createImageButton (const juce::String& name, int icon)
{
    return createImageButton (name, icon, getStandardIconSize());
}

void DefaultLookAndFeel::setImageButtonImages (juce::ImageButton& button, int icon, int size)
{
    if (icon < 0 || icon >= numIconKinds)
        return;

    const bool large = size == 2;
    auto normal = ToolkitImages::iconButton (icon, large, false);
    auto pressed = ToolkitImages::iconButton (icon, large, true);
    button.setImages (true, false, true,
                      normal, 1.0f, juce::Colours::transparentBlack,
                      {}, 1.0f, juce::Colours::transparentBlack,
                      pressed, 1.0f, juce::Colours::transparentBlack);
    button.setSize (normal.getWidth(), normal.getHeight());
}

const std::array<juce::Image, 7>& DefaultLookAndFeel::getTextButtonSlices (int style) const
{
    return textButtonSets[style == 2 ? 1 : 0];
}

TextButtonEx* DefaultLookAndFeel::createTextButton (const juce::String& text, int icon, int size)
{
    if (icon < 0 || icon >= numIconKinds)
        return nullptr;

    auto* button = new TextButtonEx (text, 0);
    const auto& s = textButtonSets[size == 2 ? 2 : 0];
    button->setImages (s[0], s[1], s[2], s[3], s[4], s[5], s[6]);
    return button;
}

void DefaultLookAndFeel::setTextButtonImages (TextButtonFace& face, int style)
{
    const auto& s = getTextButtonSlices (style);
    face.setImages (s[0], s[1], s[2], s[3], s[4], s[5], s[6]);
}

TextButtonEx* DefaultLookAndFeel::createTextButton (const juce::String& text, int icon)
{
    return createTextButton (text, icon, getStandardButtonIconSize());
}

//==============================================================================
juce::Typeface::Ptr DefaultLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    if (auto face = EmbeddedFonts::getTypefaceFor (font))
        return face;

    return LookAndFeel_V2::getTypefaceForFont (font);
}

//==============================================================================
void DefaultLookAndFeel::drawScrollbarButton (juce::Graphics& g, juce::ScrollBar& bar, int width, int height,
                                              int buttonDirection, bool, bool, bool isButtonDown)
{
    const float alpha = bar.isEnabled() ? 1.0f : 0.5f;
    g.setColour (bar.findColour (juce::ScrollBar::trackColourId).withMultipliedAlpha (alpha));
    g.fillRect (0, 0, width, height);

    auto path = arrowPaths[(size_t) juce::jlimit (0, 3, buttonDirection)];
    path.applyTransform (path.getTransformToScaleToFit (juce::Rectangle<float> (0.0f, 0.0f, (float) width, (float) height).reduced (2.0f), true));
    auto thumb = bar.findColour (juce::ScrollBar::thumbColourId);
    g.setColour ((isButtonDown ? thumb.darker (0.4f) : thumb).withMultipliedAlpha (alpha));
    g.fillPath (path);
}

void DefaultLookAndFeel::drawScrollbar (juce::Graphics& g, juce::ScrollBar& bar, int x, int y, int width, int height,
                                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool, bool)
{
    const float alpha = bar.isEnabled() ? 1.0f : 0.5f;
    g.setColour (bar.findColour (juce::ScrollBar::trackColourId).withMultipliedAlpha (alpha));
    g.fillRect (x, y, width, height);

    if (thumbSize <= 0)
        return;

    auto thumb = isScrollbarVertical ? juce::Rectangle<int> (x, thumbStartPosition, width, thumbSize)
                                     : juce::Rectangle<int> (thumbStartPosition, y, thumbSize, height);
    g.setColour (bar.findColour (juce::ScrollBar::thumbColourId).withMultipliedAlpha (alpha));
    g.fillRoundedRectangle (thumb.toFloat().reduced (2.0f), 4.0f);
}

int DefaultLookAndFeel::getDefaultScrollbarWidth()
{
    return 13;
}
int DefaultLookAndFeel::getScrollbarButtonSize (juce::ScrollBar&)
{
    return 13;
}

//==============================================================================
juce::Rectangle<int> DefaultLookAndFeel::getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                                           juce::Rectangle<int> parentArea)
{
    const int w = juce::roundToInt (defaultFont.getStringWidthFloat (tipText)) + 14;
    const int h = juce::roundToInt (defaultFont.getHeight()) + 8;
    return juce::Rectangle<int> (screenPos.x > parentArea.getCentreX() ? screenPos.x - (w + 12) : screenPos.x + 24,
                                 screenPos.y > parentArea.getCentreY() ? screenPos.y - (h + 6) : screenPos.y + 6,
                                 w, h)
        .constrainedWithin (parentArea);
}

void DefaultLookAndFeel::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    const auto area = juce::Rectangle<int> (width, height).toFloat();
    g.setColour (findColour (juce::TooltipWindow::backgroundColourId));
    ToolkitDrawing::fillRoundedRectangle (g, area, 4.0f);
    g.setColour (findColour (juce::TooltipWindow::outlineColourId));
    ToolkitDrawing::drawRoundedOutline (g, area, 3.5f, 1.2f);
    g.setColour (findColour (juce::TooltipWindow::textColourId));
    g.setFont (defaultFont);
    g.drawText (text, juce::Rectangle<int> (width, height).reduced (7, 0), juce::Justification::centredLeft, false);
}

//==============================================================================
int DefaultLookAndFeel::getTabButtonSpaceAroundImage()
{
    return 4;
}
int DefaultLookAndFeel::getTabButtonOverlap (int)
{
    return 1;
}

int DefaultLookAndFeel::getTabButtonBestWidth (juce::TabBarButton& button, int tabDepth)
{
    return juce::roundToInt (boldFont.getStringWidthFloat (button.getButtonText().trim())) + tabDepth;
}

juce::Font DefaultLookAndFeel::getTabButtonFont (juce::TabBarButton&, float)
{
    return boldFont;
}

void DefaultLookAndFeel::drawTabButton (juce::TabBarButton& button, juce::Graphics& g, bool isMouseOver, bool isMouseDown)
{
    if (button.getTabbedButtonBar().getOrientation() != juce::TabbedButtonBar::TabsAtTop)
    {
        LookAndFeel_V2::drawTabButton (button, g, isMouseOver, isMouseDown);
        return;
    }

    const bool front = button.isFrontTab();
    auto area = button.getActiveArea().toFloat();
    // The shape runs past the bottom so only the top corners are rounded; the
    // front tab hides the content outline below it and so joins the page.
    juce::Path shape;
    shape.addRoundedRectangle (area.getX() + 0.5f, area.getY() + (front ? 0.5f : 2.5f), area.getWidth() - 1.0f,
                               area.getHeight() + 4.0f, 4.0f, 4.0f, true, true, false, false);
    {
        juce::Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (button.getActiveArea());
        g.setColour (front ? findColour (0x0F003000) : findColour (0x0F001105).withAlpha (isMouseOver ? 0.8f : 1.0f));
        g.fillPath (shape);
        g.setColour (findColour (0x0F003002));
        g.strokePath (shape, juce::PathStrokeType (1.0f));
    }

    drawTabButtonText (button, g, isMouseOver, isMouseDown);
}

void DefaultLookAndFeel::drawTabButtonText (juce::TabBarButton& button, juce::Graphics& g, bool, bool)
{
    g.setColour (findColour (0x0F003001));
    g.setFont (boldFont);
    auto area = button.getTextArea();

    if (!button.isFrontTab())
        area.removeFromTop (2);

    g.drawText (button.getButtonText().trim(), area, juce::Justification::centred, false);
}

void DefaultLookAndFeel::drawTabbedButtonBarBackground (juce::TabbedButtonBar&, juce::Graphics&)
{
}

void DefaultLookAndFeel::drawTabAreaBehindFrontButton (juce::TabbedButtonBar& bar, juce::Graphics& g, int w, int h)
{
    if (bar.getOrientation() != juce::TabbedButtonBar::TabsAtTop)
        return;

    g.setColour (findColour (0x0F003002));
    g.fillRect (0, h - 1, w, 1);
}

//==============================================================================
void DefaultLookAndFeel::drawDocumentWindowTitleBar (juce::DocumentWindow& window, juce::Graphics& g, int w, int h,
                                                     int titleSpaceX, int titleSpaceW, const juce::Image* icon,
                                                     bool drawTitleTextOnLeft)
{
    g.fillAll (juce::Colour (0xffcbcbcb));
    const auto font = EmbeddedFonts::tahoma ((float) h * 0.65f, juce::Font::bold);
    g.setFont (font);
    int textW = font.getStringWidth (window.getName());
    int iconW = 0, iconH = 0;

    if (icon != nullptr)
    {
        iconH = (int) font.getHeight();
        iconW = icon->getWidth() * iconH / juce::jmax (1, icon->getHeight()) + 4;
    }

    textW = juce::jmin (titleSpaceW, textW + iconW);
    int textX = drawTitleTextOnLeft ? titleSpaceX : juce::jmax (titleSpaceX, (w - textW) / 2);

    if (textX + textW > titleSpaceX + titleSpaceW)
        textX = titleSpaceX + titleSpaceW - textW;

    if (icon != nullptr)
    {
        g.setOpacity (window.isActiveWindow() ? 1.0f : 0.6f);
        g.drawImageWithin (*icon, textX, (h - iconH) / 2, iconW, juce::jmin (iconH, h), juce::RectanglePlacement::centred, false);
        textX += iconW;
        textW -= iconW;
    }

    g.setColour (juce::Colours::black);
    g.drawText (window.getName(), textX, 0, textW, h, juce::Justification::centredLeft, true);
}

void DefaultLookAndFeel::drawImageButton (juce::Graphics& g, juce::Image* image, int imageX, int imageY, int imageW,
                                          int imageH, const juce::Colour& overlayColour, float imageOpacity,
                                          juce::ImageButton& button)
{
    if (button.isDown())
        imageOpacity = juce::jmin (1.0f, imageOpacity * 1.4f);

    LookAndFeel_V2::drawImageButton (g, image, imageX, imageY, imageW, imageH, overlayColour, imageOpacity, button);
}

void DefaultLookAndFeel::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    if (!editor.isEnabled())
        return;

    g.setColour (editor.findColour (editor.hasKeyboardFocus (true) && !editor.isReadOnly()
                                        ? juce::TextEditor::focusedOutlineColourId
                                        : juce::TextEditor::outlineColourId));
    g.drawRect (0, 0, width, height);
}
