#include "gui/controls/ColumnBrowserListColumn.h"
#include "ControlsTestSupport.h"

using namespace controls_test;

namespace
{
struct Node
{
    juce::String name;
    Node* parent = nullptr;
    juce::OwnedArray<Node> children;

    Node& add (const juce::String& childName)
    {
        auto* child = children.add (new Node());
        child->name = childName;
        child->parent = this;
        return *child;
    }
};

struct DropLog
{
    juce::StringArray events;
};

/** Shows the children of a node; a node with children opens a column. */
struct NodeColumn : public ColumnBrowser::ListColumn
{
    NodeColumn (ColumnBrowser& b, Node& n, DropLog* l = nullptr)
        : ListColumn (b)
        , node (n)
        , log (l)
    {
    }

    bool hasParentColumn() override { return node.parent != nullptr; }
    bool isChildOf (Column* c) override
    {
        auto* other = dynamic_cast<NodeColumn*> (c);
        return other != nullptr && &other->node == node.parent;
    }
    bool isParentColumn (Column* c) override { return isChildOf (c); }
    Column* createParentColumn() override { return node.parent != nullptr ? make (*node.parent) : nullptr; }
    int getNumItems() override { return node.children.size(); }
    juce::String getItemName (int i) override { return node.children[i]->name; }
    bool hasChildItems (int i) override { return node.children[i]->children.size() > 0; }
    bool canRenameItem (int i) override { return i != 0; }
    Column* createChildColumn (int i) override { return hasChildItems (i) ? make (*node.children[i]) : nullptr; }
    Column* createBackgroundColumn() override { return background != nullptr ? make (*background) : nullptr; }
    void itemSelected (int i) override { note ("selected " + juce::String (i)); }
    void renameItem (int i, const juce::String& name) override { node.children[i]->name = name; }
    void backgroundClicked() override { note ("background"); }
    void itemDroppedOnColumn (Column*) override { note ("column"); }
    void itemDroppedOnto (Column*, int i) override { note ("onto " + juce::String (i)); }
    void itemDroppedBefore (Column*, int i) override { note ("before " + juce::String (i)); }
    void itemDroppedAfter (Column*, int i) override { note ("after " + juce::String (i)); }

    virtual Column* make (Node& n) { return new NodeColumn (getBrowser(), n, log); }
    void note (const juce::String& s)
    {
        if (log != nullptr)
            log->events.add (node.name + ": " + s);
    }

    Node& node;
    DropLog* log;
    Node* background = nullptr;
};

/** A preset column: it takes only preset rows, never a group dragged onto it. */
struct PresetColumn : public NodeColumn
{
    using NodeColumn::NodeColumn;
    static bool isPreset (Column* source) { return dynamic_cast<PresetColumn*> (source) != nullptr; }
    bool acceptsDropOnColumn (Column* s) override { return isPreset (s); }
    bool acceptsDropOnto (Column*, int) override { return false; }
    bool acceptsDropBefore (Column* s, int) override { return isPreset (s); }
    bool acceptsDropAfter (Column* s, int) override { return isPreset (s); }
};

/** Makes preset columns for nodes whose children are leaves. */
struct GroupColumn : public NodeColumn
{
    using NodeColumn::NodeColumn;
    Column* make (Node& n) override
    {
        const bool leaves = n.children.isEmpty() || n.children[0]->children.isEmpty();
        return leaves ? static_cast<Column*> (new PresetColumn (getBrowser(), n, log)) : new GroupColumn (getBrowser(), n, log);
    }
};

struct Tree
{
    Node root;
    Tree()
    {
        root.name = "root";
        for (auto g : {"Kits", "Live", "Empty"})
        {
            auto& group = root.add (g);
            if (juce::String (g) != "Empty")
                for (int i = 0; i < 6; ++i)
                    group.add (juce::String (g) + " " + juce::String (i + 1));
        }
    }
};

juce::DragAndDropTarget::SourceDetails dragFrom (juce::Component& source, juce::Point<int> where,
                                                 const juce::String& description = "ListColumn")
{
    return {description, &source, where};
}

juce::Point<int> rowPoint (ColumnBrowser::ListColumn& column, int row, int offset)
{
    return column.getList().getPosition() + juce::Point<int> (20, row * 20 + offset);
}

juce::MouseEvent dragEvent (juce::Component& c, juce::Point<int> down, juce::Point<int> now)
{
    auto source = juce::Desktop::getInstance().getMainMouseSource();
    const auto t = juce::Time::getCurrentTime();
    return juce::MouseEvent (source, now.toFloat(), juce::ModifierKeys(), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, &c, &c, t,
                             down.toFloat(), t, 1, true);
}
} // namespace

