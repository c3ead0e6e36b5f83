#include "gui/controls/ColumnBrowser.h"
#include "gui/DefaultLookAndFeel.h"

ColumnBrowser::ColumnBrowser()
{
    setScrollBarsShown (false, true);
    setViewedComponent (&content, false);
    lookAndFeelChanged();
}

ColumnBrowser::~ColumnBrowser()
{
    setViewedComponent (nullptr, false);
    columns.clear();
    parkedColumn.reset();
    retiredColumns.clear();
}

void ColumnBrowser::browserUpdated()
{
}

void ColumnBrowser::adopt (Column& column)
{
    column.setLookAndFeel (&getLookAndFeel());
    column.setSize (column.getColumnWidth(), getContentHeight());
    column.setVisible (true);
    content.addChildComponent (column);
}

void ColumnBrowser::removeLastColumn()
{
    std::unique_ptr<Column> removed (columns.removeAndReturn (columns.size() - 1));
    content.removeChildComponent (removed.get());

    // A column whose row is being dragged must outlive the drag.
    if (dragSource != nullptr && removed->isParentOf (dragSource))
        parkedColumn = std::move (removed);
    else if (removed.get() == busyColumn)
        retiredColumns.add (removed.release());
}

void ColumnBrowser::beginColumnCallback (Column* column) noexcept
{
    busyColumn = column;
}

void ColumnBrowser::endColumnCallback (Column* previous) noexcept
{
    busyColumn = previous;

    if (busyColumn == nullptr)
        retiredColumns.clear();
}

void ColumnBrowser::openColumn (Column* newColumn)
{
    if (newColumn == nullptr)
        return;

    std::unique_ptr<Column> owned (newColumn);
    int removedWidth = -1;

    while (!columns.isEmpty() && !owned->isChildOf (columns.getLast()))
    {
        removedWidth = columns.getLast()->getWidth();
        removeLastColumn();
    }

    const int appendedIndex = columns.size();
    auto* column = columns.add (owned.release());
    adopt (*column);

    // Re-create missing ancestors; the count bounds a model whose parents never end.
    int p = appendedIndex;

    for (int guard = 0; guard < 256; ++guard)
    {
        auto* current = columns[p];

        if (!(p == 0 || !current->isParentColumn (columns[p - 1])))
            break;

        auto* parent = current->createParentColumn();

        if (parent == nullptr)
            break;

        columns.insert (p, parent);
        adopt (*parent);
    }

    if (removedWidth >= 0)
        if (auto* c = columns[appendedIndex])
            c->setSize (juce::jmax (minimumColumnWidth, removedWidth), c->getHeight());

    linkColumns();
    layoutColumns();

    for (auto* c : columns)
        c->refresh();

    browserUpdated();
}

void ColumnBrowser::linkColumns()
{
    for (int i = 0; i < columns.size(); ++i)
        columns[i]->setNeighbours (columns[i - 1], columns[i + 1], i == columns.size() - 1);
}

void ColumnBrowser::refresh()
{
    for (auto* c : columns)
        c->refresh();

    browserUpdated();
}

int ColumnBrowser::getContentHeight()
{
    return getHorizontalScrollBar().isVisible() ? juce::jmax (0, getMaximumVisibleHeight() - 4) : getHeight();
}

void ColumnBrowser::layoutColumns()
{
    const int height = getContentHeight();
    int x = 0;

    for (auto* c : columns)
    {
        c->setBounds (x, 0, c->getWidth(), height);
        x += c->getWidth();
    }

    content.setSize (x, height);

    // Showing or hiding the scrollbar changes the height the columns may take.
    if (getContentHeight() != height)
    {
        for (auto* c : columns)
            c->setSize (c->getWidth(), getContentHeight());

        content.setSize (x, getContentHeight());
    }

    repaint();
}

void ColumnBrowser::resized()
{
    juce::Viewport::resized();
    layoutColumns();
}

void ColumnBrowser::visibleAreaChanged (const juce::Rectangle<int>&)
{
    repaint();
}

void ColumnBrowser::paint (juce::Graphics& g)
{
    g.fillAll (findColour (backgroundColourId));

    const int contentRight = content.getWidth() - getViewPositionX();

    if (contentRight < getWidth())
    {
        const auto area = juce::Rectangle<int> (contentRight, 0, getWidth() - contentRight, content.getHeight()).toFloat();
        g.setColour (findColour (columnColourId));
        DefaultLookAndFeel::fillRoundedRectangle (g, area, 6.0f);
        g.setColour (findColour (outlineColourId));
        DefaultLookAndFeel::drawRoundedOutline (g, area, 6.0f, 1.0f);
    }
}

