#include "editor/MidiControlComponent.h"

#include "gui/EmbeddedFonts.h"
#include "gui/controls/ToolkitLookAndFeelMethods.h"

namespace
{
constexpr int gap = 5;
constexpr int cellPadding = 4;
const juce::Colour listColour (0xffe3e3e3), headerColour (0xffadadad), lineColour (0xff7c7c7c), selectedColour (0xff5b5b5b);

struct IconButton
{
    const char* tooltip;
    int icon;
};

// Delete Assign, Clear All, Load Map, Save Map.
const IconButton iconButtons[] = {{"Delete selected assignation", 4}, {"Clear all map", 12}, {"Open map", 15}, {"Save current map", 16}};
} // namespace

//==============================================================================
MidiControlComponent::ListComponent::ListComponent (MidiControlComponent& p, MidiControl& m)
    : page (p)
    , map (m)
{
    scrollBar.setAutoHide (false);
    scrollBar.addListener (this);
    addAndMakeVisible (scrollBar);
    measure();
}

MidiControlComponent::ListComponent::~ListComponent()
{
    scrollBar.removeListener (this);
}

void MidiControlComponent::ListComponent::rebuild()
{
    rows.clearQuick();
    selectedRow = -1;

    for (int controller = 0; controller < MidiControl::numControllers; ++controller)
    {
        const juce::ScopedLock sl (map.getLock());

        if (auto* parameter = map.getParameterAt (controller))
            rows.add ({controller, parameter->getName()});
    }

    measure();
    updateScrollBar();
    repaint();
}

void MidiControlComponent::ListComponent::measure()
{
    numberWidth = juce::roundToInt (juce::jmax (rowFont.getStringWidthFloat ("127"), headerFont.getStringWidthFloat ("CC"))) + 2 * cellPadding;
    int nameWidth = juce::roundToInt (headerFont.getStringWidthFloat ("Parameter"));

    for (const auto& row : rows)
        nameWidth = juce::jmax (nameWidth, juce::roundToInt (rowFont.getStringWidthFloat (row.parameterName)));

    columnWidth = numberWidth + nameWidth + 8 + 2 * cellPadding;
}

int MidiControlComponent::ListComponent::getListHeight() const
{
    return juce::jmax (0, getHeight() - scrollBar.getHeight());
}

int MidiControlComponent::ListComponent::getRowsPerColumn() const
{
    return juce::jmax (1, (getListHeight() - headerHeight) / rowHeight);
}

void MidiControlComponent::ListComponent::updateScrollBar()
{
    const int numColumns = (rows.size() + getRowsPerColumn() - 1) / getRowsPerColumn();
    const int total = juce::jmax (numColumns * columnWidth, getWidth());
    scrollBar.setRangeLimits (0.0, (double) total, juce::dontSendNotification);
    scrollBar.setCurrentRange ((double) scrollOffset, (double) getWidth(), juce::dontSendNotification);
    scrollOffset = (int) scrollBar.getCurrentRangeStart();
}

void MidiControlComponent::ListComponent::setScrollOffset (int offset)
{
    scrollBar.setCurrentRangeStart ((double) offset, juce::dontSendNotification);
    scrollOffset = (int) scrollBar.getCurrentRangeStart();
    repaint();
}

void MidiControlComponent::ListComponent::scrollBarMoved (juce::ScrollBar*, double newRangeStart)
{
    scrollOffset = (int) newRangeStart;
    repaint();
}

int MidiControlComponent::ListComponent::getRowAt (juce::Point<int> position) const
{
    const int rowsPerColumn = getRowsPerColumn();
    const int y = position.y - headerHeight;

    if (y < 0 || position.y >= getListHeight() || position.x < 0 || columnWidth <= 0)
        return -1;

    // The columns lie scrollOffset pixels to the left of what the pointer sees.
    const int column = (position.x + scrollOffset) / columnWidth;
    const int row = y / rowHeight;

    if (row >= rowsPerColumn)
        return -1;

    const int index = rowsPerColumn * column + row;
    return index < rows.size() ? index : -1;
}

void MidiControlComponent::ListComponent::mouseDown (const juce::MouseEvent& e)
{
    selectRow (getRowAt (e.getPosition()), true);
}

void MidiControlComponent::ListComponent::selectRow (int index, bool learn)
{
    if (!juce::isPositiveAndBelow (index, rows.size()))
        index = -1;

    const bool changed = index != selectedRow;
    selectedRow = index;

    if (index >= 0)
    {
        const int left = (index / getRowsPerColumn()) * columnWidth;

        if (left < scrollOffset)
            setScrollOffset (left);
        else if (left + columnWidth > scrollOffset + getWidth())
            setScrollOffset (left + columnWidth - getWidth());
    }

    repaint();
    page.updateButtons();

    if (learn && changed && index >= 0 && map.isLearnMode())
    {
        const juce::ScopedLock sl (map.getLock());

        if (auto* parameter = map.getParameterAt (rows.getReference (index).controller))
            map.learnParameter (parameter);
    }
}