TEST (ColumnBrowser, OpeningReplacingAndResizingColumns)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf);
    ColumnBrowser browser;
    editor.addAndMakeVisible (browser);
    browser.setBounds (0, 0, 600, 300);
    Tree tree;
    DropLog log;

    browser.openColumn (nullptr);
    EXPECT_EQ (browser.getNumColumns(), 0);

    browser.openColumn (new GroupColumn (browser, tree.root, &log));
    ASSERT_EQ (browser.getNumColumns(), 1);
    auto* groups = dynamic_cast<NodeColumn*> (browser.getColumn (0));
    EXPECT_EQ (groups->getBounds(), juce::Rectangle<int> (0, 0, 200, 300));
    EXPECT_TRUE (groups->isLastColumn());
    EXPECT_EQ (&groups->getLookAndFeel(), &laf);

    groups->selectItem (0);
    ASSERT_EQ (browser.getNumColumns(), 2);
    EXPECT_EQ (log.events, juce::StringArray ({"root: selected 0"}));
    auto* presets = browser.getColumn (1);
    EXPECT_EQ (presets->getX(), 200);
    EXPECT_FALSE (groups->isLastColumn());
    EXPECT_EQ (groups->getRightColumn(), presets);
    EXPECT_EQ (presets->getLeftColumn(), groups);
    EXPECT_EQ (browser.getContent().getWidth(), 400);

    // The grip: a press right of the inner width resizes, never below 100 pixels.
    EXPECT_EQ (presets->getInnerWidth(), 193);
    presets->mouseDown (mouseAt (*presets, {195, 50}));
    EXPECT_TRUE (presets->isResizing());
    presets->mouseDrag (dragEvent (*presets, {195, 50}, {135, 50}));
    EXPECT_EQ (presets->getWidth(), 140);
    presets->mouseDrag (dragEvent (*presets, {195, 50}, {5, 50}));
    EXPECT_EQ (presets->getWidth(), 100);
    presets->mouseUp (mouseAt (*presets, {5, 50}));
    EXPECT_FALSE (presets->isResizing());
    presets->mouseDown (mouseAt (*presets, {20, 50}));
    EXPECT_FALSE (presets->isResizing());

    presets->setSize (160, presets->getHeight());
    browser.layoutColumns();

    // Another group replaces the preset column and keeps its width.
    groups->selectItem (1);
    ASSERT_EQ (browser.getNumColumns(), 2);
    EXPECT_EQ (&dynamic_cast<NodeColumn*> (browser.getColumn (1))->node, tree.root.children[1]);
    EXPECT_EQ (browser.getColumn (1)->getWidth(), 160);

    browser.getColumn (1)->setSize (60, 300);
    groups->selectItem (0);
    EXPECT_EQ (browser.getColumn (1)->getWidth(), 100);

    // A deep column opened alone re-creates its ancestors to the left.
    ColumnBrowser other;
    editor.addAndMakeVisible (other);
    other.setBounds (0, 0, 600, 300);
    Node deep;
    deep.name = "deep";
    auto& a = deep.add ("a");
    auto& b = a.add ("b");
    b.add ("c");
    other.openColumn (new NodeColumn (other, b));
    ASSERT_EQ (other.getNumColumns(), 3);
    EXPECT_EQ (&dynamic_cast<NodeColumn*> (other.getColumn (0))->node, &deep);
    EXPECT_EQ (&dynamic_cast<NodeColumn*> (other.getColumn (1))->node, &a);
    EXPECT_EQ (&dynamic_cast<NodeColumn*> (other.getColumn (2))->node, &b);
    EXPECT_EQ (other.getColumn (2)->getX(), 400);
}

