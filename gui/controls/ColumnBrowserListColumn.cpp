#include "gui/DefaultLookAndFeel.h"
#include "gui/EmbeddedFonts.h"
#include "gui/controls/ColumnBrowser.h"

namespace
{
const juce::String dragDescription ("ListColumn");
constexpr int listInset = 3;
} // namespace

//==============================================================================
ColumnBrowser::ListColumn::ItemComponent::ItemComponent (ListColumn& c)
    : column (c)
{
    // The list's row component takes the clicks, double-clicks and drags; only an
    // open name editor takes the mouse itself.
    setInterceptsMouseClicks (false, true);
    label.setName ("ItemName");
    label.setFont (EmbeddedFonts::tahoma (13.0f));
    label.setInterceptsMouseClicks (false, true);
    label.addListener (this);
    addAndMakeVisible (label);
}

ColumnBrowser::ListColumn::ItemComponent::~ItemComponent()
{
    if (auto* editor = label.getEditor())
        editor->removeListener (this);
}

bool ColumnBrowser::ListColumn::ItemComponent::isBeingEdited() const noexcept
{
    auto* editor = label.getEditor();
    return editor != nullptr && editor->isVisible();
}

void ColumnBrowser::ListColumn::ItemComponent::update (int newRow, bool isSelected)
{
    row = newRow;
    const bool inRange = juce::isPositiveAndBelow (row, column.getNumItems());

    if (inRange && !isBeingEdited())
        label.setText (column.getItemName (row));
    else if (!inRange)
        label.setText ({});

    hasChildren = inRange && column.hasChildItems (row);
    label.setFont (EmbeddedFonts::tahoma (13.0f, hasChildren ? juce::Font::bold : juce::Font::plain));

    const auto oldColour = selected ? selectedColour : normalColour;
    normalColour = inRange ? column.getItemColour (row, false) : juce::Colour();
    selectedColour = inRange ? column.getItemColour (row, true) : juce::Colour();
    selected = isSelected;

    if ((selected ? selectedColour : normalColour) != oldColour)
        repaint();

    normalImage = inRange ? column.getItemImage (row, false) : juce::Image();
    selectedImage = inRange ? column.getItemImage (row, true) : juce::Image();
    resized();
    updateLabelColour();
    repaint();
}

void ColumnBrowser::ListColumn::ItemComponent::updateLabelColour()
{
    auto colour = selected ? selectedColour : normalColour;

    if (colour.isTransparent())
        colour = selected ? juce::Colours::white : juce::Colours::black;

    label.setColour (LabelWithModalTextEditor::textColourId, colour);
}

void ColumnBrowser::ListColumn::ItemComponent::showEditor()
{
    label.showEditor();
}

void ColumnBrowser::ListColumn::ItemComponent::textCommitted (ModalTextEditor* source)
{
    if (!juce::isPositiveAndBelow (row, column.getNumItems()))
        return;

    column.renameItem (row, source->getText());

    // Show what the model kept: the new name, or the old one when it refused.
    if (juce::isPositiveAndBelow (row, column.getNumItems()))
        label.setText (column.getItemName (row));
}

void ColumnBrowser::ListColumn::ItemComponent::resized()
{
    // Room on the left for the selection's rounding and the row picture, on the
    // right for the child arrow.
    const auto& image = selected ? selectedImage : normalImage;
    const int pictureWidth = image.isValid() ? image.getWidth() + 4 : 0;
    label.setBounds (getLocalBounds().withTrimmedLeft (6 + pictureWidth).withTrimmedRight (20));
}

void ColumnBrowser::ListColumn::ItemComponent::paint (juce::Graphics& g)
{
    if (selected)
    {
        g.setColour (column.findColour (selectedItemColourId));
        DefaultLookAndFeel::fillRoundedRectangle (g, getLocalBounds().toFloat(), 4.0f);
    }

    if (const auto& image = selected ? selectedImage : normalImage; image.isValid())
        g.drawImageAt (image, 6, (getHeight() - image.getHeight()) / 2);

    if (hasChildren)
    {
        const float x = (float) getWidth() - 12.0f;
        const float y = ((float) getHeight() - 7.0f) * 0.5f;
        juce::Path arrow;
        arrow.addTriangle (x, y + 0.5f, x + 7.0f, y + 3.5f, x, y + 6.5f);
        g.setColour (juce::Colours::black.withAlpha (0.75f));
        g.fillPath (arrow);
    }
}

