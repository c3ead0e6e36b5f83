#pragma once

#include "gui/controls/LookAndFeelWatch.h"
#include <juce_gui_basics/juce_gui_basics.h>

/** An image check box with a text to its right; the box and text size the
    component. */
class CheckBox : public juce::Component,
                 public juce::Button::Listener
{
public:
    /** What the control asks of its look and feel; with one that lacks it the control
        keeps its own defaults. */
    struct LookAndFeelMethods
    {
        virtual ~LookAndFeelMethods() = default;

        virtual juce::Font getDefaultFont() = 0;
        virtual int getCheckBoxGap() = 0;
        virtual juce::Image getCheckBoxUntickedImage() = 0;
        virtual juce::Image getCheckBoxTickedImage() = 0;
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void checkBoxChanged (CheckBox* checkBox) = 0;
    };

    CheckBox();
    ~CheckBox() override;

    void setText (const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }

    bool getToggleState() const noexcept { return button.getToggleState(); }

    /** Sets the tick without telling the listeners. */
    void setToggleState (bool ticked);

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    juce::Button& getButton() noexcept { return button; }
    const juce::Font& getFont() const noexcept { return font; }

    void buttonClicked (juce::Button* button) override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;
    void resized() override;
    void paint (juce::Graphics& g) override;

private:
    void updateSize();

    juce::ImageButton button{"CheckBoxButton"};
    juce::String text;
    juce::Font font{14.0f};
    int gap = 5;
    juce::Array<Listener*> listeners;
    LookAndFeelWatch lookAndFeelWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CheckBox)
};
