#include "ControlsTestSupport.h"
#include "gui/controls/ComboBoxEx.h"

using namespace controls_test;

namespace
{
struct RecordingListener : public PopupMenuEx::Listener
{
    std::vector<std::pair<int, bool>> chosen;
    bool menuWasHidden = true;
    std::function<void()> onCall;

    void popupMenuItemSelected (PopupMenuEx* menu, int id, bool ticked) override
    {
        chosen.emplace_back (id, ticked);
        menuWasHidden = menuWasHidden && !menu->getComponent()->isShown();
        if (onCall)
            onCall();
    }
};

struct ComboListener : public ComboBoxEx::Listener
{
    int calls = 0;
    void comboBoxExChanged (ComboBoxEx*) override { ++calls; }
};

void move (PopupMenuEx::Window& w, int row)
{
    w.mouseMove (mouseAt (w, {10, 6 + 16 * row + 4}));
}
void click (PopupMenuEx::Window& w, int row)
{
    w.mouseDown (mouseAt (w, {10, 6 + 16 * row + 4}));
}

PopupMenuEx makeSubMenu()
{
    PopupMenuEx sub;
    sub.addItem (21, "Kick A");
    sub.addItem (22, "Kick B");
    return sub;
}
} // namespace

TEST (PopupMenuEx, ModelTickingFindingAndCopying)
{
    PopupMenuEx menu;
    menu.addItem (1, "One");
    menu.addSubMenu (2, "More", makeSubMenu());
    menu.addItem (21, "Shadowed");

    // Depth first: the sub-menu's 21 stands before the later top-level 21.
    EXPECT_EQ (menu.getItemText (21), "Kick A");
    EXPECT_EQ (menu.getItemText (99), "");
    EXPECT_EQ (menu.getItem (1)->subMenu->getLevel(), 1);
    EXPECT_EQ (menu.getItem (1)->subMenu->getItem (0)->owner, menu.getItem (1)->subMenu.get());
    EXPECT_TRUE (menu.getItem (1)->containsEnabled);
    EXPECT_FALSE (menu.getItem (1)->containsTicked);

    menu.setItemTicked (22, true, true);
    EXPECT_TRUE (menu.getItem (1)->containsTicked);
    EXPECT_TRUE (menu.findItem (22)->ticked);
    menu.setItemTicked (1, true, true);
    EXPECT_FALSE (menu.findItem (22)->ticked);
    EXPECT_FALSE (menu.getItem (1)->containsTicked);
    menu.setItemTicked (21, true, false);
    EXPECT_TRUE (menu.findItem (1)->ticked);
    EXPECT_TRUE (menu.getItem (2)->ticked);

    menu.setItemEnabled (21, false);
    menu.setItemEnabled (22, false);
    EXPECT_FALSE (menu.getItem (1)->containsEnabled);

    RecordingListener listener;
    menu.addListener (&listener);
    PopupMenuEx copy (menu);
    EXPECT_EQ (copy.getComponent(), nullptr);
    ASSERT_EQ (copy.getNumItems(), 3);
    EXPECT_NE (copy.getItem (1)->subMenu.get(), menu.getItem (1)->subMenu.get());
    EXPECT_EQ (copy.getItem (1)->subMenu->getItem (1)->owner, copy.getItem (1)->subMenu.get());
    EXPECT_TRUE (copy.getItem (1)->containsTicked);
    copy.itemChosen (5, false);
    EXPECT_TRUE (listener.chosen.empty());

    PopupMenuEx assigned;
    auto* ownComponent = assigned.getComponent();
    assigned = menu;
    EXPECT_EQ (assigned.getComponent(), ownComponent);
    EXPECT_EQ (assigned.getItemText (22), "Kick B");

    PopupMenuEx empty;
    empty.setItemTicked (3, true, true);
    EXPECT_EQ (empty.findItem (3), nullptr);
}

TEST (PopupMenuEx, ListenersLastAddedFirstAndShrinkingList)
{
    PopupMenuEx menu;
    RecordingListener a, b, c;
    std::vector<char> order;
    a.onCall = [&]
    { order.push_back ('a'); };
    b.onCall = [&]
    { order.push_back ('b'); };
    c.onCall = [&]
    { order.push_back ('c'); menu.removeListener (&c); menu.removeListener (&b); };
    menu.addListener (&a);
    menu.addListener (&b);
    menu.addListener (&b);
    menu.addListener (nullptr);
    menu.addListener (&c);

    menu.itemChosen (4, true);
    EXPECT_EQ (order, (std::vector<char>{'c', 'a'}));
    ASSERT_EQ (a.chosen.size(), 1u);
    EXPECT_EQ (a.chosen[0], std::make_pair (4, true));
}

