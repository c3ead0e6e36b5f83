#include "ControlsTestSupport.h"
#include "gui/controls/CheckBox.h"
#include "gui/controls/ComponentRow.h"
#include "gui/controls/PanelComponent.h"
#include "gui/controls/RadioButtons.h"
#include "gui/controls/StatusBar.h"
#include "gui/controls/TabbedComponentEx.h"

using namespace controls_test;

namespace
{
struct RadioListener : public RadioButtons::Listener
{
    int calls = 0;
    void radioButtonsChanged (RadioButtons*) override { ++calls; }
};

struct CheckListener : public CheckBox::Listener
{
    int calls = 0;
    void checkBoxChanged (CheckBox*) override { ++calls; }
};

struct TabListener : public TabbedComponentEx::Listener
{
    int calls = 0;
    void tabChanged (TabbedComponentEx*) override { ++calls; }
};
} // namespace

TEST (ComponentRow, SizesToChildrenAndAligns)
{
    ComponentRow row;
    row.setTopLeftPosition (3, 4);
    EXPECT_EQ (row.getBounds(), juce::Rectangle<int> (3, 4, 0, 0));
    row.layoutComponents();
    EXPECT_EQ (row.getWidth(), 0);
    EXPECT_EQ (row.getHeight(), 0);

    juce::Component a, b, c;
    a.setSize (30, 10);
    b.setSize (20, 24);
    c.setSize (10, 16);
    row.setSpacing (5);
    row.addAndMakeVisible (a);
    row.addAndMakeVisible (b);
    row.addAndMakeVisible (c);
    EXPECT_EQ (row.getBounds(), juce::Rectangle<int> (3, 4, 70, 24));
    EXPECT_EQ (a.getPosition(), juce::Point<int> (0, 0));
    EXPECT_EQ (b.getPosition(), juce::Point<int> (35, 0));
    EXPECT_EQ (c.getPosition(), juce::Point<int> (60, 0));

    row.setAlignment (ComponentRow::centre);
    EXPECT_EQ (a.getY(), 7);
    EXPECT_EQ (c.getY(), 4);
    row.setAlignment (ComponentRow::end);
    EXPECT_EQ (a.getY(), 14);

    // A child that grows re-lays the row out.
    a.setSize (40, 10);
    EXPECT_EQ (row.getWidth(), 80);
    EXPECT_EQ (b.getX(), 45);

    row.setOrientation (ComponentRow::column);
    EXPECT_EQ (row.getBounds(), juce::Rectangle<int> (3, 4, 40, 60));
    EXPECT_EQ (b.getPosition(), juce::Point<int> (20, 15));
    EXPECT_EQ (c.getPosition(), juce::Point<int> (30, 44));
}

TEST (PanelComponent, SizesAroundContentAndTitle)
{
    DefaultLookAndFeel laf;
    TestDesktop page (&laf);
    PanelComponent panel ("Outputs");
    page.addAndMakeVisible (panel);
    juce::Component content;
    content.setSize (200, 60);
    panel.setContent (&content);

    const auto font = laf.getPanelTitleFont();
    EXPECT_EQ (content.getPosition(), juce::Point<int> (8, 18));
    EXPECT_EQ (panel.getWidth(), 216);
    EXPECT_EQ (panel.getHeight(), 18 + 60 + 8);
    EXPECT_EQ (panel.getTitleStrip(), juce::Rectangle<int> (9, 0, juce::roundToInt (font.getStringWidthFloat ("Outputs")) + 8, 13));
    EXPECT_EQ (panel.getFrameArea(), juce::Rectangle<int> (0, 6, 216, 80));

    // A title wider than the content widens the panel; a fixed width wins.
    content.setSize (10, 20);
    EXPECT_EQ (panel.getWidth(), panel.getTitleStrip().getRight() + 8);
    EXPECT_EQ (panel.getHeight(), 46);
    panel.setFixedWidth (300);
    EXPECT_EQ (panel.getWidth(), 300);
    panel.setContent (nullptr);
}