void MidiControlComponent::ListComponent::lookAndFeelChanged()
{
    if (dynamic_cast<ToolkitLookAndFeelMethods*> (&getLookAndFeel()) != nullptr)
    {
        headerFont = EmbeddedFonts::tahoma (13.0f, juce::Font::bold);
        rowFont = EmbeddedFonts::tahoma (13.0f);
        measure();
        updateScrollBar();
    }

    repaint();
}

void MidiControlComponent::ListComponent::resized()
{
    scrollBar.setBounds (getLocalBounds().removeFromBottom (13));
    updateScrollBar();
}

void MidiControlComponent::ListComponent::paint (juce::Graphics& g)
{
    const int height = getListHeight();
    g.setColour (listColour);
    g.fillRect (0, 0, getWidth(), height);
    g.setColour (headerColour);
    g.fillRect (0, 0, getWidth(), headerHeight);

    const int rowsPerColumn = getRowsPerColumn();
    const int numColumns = juce::jmax (1, (rows.size() + rowsPerColumn - 1) / rowsPerColumn);
    const int firstColumn = scrollOffset / juce::jmax (1, columnWidth);

    for (int column = firstColumn; column < numColumns; ++column)
    {
        const int x = column * columnWidth - scrollOffset;

        if (x >= getWidth())
            break;

        g.setColour (juce::Colours::black);
        g.setFont (headerFont);
        g.drawText ("CC", x + cellPadding, 0, numberWidth - 2 * cellPadding, headerHeight, juce::Justification::centredRight);
        g.drawText ("Parameter", x + numberWidth + cellPadding, 0, columnWidth - numberWidth - 2 * cellPadding, headerHeight,
                    juce::Justification::centredLeft);
        g.setFont (rowFont);

        for (int row = 0; row < rowsPerColumn; ++row)
        {
            const int index = column * rowsPerColumn + row;

            if (index >= rows.size())
                break;

            const int y = headerHeight + row * rowHeight;

            if (index == selectedRow)
            {
                g.setColour (selectedColour);
                g.fillRect (x, y, columnWidth, rowHeight);
            }

            g.setColour (index == selectedRow ? juce::Colours::white : juce::Colours::black);
            const auto& entry = rows.getReference (index);
            g.drawText (juce::String (entry.controller), x + cellPadding, y, numberWidth - 2 * cellPadding, rowHeight,
                        juce::Justification::centredRight);
            g.drawText (entry.parameterName, x + numberWidth + cellPadding, y, columnWidth - numberWidth - 2 * cellPadding,
                        rowHeight, juce::Justification::centredLeft, true);
        }

        g.setColour (lineColour);
        g.drawVerticalLine (x + columnWidth - 1, 0.0f, (float) height);
        g.drawVerticalLine (x + numberWidth, 0.0f, (float) height);
    }

    g.setColour (lineColour);
    g.drawHorizontalLine (headerHeight - 1, 0.0f, (float) getWidth());
    g.drawRect (0, 0, getWidth(), height);
}

//==============================================================================
MidiControlComponent::MidiControlComponent (MidiControl& m, const juce::String& extension, const juce::String& patterns)
    : map (m)
    , mapFileExtension (extension)
    , mapFilePatterns (patterns)
{
    juce::ImageButton* buttons[] = {&deleteAssign, &clearAll, &loadMap, &saveMap};

    for (size_t i = 0; i < std::size (buttons); ++i)
    {
        buttons[i]->setTooltip (iconButtons[i].tooltip);
        buttons[i]->addListener (this);
        buttonRow.addAndMakeVisible (buttons[i]);
    }

    addAndMakeVisible (buttonRow);

    learnCheckBox.setText ("Midi Learn mode");
    learnCheckBox.setToggleState (map.isLearnMode());
    learnCheckBox.addListener (this);
    addAndMakeVisible (learnCheckBox);

    defaultMapCheckBox.getCheckBox().setText ("Default map");
    defaultMapCheckBox.setFile (map.getUserMapFile().getFullPathName());
    defaultMapCheckBox.getCheckBox().setToggleState (map.getUseUserMap());
    defaultMapCheckBox.getPathComponent().setEnabled (map.getUseUserMap());
    defaultMapCheckBox.getPathComponent().setChooserTitle ("Default map");
    defaultMapCheckBox.getPathComponent().setChooserWildcard (mapFilePatterns);
    defaultMapCheckBox.addListener (this);
    addAndMakeVisible (defaultMapCheckBox);

    list = std::make_unique<ListComponent> (*this, map);
    addAndMakeVisible (*list);

    map.addListener (this);
    list->rebuild();
    updateButtons();
    lookAndFeelChanged();
}