void ColumnBrowser::ListColumn::ItemComponent::paintOverChildren (juce::Graphics& g)
{
    if (column.getDropMode() == dropOntoItem && column.getDropRow() == row)
    {
        g.setColour (juce::Colours::black);
        DefaultLookAndFeel::drawRoundedOutline (g, getLocalBounds().toFloat(), 4.0f, 2.0f);
    }
}

//==============================================================================
ColumnBrowser::ListColumn::List::List (ListColumn& c)
    : juce::ListBox ("List", nullptr)
    , column (c)
{
    setModel (this);
    setRowHeight (ListColumn::rowHeight);
    setOutlineThickness (0);
}

ColumnBrowser::ListColumn::List::~List()
{
    setModel (nullptr);
}

int ColumnBrowser::ListColumn::List::getNumRows()
{
    return juce::jmax (0, column.getNumItems());
}

void ColumnBrowser::ListColumn::List::paintListBoxItem (int, juce::Graphics&, int, int, bool)
{
}

juce::Component* ColumnBrowser::ListColumn::List::refreshComponentForRow (int row, bool selected, juce::Component* existing)
{
    auto* item = dynamic_cast<ItemComponent*> (existing);

    if (item == nullptr)
    {
        delete existing;
        item = new ItemComponent (column);
    }

    item->update (row, selected);
    return item;
}

void ColumnBrowser::ListColumn::List::selectedRowsChanged (int lastRowSelected)
{
    // Nothing selected any more: no column to open, but the owner may show the change.
    if (!juce::isPositiveAndBelow (lastRowSelected, column.getNumItems()))
    {
        column.getBrowser().browserUpdated();
        return;
    }

    auto& browser = column.getBrowser();
    auto* previous = browser.getBusyColumn();
    browser.beginColumnCallback (&column);
    browser.openColumn (column.createChildColumn (lastRowSelected));
    column.itemSelected (lastRowSelected);
    browser.endColumnCallback (previous);
}

void ColumnBrowser::ListColumn::List::listBoxItemDoubleClicked (int row, const juce::MouseEvent&)
{
    if (juce::isPositiveAndBelow (row, column.getNumItems()) && column.canRenameItem (row))
        if (auto* item = column.getItemComponent (row))
            item->showEditor();
}

void ColumnBrowser::ListColumn::List::backgroundClicked (const juce::MouseEvent&)
{
    // The background column often replaces this very column; it stays alive until
    // the end of the call.
    auto& browser = column.getBrowser();
    auto* previous = browser.getBusyColumn();
    browser.beginColumnCallback (&column);
    browser.openColumn (column.createBackgroundColumn());
    column.backgroundClicked();
    column.refresh();
    browser.endColumnCallback (previous);
}

juce::var ColumnBrowser::ListColumn::List::getDragSourceDescription (const juce::SparseSet<int>& rows)
{
    if (rows.size() > 0 && juce::isPositiveAndBelow (rows[0], column.getNumItems()) && column.canDragItem (rows[0]))
        return dragDescription;

    return {};
}

//==============================================================================
ColumnBrowser::ListColumn::ListColumn (ColumnBrowser& b)
    : Column (b)
    , list (std::make_unique<List> (*this))
{
    addAndMakeVisible (*list);
    lookAndFeelChanged();
}

ColumnBrowser::ListColumn::~ListColumn()
{
    // Only the column under the pointer runs the auto-repeat; others leave it alone.
    if (dropMode != noDrop)
        juce::Desktop::getInstance().beginDragAutoRepeat (0);
}

void ColumnBrowser::ListColumn::selectItem (int index)
{
    list->selectRow (index);
    list->scrollToEnsureRowIsOnscreen (index);
}

ColumnBrowser::ListColumn::ItemComponent* ColumnBrowser::ListColumn::getItemComponent (int row) const
{
    return dynamic_cast<ItemComponent*> (list->getComponentForRowNumber (row));
}

void ColumnBrowser::ListColumn::refresh()
{
    list->updateContent();
    list->repaint();
    repaint();
}

void ColumnBrowser::ListColumn::lookAndFeelChanged()
{
    list->setColour (juce::ListBox::backgroundColourId, findColour (columnColourId));
    repaint();
}

void ColumnBrowser::ListColumn::resized()
{
    list->setBounds (juce::Rectangle<int> (0, 0, getInnerWidth(), getHeight()).reduced (listInset));
}