TEST (ColumnBrowser, DropPositionsAndRefusals)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf);
    ColumnBrowser browser;
    editor.addAndMakeVisible (browser);
    browser.setBounds (0, 0, 600, 300);
    Tree tree;
    DropLog log;
    browser.openColumn (new GroupColumn (browser, tree.root, &log));
    auto* groups = dynamic_cast<GroupColumn*> (browser.getColumn (0));
    groups->selectItem (0);
    auto* presets = dynamic_cast<PresetColumn*> (browser.getColumn (1));
    ASSERT_NE (presets, nullptr);

    // Groups accept everything: the top 5 pixels are before, the bottom 5 after.
    auto fromPresets = dragFrom (presets->getList(), {});
    // A real drag starts this way; the source column then survives being replaced.
    browser.dragOperationStarted (fromPresets);
    ASSERT_TRUE (groups->isInterestedInDragSource (fromPresets));
    fromPresets.localPosition = rowPoint (*groups, 1, 2);
    groups->itemDragMove (fromPresets);
    EXPECT_EQ (groups->getDropMode(), ColumnBrowser::ListColumn::dropBeforeItem);
    EXPECT_EQ (groups->getDropRow(), 1);
    fromPresets.localPosition = rowPoint (*groups, 1, 15);
    groups->itemDragMove (fromPresets);
    EXPECT_EQ (groups->getDropMode(), ColumnBrowser::ListColumn::dropAfterItem);
    fromPresets.localPosition = rowPoint (*groups, 1, 10);
    groups->itemDragMove (fromPresets);
    EXPECT_EQ (groups->getDropMode(), ColumnBrowser::ListColumn::dropOntoItem);
    // Onto an item selects it (which opens its column).
    EXPECT_EQ (groups->getList().getSelectedRow(), 1);
    EXPECT_EQ (&dynamic_cast<NodeColumn*> (browser.getColumn (1))->node, tree.root.children[1]);

    // Below the last row there is no item: the drop is on the column.
    fromPresets.localPosition = rowPoint (*groups, 5, 10);
    groups->itemDragMove (fromPresets);
    EXPECT_EQ (groups->getDropMode(), ColumnBrowser::ListColumn::dropOnColumn);
    EXPECT_EQ (groups->getDropRow(), -1);
    groups->itemDropped (fromPresets);
    fromPresets.localPosition = rowPoint (*groups, 2, 10);
    groups->itemDragMove (fromPresets);
    groups->itemDropped (fromPresets);
    EXPECT_EQ (groups->getDropMode(), ColumnBrowser::ListColumn::noDrop);
    EXPECT_TRUE (log.events.contains ("root: column"));
    EXPECT_TRUE (log.events.contains ("root: onto 2"));

    // A preset column refuses a group row anywhere.
    presets = dynamic_cast<PresetColumn*> (browser.getColumn (1));
    ASSERT_NE (presets, nullptr);
    log.events.clear();
    auto fromGroups = dragFrom (groups->getList(), rowPoint (*presets, 1, 10));
    ASSERT_TRUE (presets->isInterestedInDragSource (fromGroups));
    presets->itemDragMove (fromGroups);
    EXPECT_EQ (presets->getDropMode(), ColumnBrowser::ListColumn::noDrop);
    fromGroups.localPosition = rowPoint (*presets, 5, 10);
    presets->itemDragMove (fromGroups);
    EXPECT_EQ (presets->getDropMode(), ColumnBrowser::ListColumn::noDrop);
    presets->itemDropped (fromGroups);
    EXPECT_TRUE (log.events.isEmpty());

    // Preset rows on a preset column, which takes no drop onto an item: halves decide.
    auto fromSelf = dragFrom (presets->getList(), rowPoint (*presets, 2, 9));
    presets->itemDragMove (fromSelf);
    EXPECT_EQ (presets->getDropMode(), ColumnBrowser::ListColumn::dropBeforeItem);
    fromSelf.localPosition = rowPoint (*presets, 2, 10);
    presets->itemDragMove (fromSelf);
    EXPECT_EQ (presets->getDropMode(), ColumnBrowser::ListColumn::dropAfterItem);
    presets->itemDropped (fromSelf);
    EXPECT_EQ (log.events, juce::StringArray ({"Live: after 2"}));

    // Another browser's rows, or another description, are ignored.
    ColumnBrowser stranger;
    stranger.openColumn (new NodeColumn (stranger, tree.root));
    auto* strangeColumn = dynamic_cast<NodeColumn*> (stranger.getColumn (0));
    EXPECT_FALSE (groups->isInterestedInDragSource (dragFrom (strangeColumn->getList(), {})));
    EXPECT_FALSE (groups->isInterestedInDragSource (dragFrom (presets->getList(), {}, "Other")));
    EXPECT_FALSE (groups->isInterestedInDragSource (dragFrom (editor, {})));
}