TEST (PopupMenuEx, WindowsSizesHitRowsAndSubMenus)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf);
    juce::Component owner;
    editor.addAndMakeVisible (owner);

    PopupMenuEx menu;
    menu.addItem (1, "Load");
    menu.addSubMenu (2, "Banks", makeSubMenu());
    menu.addItem (3, "Disabled");
    menu.setItemEnabled (3, false);
    RecordingListener listener;
    menu.addListener (&listener);
    auto* popup = menu.getComponent();
    owner.addChildComponent (popup);

    popup->showAt (1, {30, 40}, nullptr);
    ASSERT_TRUE (popup->isShown());
    EXPECT_EQ (popup->getBounds(), editor.getLocalBounds());
    ASSERT_EQ (popup->getNumWindows(), 1);
    auto* root = popup->getWindow (0);
    const auto font = laf.getDefaultFont();
    const int widest = juce::roundToInt (juce::jmax (font.getStringWidthFloat ("Load"), font.getStringWidthFloat ("Banks"),
                                                     font.getStringWidthFloat ("Disabled")));
    EXPECT_EQ (root->getBounds(), juce::Rectangle<int> (30, 40, 12 + widest, 16 * 3 + 8));

    // Rows are hit from y = 6 on, the division rounding toward zero.
    EXPECT_EQ (root->getRowAt (0), 0);
    EXPECT_EQ (root->getRowAt (21), 0);
    EXPECT_EQ (root->getRowAt (22), 1);
    EXPECT_EQ (root->getRowAt (53), 2);
    EXPECT_EQ (root->getRowAt (54), -1);
    EXPECT_EQ (root->getRowAt (-11), -1);

    // Resting on the sub-menu's row opens it after 100 ms beside the row.
    move (*root, 1);
    EXPECT_EQ (root->getHoveredItem(), menu.getItem (1));
    EXPECT_TRUE (popup->isSubMenuTimerRunning());
    pumpMessages (200);
    ASSERT_EQ (popup->getNumWindows(), 2);
    auto* sub = popup->getWindow (1);
    EXPECT_EQ (sub->getPosition(), juce::Point<int> (root->getRight() + 5, 40 + 16));
    EXPECT_EQ (&sub->getMenu(), menu.getItem (1)->subMenu.get());

    // A leaf of the root, left within 100 ms for the sub-menu's row: the sub-menu stays.
    move (*root, 0);
    EXPECT_TRUE (popup->isSubMenuTimerRunning());
    move (*root, 1);
    EXPECT_FALSE (popup->isSubMenuTimerRunning());
    pumpMessages (200);
    EXPECT_EQ (popup->getNumWindows(), 2);

    // Resting 100 ms on the leaf closes it.
    move (*root, 0);
    pumpMessages (200);
    EXPECT_EQ (popup->getNumWindows(), 1);

    // A click on the sub-menu's row opens it at once; a disabled leaf does nothing.
    click (*root, 1);
    EXPECT_EQ (popup->getNumWindows(), 2);
    click (*root, 2);
    EXPECT_TRUE (popup->isShown());
    EXPECT_TRUE (listener.chosen.empty());

    // A leaf of the sub-menu is chosen: hidden first, then the listener hears it.
    menu.setItemTicked (22, true, true);
    EXPECT_TRUE (menu.getItem (1)->containsTicked);
    click (*popup->getWindow (1), 1);
    EXPECT_FALSE (popup->isShown());
    EXPECT_EQ (popup->getNumWindows(), 0);
    ASSERT_EQ (listener.chosen.size(), 1u);
    EXPECT_EQ (listener.chosen[0], std::make_pair (22, true));
    EXPECT_TRUE (listener.menuWasHidden);

    // Every show starts from the root alone; a click outside closes with no choice.
    popup->showAt (1, {0, 0}, nullptr);
    EXPECT_EQ (popup->getNumWindows(), 1);
    popup->mouseDown (mouseAt (*popup, {500, 300}));
    EXPECT_FALSE (popup->isShown());
    EXPECT_EQ (listener.chosen.size(), 1u);

    PopupMenuEx empty;
    juce::Component emptyOwner;
    editor.addAndMakeVisible (emptyOwner);
    emptyOwner.addChildComponent (empty.getComponent());
    empty.getComponent()->show();
    ASSERT_EQ (empty.getComponent()->getNumWindows(), 1);
    EXPECT_EQ (empty.getComponent()->getWindow (0)->getWidth(), 12);
    EXPECT_EQ (empty.getComponent()->getWindow (0)->getHeight(), 8);
}

