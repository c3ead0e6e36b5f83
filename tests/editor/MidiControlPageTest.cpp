#include "EditorWindowsTestSupport.h"
#include "editor/MidiControlComponent.h"
#include "framework/BasePluginOldStyle.h"

using namespace editor_test;

namespace
{
struct PageFixture : public WindowFixture
{
    explicit PageFixture (int width = 620, int height = 400)
    {
        page = std::make_unique<MidiControlComponent> (map(), plugin().getMidiMapFileExtension(), plugin().getMidiMapFilePatterns());
        dialogs = &script (page->getDocumentChooser());
        editor.addAndMakeVisible (*page);
        page->setBounds (0, 0, width, height);
    }

    ~PageFixture() { page.reset(); }

    MidiControl& map() { return plugin().getMidiControl(); }
    Parameter* parameter (int uid) { return plugin().getParameterManager().getParameter (uid); }
    juce::ImageButton& button (const char* name) { return *page->getImageButton (name); }
    MidiControlComponent::ListComponent& list() { return page->getList(); }

    /** Assigns controllers 0 .. count - 1 to parameters 0 .. count - 1. */
    void assignFirst (int count)
    {
        for (int i = 0; i < count; ++i)
            map().assign (i, parameter (i), true);

        pumpMessages (20);
    }

    void pressAt (juce::Point<int> p) { list().mouseDown (mouseAt (list(), p)); }

    std::unique_ptr<MidiControlComponent> page;
    ScriptedLauncher* dialogs = nullptr;
};
} // namespace

TEST (MidiControlPage, FollowsTheMapAndItsButtons)
{
    PageFixture f;
    const char* tips[] = {"Delete selected assignation", "Clear all map", "Open map", "Save current map"};
    const char* names[] = {"Delete Assign", "Clear All", "Load Map", "Save Map"};

    for (int i = 0; i < 4; ++i)
    {
        auto& b = f.button (names[i]);
        EXPECT_EQ (b.getTooltip(), tips[i]);
        EXPECT_EQ (b.getWidth(), 27); // it took its icon from the look and feel
        EXPECT_EQ (b.getX(), i * (27 + 4));
        EXPECT_EQ (f.page->getLocalPoint (&b, juce::Point<int>()).y + 27 + 4, f.page->getHeight());
    }

    EXPECT_EQ (f.list().getBottom() + 5 + 27 + 4, f.page->getHeight());

    // An empty map: the header alone, nothing to delete or clear.
    EXPECT_EQ (f.list().getNumRows(), 0);
    EXPECT_FALSE (f.button ("Clear All").isEnabled());
    EXPECT_FALSE (f.button ("Delete Assign").isEnabled());
    EXPECT_TRUE (f.button ("Load Map").isEnabled() && f.button ("Save Map").isEnabled());

    // Learning controller 74 to "Bass Drum Tune" from the panel side.
    auto* tune = f.plugin().getParameterManager().getParameter ("Bass Drum Tune");
    ASSERT_NE (tune, nullptr);
    f.map().assign (100, f.parameter (5), true);
    f.map().assign (10, f.parameter (6), true);
    click (f.page->getLearnCheckBox().getButton());
    EXPECT_TRUE (f.map().isLearnMode());
    f.map().learnParameter (tune);
    f.map().learnController (74);
    pumpMessages (20);
    ASSERT_EQ (f.list().getNumRows(), 3);
    EXPECT_EQ (f.list().getRow (0).controller, 10);
    EXPECT_EQ (f.list().getRow (1).controller, 74);
    EXPECT_EQ (f.list().getRow (1).parameterName, "Bass Drum Tune");
    EXPECT_EQ (f.list().getRow (2).controller, 100);
    EXPECT_TRUE (f.button ("Clear All").isEnabled());

    // In learn mode a chosen row's parameter waits for the next controller.
    f.pressAt ({10, MidiControlComponent::ListComponent::headerHeight + 2 * 19 + 5});
    EXPECT_EQ (f.list().getSelectedRow(), 2);
    EXPECT_EQ (f.map().getLearnParameter(), f.parameter (5));
    click (f.page->getLearnCheckBox().getButton());
    EXPECT_FALSE (f.map().isLearnMode());

    f.pressAt ({10, MidiControlComponent::ListComponent::headerHeight + 5});
    ASSERT_TRUE (f.button ("Delete Assign").isEnabled());
    click (f.button ("Delete Assign"));
    pumpMessages (20);
    EXPECT_EQ (f.map().getParameterAt (10), nullptr);
    EXPECT_EQ (f.list().getNumRows(), 2);
    EXPECT_FALSE (f.button ("Delete Assign").isEnabled());

    // "Clear All" asks; only the first button clears.
    click (f.button ("Clear All"));
    auto* question = f.page->getConfirmation();
    ASSERT_NE (question, nullptr);
    EXPECT_TRUE (question->isShown());
    EXPECT_EQ (question->getTitle(), "Pulsaret");
    EXPECT_EQ (question->getMessage(), "Do you really want to clear all assignations?");
    snapshot (f.editor, "midi-clear-all-question.png");
    click (*question->getButton (1));
    EXPECT_EQ (f.map().getNumAssigned(), 2);
    click (f.button ("Clear All"));
    click (f.page->getConfirmation()->getCloseButton());
    EXPECT_EQ (f.map().getNumAssigned(), 2);
    click (f.button ("Clear All"));
    click (*f.page->getConfirmation()->getButton (0));
    pumpMessages (20);
    EXPECT_EQ (f.map().getNumAssigned(), 0);
    EXPECT_EQ (f.list().getNumRows(), 0);
    EXPECT_FALSE (f.button ("Clear All").isEnabled());
}

