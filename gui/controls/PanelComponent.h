#pragma once

#include "gui/controls/LookAndFeelWatch.h"
#include <juce_gui_basics/juce_gui_basics.h>

/** A titled frame around one content component; the title interrupts the frame's
    top edge. The panel sizes itself to the content (or to a fixed width). */
class PanelComponent : public juce::Component
{
public:
    /** What the control asks of its look and feel; with one that lacks it the control
        keeps its own defaults. */
    struct LookAndFeelMethods
    {
        virtual ~LookAndFeelMethods() = default;

        virtual juce::Font getPanelTitleFont() = 0;
        virtual int getPanelTitleIndent() = 0;
        virtual int getPanelTitlePadding() = 0;
        virtual juce::BorderSize<int> getPanelBorder() = 0;
    };

    explicit PanelComponent (const juce::String& title = {});
    ~PanelComponent() override;

    void setTitle (const juce::String& newTitle);
    const juce::String& getTitle() const noexcept { return title; }

    /** The content is not owned; null removes it. */
    void setContent (juce::Component* newContent);
    juce::Component* getContent() const noexcept { return content; }

    /** 0 sizes the panel to its content. */
    void setFixedWidth (int width);

    void updateLayout();

    juce::Rectangle<int> getTitleStrip() const noexcept { return titleStrip; }
    juce::Rectangle<int> getFrameArea() const noexcept { return frameArea; }
    const juce::Font& getTitleFont() const noexcept { return titleFont; }

    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;
    void childBoundsChanged (juce::Component* child) override;
    void resized() override;
    void paint (juce::Graphics& g) override;

private:
    juce::String title;
    juce::Font titleFont{14.0f};
    juce::Component* content = nullptr;
    int fixedWidth = 0;
    juce::BorderSize<int> border{18, 8, 8, 8};
    int titleIndent = 13;
    int titlePadding = 4;
    juce::Rectangle<int> titleStrip, frameArea;
    bool updating = false;
    LookAndFeelWatch lookAndFeelWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PanelComponent)
};