MidiControlComponent::~MidiControlComponent()
{
    map.removeListener (this);

    for (auto* button : {&deleteAssign, &clearAll, &loadMap, &saveMap})
        button->removeListener (this);

    learnCheckBox.removeListener (this);
    defaultMapCheckBox.removeListener (this);
}

void MidiControlComponent::setMapFileTypes (const juce::String& extension, const juce::String& patterns)
{
    mapFileExtension = extension;
    mapFilePatterns = patterns;
    defaultMapCheckBox.getPathComponent().setChooserWildcard (patterns);
}

juce::ImageButton* MidiControlComponent::getImageButton (const juce::String& name) const
{
    for (auto* button : {&deleteAssign, &clearAll, &loadMap, &saveMap})
        if (button->getName() == name)
            return const_cast<juce::ImageButton*> (button);

    return nullptr;
}

void MidiControlComponent::updateButtons()
{
    deleteAssign.setEnabled (list != nullptr && list->getSelectedRow() >= 0);
    clearAll.setEnabled (map.getNumAssigned() > 0);
}

void MidiControlComponent::buttonClicked (juce::Button* button)
{
    if (button == &deleteAssign)
    {
        if (const int row = list->getSelectedRow(); row >= 0)
            map.unassign (list->getRow (row).controller);
    }
    else if (button == &clearAll)
    {
        // The question being answered may be the one replaced: it goes at the next replacement.
        if (confirmation != nullptr)
            confirmation->hide();

        retiredConfirmation = std::move (confirmation);
        confirmation = Oru::AlertWindow::createQuestionWindow (map.getName(), "Do you really want to clear all assignations?", this);
        addChildComponent (*confirmation);
        confirmation->show();
    }
    else if (button == &loadMap)
    {
        auto& midiMap = map;
        documents.load ("Open Midi Control file", mapFilePatterns, [&midiMap] (const juce::File& file)
                        { return midiMap.loadMapFile (file); });
    }
    else if (button == &saveMap)
    {
        auto& midiMap = map;
        documents.save ("Save Midi Control file as", mapFileExtension, [&midiMap] (const juce::File& file)
                        { return midiMap.saveMapFile (file); });
    }
}

void MidiControlComponent::alertWindowClosed (Oru::AlertWindow* window, int result)
{
    if (window == confirmation.get() && result == 1)
        map.clearAll();
}

void MidiControlComponent::checkBoxChanged (CheckBox* checkBox)
{
    if (checkBox == &learnCheckBox)
        map.setLearnMode (learnCheckBox.getToggleState());
}

void MidiControlComponent::defaultResourceChanged (DefaultResourceCheckBox* checkBox)
{
    if (checkBox != &defaultMapCheckBox)
        return;

    const auto& path = defaultMapCheckBox.getPath();
    map.setUseUserMap (defaultMapCheckBox.isTicked());
    map.setUserMapFile (juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File());
}

void MidiControlComponent::midiMapChanged (MidiControl&)
{
    list->rebuild();
    updateButtons();
}

void MidiControlComponent::midiLearnStateChanged (MidiControl&)
{
    int controller = -1;

    {
        const juce::ScopedLock sl (map.getLock());
        learnCheckBox.setToggleState (map.isLearnMode());
        controller = map.indexOf (map.getLearnParameter());
    }

    int row = -1;

    for (int i = 0; i < list->getNumRows(); ++i)
        if (list->getRow (i).controller == controller)
            row = i;

    list->selectRow (row, false);
}

void MidiControlComponent::parentHierarchyChanged()
{
    // Placed under a page or window with the toolkit's look and feel: take its icons.
    if (lookAndFeelWatch.changed (*this))
        sendLookAndFeelChange();
}

void MidiControlComponent::lookAndFeelChanged()
{
    lookAndFeelWatch.changed (*this);

    if (auto* laf = dynamic_cast<ToolkitLookAndFeelMethods*> (&getLookAndFeel()))
    {
        juce::ImageButton* buttons[] = {&deleteAssign, &clearAll, &loadMap, &saveMap};

        for (size_t i = 0; i < std::size (buttons); ++i)
            laf->setImageButtonImages (*buttons[i], iconButtons[i].icon, laf->getStandardIconSize());
    }

    resized();
}

void MidiControlComponent::childBoundsChanged (juce::Component* child)
{
    if (child == &buttonRow || child == &learnCheckBox)
        resized();
}

void MidiControlComponent::resized()
{
    if (list == nullptr)
        return;

    auto area = getLocalBounds().reduced (4);
    learnCheckBox.setTopLeftPosition (area.getTopLeft());
    area.removeFromTop (learnCheckBox.getHeight() + gap);
    defaultMapCheckBox.setBounds (area.removeFromTop (juce::jmax (defaultMapCheckBox.getHeight(), 20)));
    area.removeFromTop (gap);
    buttonRow.setTopLeftPosition (area.getX(), area.getBottom() - buttonRow.getHeight());
    area.removeFromBottom (buttonRow.getHeight() + gap);
    list->setBounds (area);
}