TEST (MidiControlPage, RowsFlowIntoColumnsAndPressesPickTheRowUnderThePointer)
{
    // Room for 10 rows a column: 30 rows fill three columns, 25 leave the third half empty.
    PageFixture f (400, 400);
    auto& list = f.list();
    f.page->setSize (400, 400 - list.getHeight() + 20 + 10 * 19 + 13);
    f.assignFirst (25);
    ASSERT_EQ (list.getRowsPerColumn(), 10) << list.getHeight();
    ASSERT_EQ (list.getNumRows(), 25);
    const int w = list.getColumnWidth();
    const int top = MidiControlComponent::ListComponent::headerHeight;
    ASSERT_GT (3 * w, list.getWidth()); // the third column lies beyond the view

    f.pressAt ({w + 5, top + 3 * 19 + 2});
    EXPECT_EQ (list.getSelectedRow(), 13);

    // Scrolled by 100 pixels, a pointer left of the third column's place on screen is
    // over the third column: row 24 is its fifth row.
    const int inThird = 2 * w + 5 - 100;
    list.setScrollOffset (100);
    ASSERT_EQ (list.getScrollOffset(), 100);
    ASSERT_LT (inThird, 2 * w);
    f.pressAt ({inThird, top + 4 * 19 + 2});
    EXPECT_EQ (list.getSelectedRow(), 24);

    // Below the last row of the half-filled column, or on the header: no row.
    f.pressAt ({inThird, top + 7 * 19 + 2});
    EXPECT_EQ (list.getSelectedRow(), -1);
    EXPECT_FALSE (f.button ("Delete Assign").isEnabled());
    f.pressAt ({10, 5});
    EXPECT_EQ (list.getSelectedRow(), -1);
    f.pressAt ({inThird, top + 10 * 19 + 2}); // past the rows of any column
    EXPECT_EQ (list.getSelectedRow(), -1);

    // Selecting a row scrolls its column into view.
    list.setScrollOffset (0);
    list.selectRow (24, false);
    EXPECT_GE (list.getScrollOffset(), 3 * w - list.getWidth());

    list.setScrollOffset (0);
    snapshot (f.editor, "midi-page.png");
}

TEST (MidiControlPage, MapFilesAndTheDefaultMap)
{
    PageFixture f;
    f.assignFirst (3);
    auto& dialogs = *f.dialogs;
    const auto folder = f.folder;

    dialogs.answers = {folder.getChildFile ("Map v2"), folder.getChildFile ("map.txt")};
    click (f.button ("Save Map"));
    click (f.button ("Save Map"));
    EXPECT_EQ (dialogs.titles[0], "Save Midi Control file as");
    EXPECT_EQ (dialogs.wildcards[0], "*.PXccmap");
    EXPECT_TRUE (folder.getChildFile ("Map v2.PXccmap").existsAsFile());
    EXPECT_TRUE (folder.getChildFile ("map.txt.PXccmap").existsAsFile());

    // It loads back into a fresh instance the same.
    PulsaretTestHost fresh;
    ASSERT_TRUE (fresh.plugin->getMidiControl().loadMapFile (folder.getChildFile ("Map v2.PXccmap")));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ (fresh.plugin->getMidiControl().getParameterAt (i)->getUid(), i);

    // A damaged map changes nothing and says so; a good one replaces the map.
    const auto damaged = folder.getChildFile ("Damaged.PXccmap");
    damaged.replaceWithText ("<MidiControlMap application=\"Pulsaret\"><Ctrl");
    dialogs.answers = {damaged};
    click (f.button ("Load Map"));
    EXPECT_EQ (dialogs.titles.strings.getLast(), "Open Midi Control file");
    EXPECT_EQ (dialogs.wildcards.strings.getLast(), f.plugin().getMidiMapFilePatterns());
    EXPECT_EQ (dialogs.initialFiles.getLast(), juce::File());
    ASSERT_NE (f.page->getDocumentChooser().getNotice(), nullptr);
    EXPECT_EQ (f.page->getDocumentChooser().getNotice()->getMessage(), "\"Damaged.PXccmap\" could not be loaded.");
    EXPECT_EQ (f.map().getNumAssigned(), 3);

    f.map().clearAll();
    dialogs.answers = {folder.getChildFile ("map.txt.PXccmap")};
    click (f.button ("Load Map"));
    pumpMessages (20);
    EXPECT_EQ (f.map().getNumAssigned(), 3);
    EXPECT_EQ (f.list().getNumRows(), 3);

    // The "Default map" box sets the start-up choice and its file.
    auto& box = f.page->getDefaultMapCheckBox();
    EXPECT_EQ (box.getCheckBox().getText(), "Default map");
    EXPECT_FALSE (box.isTicked());
    click (box.getCheckBox().getButton());
    EXPECT_TRUE (f.map().getUseUserMap());
    box.getPathComponent().setPath (folder.getChildFile ("Map v2.PXccmap").getFullPathName(), true);
    EXPECT_EQ (f.map().getUserMapFile(), folder.getChildFile ("Map v2.PXccmap"));
    click (box.getCheckBox().getButton());
    EXPECT_FALSE (f.map().getUseUserMap());
}