TEST (RadioButtons, LayoutSelectionAndListeners)
{
    DefaultLookAndFeel laf;
    TestDesktop page (&laf);
    RadioButtons radios ("Mode", {"Mono", "Stereo", "Custom"});
    page.addAndMakeVisible (radios);
    RadioListener listener;
    radios.addListener (&listener);

    const auto itemFont = laf.getRadioGroupItemFont();
    const int textWidth = juce::roundToInt (juce::jmax (itemFont.getStringWidthFloat ("Mono"), itemFont.getStringWidthFloat ("Stereo"),
                                                        itemFont.getStringWidthFloat ("Custom")));
    EXPECT_EQ (radios.getHeight(), 20 * 3 + 2 * 2 + 13);
    EXPECT_EQ (radios.getFirstRowY(), 15);
    EXPECT_EQ (radios.getTextX(), 6 + 6 + 1 + 15);
    EXPECT_EQ (radios.getTextWidth(), textWidth);
    EXPECT_EQ (radios.getWidth(), textWidth + 2 + 12 + 6 + 15);
    EXPECT_EQ (radios.getButton (1)->getBounds(), juce::Rectangle<int> (7, 20 + 2 + 15, 15, 15));
    EXPECT_EQ (radios.getButton (2)->getName(), "RadioButton2");
    EXPECT_EQ (radios.getFrameArea(), juce::Rectangle<int> (0, 6, radios.getWidth(), radios.getHeight() - 6));

    radios.getButton (1)->triggerClick();
    pumpMessages (20);
    EXPECT_EQ (radios.getSelectedIndex(), 1);
    EXPECT_TRUE (radios.getButton (1)->getToggleState());
    EXPECT_EQ (listener.calls, 1);

    radios.setSelectedIndex (5, true);
    EXPECT_EQ (radios.getSelectedIndex(), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE (radios.getButton (i)->getToggleState());
    EXPECT_EQ (listener.calls, 2);

    radios.setSelectedIndex (0, false);
    EXPECT_EQ (listener.calls, 2);
    EXPECT_TRUE (radios.getButton (0)->getToggleState());

    // Never narrower than it was.
    radios.setSize (400, radios.getHeight());
    radios.setTitle ("M");
    EXPECT_EQ (radios.getWidth(), 400);

    // Another look and feel: 14-point fonts and no images, no failure.
    juce::LookAndFeel_V4 other;
    RadioButtons plain ("Mode", {"A", "B"});
    plain.setLookAndFeel (&other);
    EXPECT_FLOAT_EQ ((float) plain.getTitleFontHeight(), 14.0f);
    EXPECT_EQ (plain.getHeight(), 20 * 2 + 4 + 14);
    plain.setLookAndFeel (nullptr);
}

TEST (CheckBox, SizeAndClicks)
{
    DefaultLookAndFeel laf;
    TestDesktop page (&laf);
    CheckBox box;
    page.addAndMakeVisible (box);
    box.setText ("Send MIDI clock");
    CheckListener listener;
    box.addListener (&listener);

    const auto font = laf.getDefaultFont();
    EXPECT_EQ (box.getWidth(), 5 + juce::roundToInt (font.getStringWidthFloat ("Send MIDI clock")) + 15);
    EXPECT_EQ (box.getHeight(), 15);
    EXPECT_EQ (box.getButton().getPosition(), juce::Point<int> (0, 0));

    box.getButton().triggerClick();
    pumpMessages (20);
    EXPECT_TRUE (box.getToggleState());
    EXPECT_EQ (listener.calls, 1);
    box.setToggleState (false);
    EXPECT_FALSE (box.getToggleState());
    EXPECT_EQ (listener.calls, 1);
}

TEST (StatusBar, PrioritiesAndTimeOuts)
{
    DefaultLookAndFeel laf;
    TestDesktop page (&laf);
    StatusBar bar;
    page.addAndMakeVisible (bar);
    EXPECT_EQ (bar.getHeight(), 16);
    bar.setBounds (0, 100, 300, 40);
    bar.lookAndFeelChanged();
    EXPECT_EQ (bar.getBounds(), juce::Rectangle<int> (0, 100, 300, 16));

    bar.setMessage ("Tempo: 120", 6, 3000);
    EXPECT_EQ (bar.getText(), "Tempo: 120");
    EXPECT_EQ (bar.getPriority(), 6);
    EXPECT_TRUE (bar.isTimeOutRunning());

    bar.setMessage ("hint", 4, 0);
    EXPECT_EQ (bar.getText(), "Tempo: 120");

    bar.setMessage ("Learning", 7);
    EXPECT_EQ (bar.getText(), "Learning");
    EXPECT_FALSE (bar.isTimeOutRunning());

    bar.setMessage ("Learned", 7, 50);
    EXPECT_EQ (bar.getText(), "Learned");
    // The same text again neither restarts the time-out nor lowers the priority.
    bar.setMessage ("Learned", 9, 0);
    EXPECT_EQ (bar.getPriority(), 7);
    EXPECT_TRUE (bar.isTimeOutRunning());

    pumpMessages (150);
    EXPECT_EQ (bar.getText(), "");
    EXPECT_EQ (bar.getPriority(), 0);

    bar.setMessage ("Sequencer", 4);
    bar.clearMessage (3);
    EXPECT_EQ (bar.getText(), "Sequencer");
    bar.clearMessage (4);
    EXPECT_EQ (bar.getText(), "");
    bar.setMessage ("Sequencer", 4);
    bar.clearMessage (-1);
    EXPECT_EQ (bar.getText(), "");
    EXPECT_EQ (bar.getPriority(), 0);
}

TEST (TabbedComponentEx, DepthOutlineAndListeners)
{
    DefaultLookAndFeel laf;
    TestDesktop page (&laf);
    TabbedComponentEx tabs;
    page.addAndMakeVisible (tabs);
    tabs.setBounds (0, 0, 300, 200);
    TabListener listener;
    tabs.addListener (&listener);

    juce::Component first, second;
    tabs.addTab ("Outputs", juce::Colours::transparentBlack, &first, false);
    tabs.addTab ("Sequencer", juce::Colours::transparentBlack, &second, false);
    EXPECT_EQ (tabs.getTabDepth(), 23);
    EXPECT_EQ (tabs.getTabBarDepth(), 23);
    EXPECT_EQ (tabs.getOutline().getBounds(), juce::Rectangle<float> (0.5f, 22.5f, 299.0f, 177.0f));

    const int before = listener.calls;
    tabs.setCurrentTabIndex (1);
    EXPECT_EQ (listener.calls, before + 1);
    EXPECT_EQ (&second.getLookAndFeel(), &laf);
    second.setLookAndFeel (nullptr);
    first.setLookAndFeel (nullptr);
}
