#include "editor/AboutWindow.h"
#include "EditorWindowsTestSupport.h"

using namespace editor_test;

TEST (AboutWindow, TextsLayoutAndAnyPressHidesIt)
{
    WindowFixture f;
    AboutWindow about (f.plugin());
    f.editor.addChildComponent (about);
    about.setSize (550, 300);
    about.show();
    ASSERT_TRUE (about.isShown());
    EXPECT_TRUE (about.dimsBackground());
    EXPECT_FALSE (about.getCloseButton().isVisible());

    const auto texts = about.getTexts();
    ASSERT_EQ (texts.size(), 5);
    EXPECT_EQ (texts[0], "PULSARET");
    EXPECT_EQ (texts[1], "Version 1.5.1");
    EXPECT_EQ (texts[2], "VST 64bit");
    EXPECT_TRUE (texts[3].startsWith ("319.1304; ")) << texts[3];
    EXPECT_EQ (texts[4], "VST Plug-In Technology by Steinberg.");

    // The build date, year-month-day, fixed when the library was built.
    const auto date = texts[3].fromFirstOccurrenceOf ("; ", false, false);
    ASSERT_EQ (date.length(), 10) << date;
    EXPECT_TRUE (date.substring (0, 4).containsOnly ("0123456789") && date[4] == '-' && date[7] == '-');
    EXPECT_GE (date.substring (0, 4).getIntValue(), 2024);

    // Content 534 x 251: a header of 209 x 54, the version column beside it, the
    // credits in the bottom 23 pixels.
    const auto content = about.getContentArea();
    EXPECT_EQ (about.getHeaderArea(), content.withSize (209, 54));
    EXPECT_EQ (about.getVersionArea(), juce::Rectangle<int> (content.getX() + 217, content.getY(), 317, 54));
    EXPECT_EQ (about.getCreditsArea(), juce::Rectangle<int> (content.getX(), content.getBottom() - 23, 534, 23));

    auto image = snapshot (f.editor, "about-window.png");
    const auto origin = f.editor.getLocalPoint (&about, juce::Point<int>());
    int dark = 0;

    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 20; ++y)
            dark += image.getPixelAt (origin.x + about.getHeaderArea().getX() + x, origin.y + about.getHeaderArea().getY() + y).getBrightness() < 0.3f;

    EXPECT_GT (dark, 60); // the name is painted

    // A press on the name itself reaches the window and hides it.
    const auto onName = f.editor.getLocalPoint (&about, about.getHeaderArea().getTopLeft() + juce::Point<int> (10, 5));
    auto* hit = f.editor.getComponentAt (onName);
    ASSERT_EQ (hit, &about);
    hit->mouseDown (mouseAt (*hit, hit->getLocalPoint (&f.editor, onName)));
    EXPECT_FALSE (about.isShown());
}
