#pragma once

#include "gui/controls/CheckBox.h"
#include "gui/controls/PanelComponent.h"
#include "gui/controls/RadioButtons.h"
#include "gui/controls/StatusBar.h"
#include "gui/controls/TabbedComponentEx.h"
#include "gui/controls/ToolkitLookAndFeelMethods.h"
#include "gui/widgets/TextButtonEx.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

/** The editor's one look and feel: default colours of the toolkit's colour ids,
    the "Tahoma" fonts, the measurements of the own controls and their button
    images, and flat grey drawings of scrollbars, tooltips, tabs and windows.

    One owner (the editor) holds it and must outlive every component that uses it:
    components are given another look and feel (or none) before it is destroyed.
    It is deliberately not registered for deletion at shut-down as well. */
class DefaultLookAndFeel : public juce::LookAndFeel_V2,
                           public ToolkitLookAndFeelMethods,
                           public CheckBox::LookAndFeelMethods,
                           public RadioButtons::LookAndFeelMethods,
                           public PanelComponent::LookAndFeelMethods,
                           public TabbedComponentEx::LookAndFeelMethods,
                           public StatusBar::LookAndFeelMethods,
                           public TextButtonFace::LookAndFeelMethods
{
public:
    DefaultLookAndFeel();
    ~DefaultLookAndFeel() override;

    //==============================================================================
    virtual juce::Image getCheckBoxUntickedImage() override;
    virtual juce::Image getCheckBoxTickedImage() override;
    virtual juce::Font getDefaultFont() override;
    virtual int getCheckBoxGap() override;
    virtual juce::Image getRadioButtonUntickedImage() override;
    virtual juce::Image getRadioButtonTickedImage() override;
    virtual juce::Font getRadioGroupTitleFont() override;
    virtual juce::Font getRadioGroupItemFont() override;
    virtual int getRadioTitleIndent() override;
    virtual int getRadioTitlePadding() override;
    virtual int getRadioLeftMargin() override;
    virtual int getRadioVerticalMargin() override;
    virtual int getRadioRowHeight() override;
    virtual float getRadioFrameCornerSize() override;
    virtual int getRadioTextGap() override;
    virtual juce::Font getPanelTitleFont() override;
    virtual int getPanelTitleIndent() override;
    virtual int getPanelTitlePadding() override;
    virtual juce::BorderSize<int> getPanelBorder() override;
    virtual juce::Font getTabBarFont();
    virtual int getTabBarDepth() override;
    virtual int getTabBarIndent() override;
    virtual juce::Font getStatusBarFont() override;
    virtual int getStatusBarHeight() override;
    virtual int getStandardIconSize() override;
    virtual int getStandardButtonIconSize();

    /** A new image button showing the icon's normal and pressed images; null for
        an icon above 16. Size 2 is the large set, any other the standard one. */
    virtual std::unique_ptr<juce::ImageButton> createImageButton (const juce::String& name, int icon, int size);
    virtual std::unique_ptr<juce::ImageButton> createImageButton (const juce::String& name, int icon) override;
    virtual void setImageButtonImages (juce::ImageButton& button, int icon, int size) override;

    /** A new text button (style 0) drawn from the icon's seven slices, owned by the
        caller; null for an icon above 16. */
    virtual TextButtonEx* createTextButton (const juce::String& text, int icon, int size);
    virtual TextButtonEx* createTextButton (const juce::String& text, int icon);

    /** Hands a text button the seven slices of its style (0 and 1 one set, 2 another). */
    virtual void setTextButtonImages (TextButtonFace& face, int style) override;

    //==============================================================================
    /** The font text buttons write with. */
    juce::Font getTextButtonFont() override { return boldFont; }

    /** The seven slices (normal left, middle, right, pressed left, middle, right,
        overlay) of a text button style. */
    const std::array<juce::Image, 7>& getTextButtonSlices (int style) const;

    //==============================================================================
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;

    void drawScrollbarButton (juce::Graphics&, juce::ScrollBar&, int width, int height, int buttonDirection,
                              bool isScrollbarVertical, bool isMouseOverButton, bool isButtonDown) override;
    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                        bool isMouseOver, bool isMouseDown) override;
    int getDefaultScrollbarWidth() override;
    int getScrollbarButtonSize (juce::ScrollBar&) override;

    juce::Rectangle<int> getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                           juce::Rectangle<int> parentArea) override;
    void drawTooltip (juce::Graphics&, const juce::String& text, int width, int height) override;

    int getTabButtonSpaceAroundImage() override;
    int getTabButtonOverlap (int tabDepth) override;
    int getTabButtonBestWidth (juce::TabBarButton&, int tabDepth) override;
    juce::Font getTabButtonFont (juce::TabBarButton&, float height) override;
    void drawTabButton (juce::TabBarButton&, juce::Graphics&, bool isMouseOver, bool isMouseDown) override;
    void drawTabButtonText (juce::TabBarButton&, juce::Graphics&, bool isMouseOver, bool isMouseDown) override;
    void drawTabbedButtonBarBackground (juce::TabbedButtonBar&, juce::Graphics&) override;
    void drawTabAreaBehindFrontButton (juce::TabbedButtonBar&, juce::Graphics&, int w, int h) override;

    void drawDocumentWindowTitleBar (juce::DocumentWindow&, juce::Graphics&, int w, int h, int titleSpaceX,
                                     int titleSpaceW, const juce::Image* icon, bool drawTitleTextOnLeft) override;

    void drawImageButton (juce::Graphics&, juce::Image*, int imageX, int imageY, int imageW, int imageH,
                          const juce::Colour& overlayColour, float imageOpacity, juce::ImageButton&) override;

    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

private:
    void setColourDefaults();

    std::array<juce::Path, 4> arrowPaths; // up, right, down, left
    juce::Font defaultFont;
    juce::Font boldFont;
    juce::Image checkBoxImages[2];
    juce::Image radioImages[2];
    std::array<std::array<juce::Image, 7>, 3> textButtonSets;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DefaultLookAndFeel)
};