ColumnBrowser::Column* ColumnBrowser::ListColumn::getSourceColumn (const SourceDetails& details) const
{
    if (details.description.toString() != dragDescription)
        return nullptr;

    auto* sourceList = dynamic_cast<List*> (details.sourceComponent.get());

    if (sourceList == nullptr || &sourceList->getColumn().getBrowser() != &getBrowser())
        return nullptr;

    return &sourceList->getColumn();
}

bool ColumnBrowser::ListColumn::isInterestedInDragSource (const SourceDetails& details)
{
    return getSourceColumn (details) != nullptr;
}

void ColumnBrowser::ListColumn::itemDragEnter (const SourceDetails& details)
{
    itemDragMove (details);
    juce::Desktop::getInstance().beginDragAutoRepeat (25);
}

void ColumnBrowser::ListColumn::itemDragMove (const SourceDetails& details)
{
    auto* source = getSourceColumn (details);

    if (source == nullptr)
        return;

    const auto inList = details.localPosition - list->getPosition();
    int row = -1;
    int offset = 0;

    if (list->getLocalBounds().contains (inList))
    {
        const int scroll = list->getViewport() != nullptr ? list->getViewport()->getViewPositionY() : 0;
        const int y = inList.y + scroll;
        row = y / rowHeight;
        offset = y - row * rowHeight;

        // Below the last item is no item: that is a drop on the column.
        if (row >= getNumItems())
            row = -1;
    }

    int mode = noDrop;

    if (row >= 0)
    {
        if (acceptsDropOnto (source, row))
        {
            if (offset < dropEdge && acceptsDropBefore (source, row))
                mode = dropBeforeItem;
            else if (offset >= rowHeight - dropEdge && acceptsDropAfter (source, row))
                mode = dropAfterItem;
            else
                mode = dropOntoItem;
        }
        else if (offset < rowHeight / 2 && acceptsDropBefore (source, row))
            mode = dropBeforeItem;
        else if (acceptsDropAfter (source, row))
            mode = dropAfterItem;
        else if (acceptsDropOnColumn (source))
            mode = dropOnColumn;
    }
    else if (acceptsDropOnColumn (source))
    {
        mode = dropOnColumn;
    }

    if (mode != dropMode || row != dropRow)
    {
        dropMode = mode;
        dropRow = row;

        if (mode == dropOntoItem)
            selectItem (row);

        repaint();
        list->repaint();
    }

    if (auto* viewport = list->getViewport())
    {
        const auto inViewport = viewport->getLocalPoint (this, details.localPosition);
        viewport->autoScroll (inViewport.x, inViewport.y, rowHeight / 2, rowHeight);
    }
}

void ColumnBrowser::ListColumn::resetDrop()
{
    dropRow = -1;
    dropMode = noDrop;
    juce::Desktop::getInstance().beginDragAutoRepeat (0);
    repaint();
    list->repaint();
}

void ColumnBrowser::ListColumn::itemDragExit (const SourceDetails&)
{
    resetDrop();
}

void ColumnBrowser::ListColumn::itemDropped (const SourceDetails& details)
{
    auto* source = getSourceColumn (details);
    const int mode = dropMode;
    const int row = dropRow;
    resetDrop();

    if (source == nullptr)
        return;

    switch (mode)
    {
        case dropOnColumn:
            itemDroppedOnColumn (source);
            break;
        case dropOntoItem:
            itemDroppedOnto (source, row);
            break;
        case dropBeforeItem:
            itemDroppedBefore (source, row);
            break;
        case dropAfterItem:
            itemDroppedAfter (source, row);
            break;
        default:
            break;
    }
}

void ColumnBrowser::ListColumn::paintOverChildren (juce::Graphics& g)
{
    if (dropMode == noDrop || dropMode == dropOntoItem)
        return;

    g.setColour (juce::Colours::black);
    const auto listBounds = list->getBounds();

    if (dropMode == dropOnColumn)
    {
        DefaultLookAndFeel::drawRoundedOutline (g, listBounds.toFloat(), 4.0f, 2.0f);
        return;
    }

    const int scroll = list->getViewport() != nullptr ? list->getViewport()->getViewPositionY() : 0;
    const int edge = listBounds.getY() + (dropRow + (dropMode == dropAfterItem ? 1 : 0)) * rowHeight - scroll;
    g.fillRect (listBounds.getX() + 2, edge - 1, listBounds.getWidth() - 4, 2);
}