TEST (ComboBoxEx, TextSelectionAndListeners)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf);
    ComboBoxEx combo;
    editor.addAndMakeVisible (combo);
    combo.setBounds (20, 30, 120, 20);
    combo.getMenu().addItem (1, "Output 1");
    combo.getMenu().addItem (2, "Output 2");
    ComboListener listener;
    combo.addListener (&listener);
    combo.addListener (&listener);

    combo.updateText();
    EXPECT_EQ (combo.getText(), "---");
    EXPECT_FALSE (combo.isSelectedEnabled());

    combo.setSelectedId (2);
    combo.updateText();
    EXPECT_EQ (combo.getText(), "Output 2");
    EXPECT_TRUE (combo.isSelectedEnabled());
    EXPECT_TRUE (combo.getMenu().findItem (2)->ticked);

    // The list opens under the field's bottom-left corner.
    combo.mouseDown (mouseAt (combo, {5, 5}));
    auto* popup = combo.getMenu().getComponent();
    ASSERT_TRUE (popup->isShown());
    EXPECT_EQ (popup->getWindow (0)->getPosition(), juce::Point<int> (20, 50));

    click (*popup->getWindow (0), 1);
    EXPECT_EQ (listener.calls, 0);
    EXPECT_FALSE (popup->isShown());

    combo.mouseDown (mouseAt (combo, {5, 5}));
    click (*popup->getWindow (0), 0);
    EXPECT_EQ (listener.calls, 1);
    EXPECT_EQ (combo.getSelectedId(), 1);
    EXPECT_EQ (combo.getText(), "Output 1");
    EXPECT_TRUE (combo.getMenu().findItem (1)->ticked);
    EXPECT_FALSE (combo.getMenu().findItem (2)->ticked);

    combo.getMenu().setItemEnabled (1, false);
    combo.updateText();
    EXPECT_FALSE (combo.isSelectedEnabled());
}

TEST (PopupMenuEx, Snapshot)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf, 360, 220);
    ComboBoxEx combo;
    editor.addAndMakeVisible (combo);
    combo.setBounds (20, 20, 140, 20);
    auto& menu = combo.getMenu();
    menu.addItem (1, "Mono outputs");
    menu.addItem (2, "Stereo outputs");
    menu.addSubMenu (3, "Bank", makeSubMenu());
    menu.addItem (4, "Disabled entry");
    menu.setItemEnabled (4, false);
    combo.setSelectedId (22);
    combo.updateText();

    combo.mouseDown (mouseAt (combo, {5, 5}));
    auto* popup = menu.getComponent();
    click (*popup->getWindow (0), 2);
    move (*popup->getWindow (0), 2);
    move (*popup->getWindow (1), 1);

    auto image = snapshot (editor, "popup-menu.png");
    // The hovered row of the sub-menu is filled with the hover grey.
    auto* sub = popup->getWindow (1);
    EXPECT_EQ (image.getPixelAt (sub->getX() + 6, sub->getY() + 3 + 16 + 3), juce::Colour (0xffadadad));
    EXPECT_EQ (image.getPixelAt (sub->getX() + 6, sub->getY() + 3 + 3), juce::Colour (0xffe3e3e3));
}

TEST (PopupMenuEx, EveryWindowStaysInsideTheEditor)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf, 400, 300);
    juce::Component owner;
    editor.addAndMakeVisible (owner);

    PopupMenuEx menu;

    for (int i = 0; i < 8; ++i)
        menu.addItem (i, "Pattern bank " + juce::String (i + 1));

    menu.addSubMenu (9, "Kicks", makeSubMenu());
    auto* popup = menu.getComponent();
    owner.addChildComponent (popup);

    // Past the bottom right corner: shifted up and left, whole.
    popup->showAt (1, {390, 290}, nullptr);
    auto* root = popup->getWindow (0);
    EXPECT_EQ (root->getBounds().getBottomRight(), juce::Point<int> (400, 300));
    EXPECT_EQ (root->getHeight(), 16 * 9 + 8);

    // A sub-menu with no room on the right opens on the left of its parent window.
    click (*root, 8);
    ASSERT_EQ (popup->getNumWindows(), 2);
    auto* sub = popup->getWindow (1);
    EXPECT_EQ (sub->getRight(), root->getX() - 5);
    EXPECT_LE (sub->getBottom(), 300);
    popup->hide();

    // A menu that fits opens where asked.
    popup->showAt (1, {20, 10}, nullptr);
    EXPECT_EQ (popup->getWindow (0)->getPosition(), juce::Point<int> (20, 10));
    popup->hide();

    // A drop-down near the bottom opens above its field, every item showing.
    ComboBoxEx combo;
    for (int i = 0; i < 8; ++i)
        combo.getMenu().addItem (i + 1, "Output " + juce::String (i + 1));
    combo.setBounds (50, 270, 120, 20);
    editor.addAndMakeVisible (combo);
    combo.mouseDown (mouseAt (combo, {5, 5}));
    auto* list = combo.getMenu().getComponent()->getWindow (0);
    ASSERT_NE (list, nullptr);
    EXPECT_EQ (list->getBounds().getBottomLeft(), juce::Point<int> (50, 270));
    EXPECT_EQ (list->getHeight(), 16 * 8 + 8);
    combo.getMenu().getComponent()->hide();

    // Near the top it drops down below the field as before.
    combo.setTopLeftPosition (50, 20);
    combo.mouseDown (mouseAt (combo, {5, 5}));
    EXPECT_EQ (combo.getMenu().getComponent()->getWindow (0)->getPosition(), juce::Point<int> (50, 40));
}