TEST (ColumnBrowser, RenamingBackgroundAndDragSourceParking)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf);
    ColumnBrowser browser;
    editor.addAndMakeVisible (browser);
    browser.setBounds (0, 0, 600, 300);
    Tree tree;
    DropLog log;
    browser.openColumn (new GroupColumn (browser, tree.root, &log));
    auto* groups = dynamic_cast<GroupColumn*> (browser.getColumn (0));

    auto* item = groups->getItemComponent (1);
    ASSERT_NE (item, nullptr);
    EXPECT_EQ (item->getLabel().getText(), "Live");
    EXPECT_TRUE (item->getLabel().getFont().isBold());

    // Clicks on a row reach the list's row, not the name label.
    auto* hit = groups->getList().getComponentAt (juce::Point<int> (20, 30));
    ASSERT_NE (hit, nullptr);
    EXPECT_EQ (dynamic_cast<LabelWithModalTextEditor*> (hit), nullptr);
    EXPECT_EQ (dynamic_cast<ColumnBrowser::ListColumn::ItemComponent*> (hit), nullptr);

    // Row 0 may not be renamed; row 1 may, and the committed name reaches the model.
    groups->getList().listBoxItemDoubleClicked (0, mouseAt (*groups, {10, 10}, 2));
    EXPECT_FALSE (groups->getItemComponent (0)->isBeingEdited());
    groups->getList().listBoxItemDoubleClicked (1, mouseAt (*groups, {10, 30}, 2));
    ASSERT_TRUE (item->isBeingEdited());
    auto* nameEditor = item->getLabel().getEditor();
    // Without a display nothing is on screen: the focus is handed over as the toolkit would.
    nameEditor->focusGained (juce::Component::focusChangedByMouseClick);
    nameEditor->setText ("Studio", false);
    nameEditor->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    pumpMessages (20);
    EXPECT_FALSE (item->isBeingEdited());
    EXPECT_EQ (tree.root.children[1]->name, "Studio");
    EXPECT_EQ (item->getLabel().getText(), "Studio");

    // A click on the list background opens the background column.
    groups->selectItem (0);
    ASSERT_EQ (browser.getNumColumns(), 2);
    auto* presets = dynamic_cast<NodeColumn*> (browser.getColumn (1));
    presets->background = tree.root.children[2];
    presets->getList().backgroundClicked (mouseAt (*presets, {10, 250}));
    EXPECT_TRUE (log.events.contains ("Kits: background"));
    EXPECT_EQ (&dynamic_cast<NodeColumn*> (browser.getColumn (1))->node, tree.root.children[2]);

    // The column a drag starts from outlives its replacement until the drag ends.
    groups->selectItem (1);
    juce::Component::SafePointer<juce::Component> source (browser.getColumn (1));
    browser.dragOperationStarted (dragFrom (dynamic_cast<NodeColumn*> (browser.getColumn (1))->getList(), {}));
    groups->selectItem (0);
    EXPECT_NE (source.getComponent(), nullptr);
    EXPECT_NE (browser.getColumn (1), source.getComponent());
    browser.dragOperationEnded (dragFrom (editor, {}));
    groups->selectItem (1);
    groups->selectItem (0);
    EXPECT_NE (source.getComponent(), nullptr); // parked until the next park or the end
}

TEST (ColumnBrowser, Snapshot)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf, 520, 200);
    ColumnBrowser browser;
    editor.addAndMakeVisible (browser);
    browser.setBounds (0, 0, 520, 200);
    Tree tree;
    browser.openColumn (new GroupColumn (browser, tree.root));
    auto* groups = dynamic_cast<GroupColumn*> (browser.getColumn (0));
    groups->selectItem (1);
    auto* presets = dynamic_cast<NodeColumn*> (browser.getColumn (1));
    presets->selectItem (2);
    // Hovering a preset over the group without sub-groups: outlined and selected,
    // while the open preset column stays.
    groups->itemDragMove (dragFrom (presets->getList(), rowPoint (*groups, 2, 10)));
    EXPECT_EQ (browser.getColumn (1), presets);

    auto image = snapshot (editor, "column-browser.png");
    // The empty column right of the last one, and the browser background between.
    EXPECT_EQ (image.getPixelAt (480, 100), juce::Colour (0xffe3e3e3));
    EXPECT_EQ (image.getPixelAt (195, 20), juce::Colour (0xffc5c5c5));
    EXPECT_EQ (image.getPixelAt (196, 100), juce::Colours::white); // the grip
}
