#pragma once

#include "gui/controls/LookAndFeelWatch.h"
#include <juce_gui_basics/juce_gui_basics.h>

/** Tabbed pages in the toolkit's frame, telling its listeners when the front tab
    changes. */
class TabbedComponentEx : public juce::TabbedComponent
{
public:
    /** What the control asks of its look and feel; with one that lacks it the control
        keeps its own defaults. */
    struct LookAndFeelMethods
    {
        virtual ~LookAndFeelMethods() = default;

        virtual int getTabBarDepth() = 0;
        virtual int getTabBarIndent() = 0;
    };

    enum ColourIds
    {
        contentBackgroundColourId = 0x0F003000,
        tabTextColourId = 0x0F003001,
        outlineColourId = 0x0F003002
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void tabChanged (TabbedComponentEx* tabbedComponent) = 0;
    };

    explicit TabbedComponentEx (juce::TabbedButtonBar::Orientation orientation = juce::TabbedButtonBar::TabsAtTop);

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    int getTabDepth() const noexcept { return tabDepth; }
    int getTabIndent() const noexcept { return tabIndent; }
    const juce::Path& getOutline() const noexcept { return outline; }

    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;
    void resized() override;
    void paint (juce::Graphics& g) override;
    void currentTabChanged (int newCurrentTabIndex, const juce::String& newCurrentTabName) override;

private:
    int tabDepth = 30;
    int tabIndent = 0;
    juce::Path outline;
    juce::Array<Listener*> listeners;
    LookAndFeelWatch lookAndFeelWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TabbedComponentEx)
};
