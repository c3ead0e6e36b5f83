#pragma once

#include "gui/controls/LookAndFeelWatch.h"
#include "gui/controls/PseudoModalComponent.h"

/** A framed pseudo-modal window: rounded frame, title bar with icon, title and
    close button, an optional edge strip, and a content area for subclasses. */
class WindowComponent : public PseudoModalComponent,
                        public juce::Button::Listener
{
public:
    enum ColourIds
    {
        backgroundColourId = 0x0F001000,
        borderColourId = 0x0F001001,
        titleBarColourId = 0x0F001002,
        titleTextColourId = 0x0F001003
    };

    static constexpr int borderThickness = 3;
    static constexpr int contentMargin = 5;
    static constexpr int titleBarHeight = 33;
    static constexpr int minimumWidth = 250;
    static constexpr int minimumHeight = 120;

    WindowComponent();
    ~WindowComponent() override;

    void setTitle (const juce::String& newTitle);
    const juce::String& getTitle() const noexcept { return title; }
    const juce::Font& getTitleFont() const noexcept { return titleFont; }

    /** The window width at which the title bar shows the whole title; 0 without a title bar. */
    int getWidthForTitle() const;

    void setTitleBarVisible (bool shouldBeVisible);
    bool isTitleBarVisible() const noexcept { return titleBarVisible; }

    void setBordered (bool shouldBeBordered);
    bool isBordered() const noexcept { return bordered; }

    /** 0 rectangle, 1 rounded rectangle (corner 8), anything else no background. */
    void setFrameShape (int newShape);

    /** 0 none, 1 top, 2 bottom, 3 left, 4 right. */
    void setEdgeImageSide (int newSide);

    juce::Rectangle<int> getContentArea() const;

    /** Sizes the window, keeping its position, so the content area gets this size
        (the window never gets smaller than 250 x 120). */
    void setContentSize (int width, int height);

    juce::ImageButton& getCloseButton() noexcept { return closeButton; }
    juce::Rectangle<int> getTitleArea() const noexcept { return titleArea; }
    juce::Rectangle<int> getTitleTextArea() const noexcept { return titleTextArea; }

    void buttonClicked (juce::Button* button) override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;
    void paint (juce::Graphics& g) override;
    void resized() override;

protected:
    /** Called after setTitle changed the title. */
    virtual void titleChanged() {}

private:
    juce::Image titleIcon;
    juce::ImageButton closeButton{"CloseButton"};
    juce::String title;
    juce::Font titleFont;
    bool titleBarVisible = true;
    bool bordered = true;
    int frameShape = 1;
    int edgeImageSide = 0;
    juce::Rectangle<int> titleArea, titleTextArea;
    juce::Image edgeImages[4]; // top, bottom, left, right
    LookAndFeelWatch lookAndFeelWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WindowComponent)
};
