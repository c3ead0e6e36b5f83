#include "gui/widgets/TextButtonEx.h"
#include "WidgetTestSupport.h"
#include "gui/DefaultLookAndFeel.h"

#include <gtest/gtest.h>

using namespace widgettest;

TEST (TextButtonEx, OtherLookAndFeelKeepsOwnDefaultsAndWidthFollowsText)
{
    TextButtonEx button ("Load", 0);
    const juce::Font font (14.0f);
    EXPECT_EQ (button.getLeftMargin(), 10);
    EXPECT_EQ (button.getRightMargin(), 10);
    EXPECT_EQ (button.getButtonHeight(), 20);
    EXPECT_EQ (button.getTextWidth(), (int) font.getStringWidthFloat ("Load"));
    EXPECT_EQ (button.getBounds(), juce::Rectangle<int> (0, 0, 20 + button.getTextWidth(), 20));

    // Painted as a plain button.
    button.setVisible (true);
    EXPECT_EQ (pixelAt (button, 2, 2), juce::Colour::greyLevel (0.9f));

    button.setTopLeftPosition (30, 40);
    const auto before = button.getBounds();
    juce::String sameWidth;

    for (auto candidate : {"Lxad", "Daol", "Laod"})
        if ((int) font.getStringWidthFloat (candidate) == button.getTextWidth())
            sameWidth = candidate;

    if (sameWidth.isNotEmpty())
    {
        button.setText (sameWidth);
        EXPECT_EQ (button.getBounds(), before);
        EXPECT_EQ (button.getButtonText(), sameWidth);
    }

    button.setText ("Load a longer name");
    EXPECT_EQ (button.getX(), 30);
    EXPECT_EQ (button.getY(), 40);
    EXPECT_EQ (button.getWidth(), 20 + (int) font.getStringWidthFloat ("Load a longer name"));
    EXPECT_GT (button.getWidth(), before.getWidth());

    // Clicks are those of a skin button.
    std::vector<std::string> log;
    Recorder recorder (log);
    button.setAction ("onClick", 42, "Load");
    button.addListener (&recorder);
    comp (button).mouseDown (mouseEvent (button, 5.0f, 5.0f));
    comp (button).mouseUp (mouseEvent (button, 5.0f, 5.0f, juce::ModifierKeys()));
    EXPECT_EQ (log, (std::vector<std::string>{"L.event 42"}));
}

TEST (TextButtonEx, ToolkitLookTakesImagesAndFont)
{
    DefaultLookAndFeel lookAndFeel;
    TextButtonEx button ("Save", 1);
    button.setLookAndFeel (&lookAndFeel);

    const auto& slices = lookAndFeel.getTextButtonSlices (1);
    ASSERT_TRUE (slices[0].isValid());
    EXPECT_EQ (button.getLeftMargin(), slices[0].getWidth());
    EXPECT_EQ (button.getRightMargin(), slices[2].getWidth());
    EXPECT_EQ (button.getButtonHeight(), slices[0].getHeight());
    EXPECT_EQ (button.getFont(), lookAndFeel.getTextButtonFont());
    EXPECT_EQ (button.getTextWidth(), (int) lookAndFeel.getTextButtonFont().getStringWidthFloat ("Save"));
    EXPECT_EQ (button.getWidth(), button.getLeftMargin() + button.getTextWidth() + button.getRightMargin());
    EXPECT_EQ (button.getHeight(), button.getButtonHeight());

    // Disabled, everything is drawn at half opacity.
    button.setVisible (true);
    const auto enabled = pixelAt (button, button.getLeftMargin() / 2, button.getHeight() / 2);
    button.setEnabled (false);
    const auto disabled = pixelAt (button, button.getLeftMargin() / 2, button.getHeight() / 2);
    ASSERT_GT (enabled.getAlpha(), 100);
    EXPECT_NEAR (disabled.getAlpha(), enabled.getAlpha() / 2, 2);

    button.setLookAndFeel (nullptr);
}