void ColumnBrowser::parentHierarchyChanged()
{
    if (lookAndFeelWatch.changed (*this))
        sendLookAndFeelChange();
}

void ColumnBrowser::lookAndFeelChanged()
{
    lookAndFeelWatch.changed (*this);
    juce::Viewport::lookAndFeelChanged();

    for (auto* c : columns)
        if (&c->getLookAndFeel() != &getLookAndFeel())
            c->setLookAndFeel (&getLookAndFeel());

    resized();
}

void ColumnBrowser::dragOperationStarted (const juce::DragAndDropTarget::SourceDetails& details)
{
    dragSource = details.sourceComponent.get();
}

void ColumnBrowser::dragOperationEnded (const juce::DragAndDropTarget::SourceDetails&)
{
    dragSource = nullptr;
}

//==============================================================================
ColumnBrowser::Column::Column (ColumnBrowser& b)
    : browser (b)
{
}

ColumnBrowser::Column::~Column() = default;

ColumnBrowser::Column* ColumnBrowser::Column::createParentColumn()
{
    return nullptr;
}
bool ColumnBrowser::Column::isResizable()
{
    return true;
}
int ColumnBrowser::Column::getColumnWidth()
{
    return 200;
}
void ColumnBrowser::Column::refresh() {}
int ColumnBrowser::Column::getNumItems()
{
    return 0;
}
juce::String ColumnBrowser::Column::getItemName (int)
{
    return {};
}
juce::Colour ColumnBrowser::Column::getItemColour (int, bool)
{
    return {};
}
juce::Image ColumnBrowser::Column::getItemImage (int, bool)
{
    return {};
}
bool ColumnBrowser::Column::hasChildItems (int)
{
    return false;
}
bool ColumnBrowser::Column::canDragItem (int)
{
    return true;
}
bool ColumnBrowser::Column::canRenameItem (int)
{
    return true;
}
ColumnBrowser::Column* ColumnBrowser::Column::createChildColumn (int)
{
    return nullptr;
}
ColumnBrowser::Column* ColumnBrowser::Column::createBackgroundColumn()
{
    return nullptr;
}
void ColumnBrowser::Column::itemSelected (int) {}
void ColumnBrowser::Column::renameItem (int, const juce::String&) {}
void ColumnBrowser::Column::backgroundClicked() {}
bool ColumnBrowser::Column::acceptsDropOnColumn (Column*)
{
    return true;
}
bool ColumnBrowser::Column::acceptsDropOnto (Column*, int)
{
    return true;
}
bool ColumnBrowser::Column::acceptsDropBefore (Column*, int)
{
    return true;
}
bool ColumnBrowser::Column::acceptsDropAfter (Column*, int)
{
    return true;
}
void ColumnBrowser::Column::itemDroppedOnColumn (Column*) {}
void ColumnBrowser::Column::itemDroppedOnto (Column*, int) {}
void ColumnBrowser::Column::itemDroppedBefore (Column*, int) {}
void ColumnBrowser::Column::itemDroppedAfter (Column*, int) {}

void ColumnBrowser::Column::setNeighbours (Column* left, Column* right, bool last)
{
    isLast = last;

    if (left != leftColumn || right != rightColumn)
    {
        leftColumn = left;
        rightColumn = right;
        resized();
        repaint();
    }
}

int ColumnBrowser::Column::getInnerWidth()
{
    return rightColumn != nullptr || isResizable() ? getWidth() - 7 : getWidth();
}

void ColumnBrowser::Column::paint (juce::Graphics& g)
{
    const auto body = juce::Rectangle<int> (0, 0, getInnerWidth(), getHeight()).toFloat();
    g.setColour (findColour (columnColourId));
    DefaultLookAndFeel::fillRoundedRectangle (g, body, 6.0f);
    g.setColour (findColour (outlineColourId));
    DefaultLookAndFeel::drawRoundedOutline (g, body, 6.0f, 1.0f);

    if (isResizable())
    {
        const float top = (float) ((getHeight() - 13) / 2);

        for (int x : {getWidth() - 6, getWidth() - 4, getWidth() - 2})
            g.fillRect ((float) x, top, 1.0f, 13.0f);
    }
}

void ColumnBrowser::Column::mouseDown (const juce::MouseEvent& e)
{
    if (isResizable() && e.x >= getInnerWidth())
    {
        resizing = true;
        widthAtDragStart = getWidth();
    }
}

void ColumnBrowser::Column::mouseDrag (const juce::MouseEvent& e)
{
    if (!resizing)
        return;

    setSize (juce::jmax (minimumColumnWidth, widthAtDragStart + e.getDistanceFromDragStartX()), getHeight());
    browser.layoutColumns();
}

void ColumnBrowser::Column::mouseUp (const juce::MouseEvent&)
{
    resizing = false;
}
