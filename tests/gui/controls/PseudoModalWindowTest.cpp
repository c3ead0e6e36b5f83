#include "ControlsTestSupport.h"
#include "gui/controls/WindowComponent.h"

using namespace controls_test;

namespace
{
struct CountingWindow : public PseudoModalComponent
{
    bool dims = false;
    int shownChanges = 0;
    bool dimsBackground() override { return dims; }
    void shownStateChanged() override { ++shownChanges; }
};
} // namespace

TEST (PseudoModalComponent, WithoutDesktopItJustBecomesVisible)
{
    juce::Component parent;
    CountingWindow window;
    window.setSize (50, 40);
    parent.addChildComponent (window);

    window.show();
    EXPECT_TRUE (window.isVisible());
    EXPECT_EQ (window.getParentComponent(), &parent);
    EXPECT_EQ (window.shownChanges, 0);

    window.hide();
    EXPECT_FALSE (window.isVisible());
}

TEST (PseudoModalComponent, AttachesCoversAndFollowsTheEditor)
{
    TestDesktop editor;
    juce::Component page;
    editor.addAndMakeVisible (page);
    juce::Component other;
    editor.addAndMakeVisible (other);
    CountingWindow window;
    window.setSize (100, 60);
    page.addChildComponent (window);

    window.show();
    auto& cover = window.getCoveringWindow();
    ASSERT_EQ (window.getParentComponent(), &cover);
    ASSERT_EQ (cover.getParentComponent(), &editor);
    EXPECT_TRUE (cover.isVisible());
    EXPECT_TRUE (window.isShown());
    EXPECT_EQ (cover.getBounds(), editor.getLocalBounds());
    EXPECT_EQ (editor.getIndexOfChildComponent (&cover), editor.getNumChildComponents() - 1);
    EXPECT_EQ (window.getBounds(), juce::Rectangle<int> (250, 170, 100, 60));
    EXPECT_EQ (window.shownChanges, 1);

    // Clicks outside the window reach only the covering window.
    EXPECT_EQ (editor.getComponentAt (10, 10), &cover);
    EXPECT_EQ (editor.getComponentAt (260, 180), &window);

    // Showing again changes nothing, not even the position.
    window.setTopLeftPosition (5, 5);
    window.show();
    EXPECT_EQ (window.getPosition(), juce::Point<int> (5, 5));
    EXPECT_EQ (window.shownChanges, 1);

    // The editor grows: the cover follows and re-centres the window.
    editor.setSize (800, 500);
    EXPECT_EQ (cover.getBounds(), juce::Rectangle<int> (0, 0, 800, 500));
    EXPECT_EQ (window.getBounds(), juce::Rectangle<int> (350, 220, 100, 60));

    window.hide();
    EXPECT_FALSE (cover.isVisible());
    EXPECT_FALSE (window.isShown());
    EXPECT_EQ (editor.getIndexOfChildComponent (&cover), 0);
    EXPECT_EQ (window.shownChanges, 2);
    window.hide();
    EXPECT_EQ (window.shownChanges, 2);

    // Placed at a position relative to a component, re-placed on resize.
    other.setBounds (40, 30, 20, 20);
    window.showAt (1, {0, 20}, &other);
    EXPECT_EQ (window.getPlacement(), 1);
    EXPECT_EQ (window.getPosition(), juce::Point<int> (40, 50));
    editor.setSize (600, 400);
    EXPECT_EQ (window.getPosition(), juce::Point<int> (40, 50));
    window.hide();

    // Moved elsewhere by its owner: the cover leaves the editor.
    page.addChildComponent (window);
    EXPECT_EQ (cover.getParentComponent(), nullptr);
}

TEST (PseudoModalComponent, DimsTheEditorWhenAsked)
{
    TestDesktop editor (nullptr, 200, 100);
    CountingWindow window;
    window.setSize (20, 20);
    editor.addChildComponent (window);

    window.show();
    auto plain = editor.createComponentSnapshot (editor.getLocalBounds());
    window.hide();
    window.dims = true;
    window.show();
    auto dimmed = editor.createComponentSnapshot (editor.getLocalBounds());

    const auto base = juce::Colour (0xff8899aa);
    EXPECT_EQ (plain.getPixelAt (5, 5), base);
    const auto expected = base.overlaidWith (juce::Colours::black.withAlpha (0.33f));
    const auto got = dimmed.getPixelAt (5, 5);
    EXPECT_NEAR (got.getRed(), expected.getRed(), 1);
    EXPECT_NEAR (got.getGreen(), expected.getGreen(), 1);
    EXPECT_NEAR (got.getBlue(), expected.getBlue(), 1);
}

TEST (WindowComponent, ContentAreaAndMinimumSizes)
{
    DefaultLookAndFeel laf;
    WindowComponent window;
    window.setLookAndFeel (&laf);

    window.setContentSize (10, 10);
    EXPECT_EQ (window.getWidth(), 250);
    EXPECT_EQ (window.getHeight(), 120);

    window.setTopLeftPosition (7, 9);
    window.setContentSize (300, 200);
    EXPECT_EQ (window.getBounds(), juce::Rectangle<int> (7, 9, 316, 249));
    EXPECT_EQ (window.getContentArea(), juce::Rectangle<int> (8, 41, 300, 200));

    // The close button takes its 27 x 27 image and sits at the title bar's right.
    EXPECT_EQ (window.getCloseButton().getBounds(), juce::Rectangle<int> (316 - 27 - 10, 8, 27, 27));
    EXPECT_EQ (window.getTitleArea(), juce::Rectangle<int> (8, 8, 300, 28));
    EXPECT_EQ (window.getTitleTextArea(), juce::Rectangle<int> (8 + 24 + 6, 8, 300 - (27 + 24 + 12), 28));

    for (int side = 1; side <= 4; ++side)
    {
        window.setEdgeImageSide (side);
        window.setContentSize (300, 200);
        const bool vertical = side <= 2;
        EXPECT_EQ (window.getWidth(), vertical ? 316 : 326) << side;
        EXPECT_EQ (window.getHeight(), vertical ? 259 : 249) << side;
        EXPECT_EQ (window.getContentArea().getWidth(), 300) << side;
        EXPECT_EQ (window.getContentArea().getHeight(), 200) << side;
        EXPECT_EQ (window.getContentArea().getX(), side == 3 ? 18 : 8) << side;
        EXPECT_EQ (window.getContentArea().getY(), side == 1 ? 51 : 41) << side;
    }

    window.setEdgeImageSide (0);
    window.setTitleBarVisible (false);
    window.setBordered (false);
    EXPECT_FALSE (window.getCloseButton().isVisible());
    window.setSize (100, 80);
    EXPECT_EQ (window.getContentArea(), juce::Rectangle<int> (5, 5, 90, 70));
    window.setSize (6, 4);
    EXPECT_EQ (window.getContentArea().getWidth(), 0);
    EXPECT_EQ (window.getContentArea().getHeight(), 0);
    window.setLookAndFeel (nullptr);
}

TEST (WindowComponent, CloseButtonHidesAndOtherLookAndFeelKeepsDefaults)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf);
    WindowComponent window;
    editor.addChildComponent (window);
    window.setContentSize (100, 50);
    window.show();
    ASSERT_TRUE (window.isShown());
    window.getCloseButton().triggerClick();
    pumpMessages (20);
    EXPECT_FALSE (window.isShown());

    juce::LookAndFeel_V4 other;
    WindowComponent plain;
    plain.setLookAndFeel (&other);
    EXPECT_EQ (plain.getCloseButton().getWidth(), 0);
    plain.setLookAndFeel (nullptr);
}
