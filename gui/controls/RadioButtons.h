#pragma once

#include "gui/controls/LookAndFeelWatch.h"
#include <juce_gui_basics/juce_gui_basics.h>

/** A titled frame holding one radio button per item; one item (or none) is
    selected. */
class RadioButtons : public juce::Component,
                     public juce::Button::Listener
{
public:
    /** What the control asks of its look and feel; with one that lacks it the control
        keeps its own defaults. */
    struct LookAndFeelMethods
    {
        virtual ~LookAndFeelMethods() = default;

        virtual juce::Image getRadioButtonUntickedImage() = 0;
        virtual juce::Image getRadioButtonTickedImage() = 0;
        virtual juce::Font getRadioGroupTitleFont() = 0;
        virtual juce::Font getRadioGroupItemFont() = 0;
        virtual int getRadioTitleIndent() = 0;
        virtual int getRadioTitlePadding() = 0;
        virtual int getRadioLeftMargin() = 0;
        virtual int getRadioVerticalMargin() = 0;
        virtual int getRadioRowHeight() = 0;
        virtual float getRadioFrameCornerSize() = 0;
        virtual int getRadioTextGap() = 0;
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void radioButtonsChanged (RadioButtons* radioButtons) = 0;
    };

    RadioButtons (const juce::String& title, const juce::StringArray& items);
    ~RadioButtons() override;

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    /** Selects index (anything outside the items selects none, -1); with notify
        the listeners are told. */
    void setSelectedIndex (int index, bool notify);
    int getSelectedIndex() const noexcept { return selectedIndex; }

    void setTitle (const juce::String& newTitle);
    const juce::String& getTitle() const noexcept { return title; }

    int getNumItems() const noexcept { return items.size(); }
    juce::Button* getButton (int index) const noexcept { return buttons[index]; }

    int getFirstRowY() const noexcept { return firstRowY; }
    int getTextX() const noexcept { return textX; }
    int getTextWidth() const noexcept { return textWidth; }
    int getRowHeight() const noexcept { return rowHeight; }
    int getTextGap() const noexcept { return textGap; }
    int getVerticalMargin() const noexcept { return verticalMargin; }
    int getTitleFontHeight() const noexcept { return (int) titleFont.getHeight(); }
    juce::Rectangle<int> getTitleBackArea() const noexcept { return titleBackArea; }
    juce::Rectangle<int> getFrameArea() const noexcept { return frameArea; }

    //==============================================================================
    virtual void updateEnablement();
    virtual void layoutChanged();

    void buttonClicked (juce::Button* button) override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;
    void resized() override;
    void paint (juce::Graphics& g) override;

protected:
    void notifyListeners();

private:
    void layout();

    juce::String title;
    juce::StringArray items;
    juce::OwnedArray<juce::ImageButton> buttons;
    int selectedIndex = -1;
    juce::Font titleFont{14.0f};
    juce::Font itemFont{14.0f};
    int titleIndent = 13;
    int titlePadding = 4;
    int leftMargin = 6;
    int verticalMargin = 2;
    int rowHeight = 20;
    float cornerSize = 4.0f;
    int textGap = 6;
    juce::Rectangle<int> titleBackArea, frameArea;
    int firstRowY = 0;
    int textX = 0;
    int textWidth = 0;
    juce::Array<Listener*> listeners;
    LookAndFeelWatch lookAndFeelWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RadioButtons)
};
