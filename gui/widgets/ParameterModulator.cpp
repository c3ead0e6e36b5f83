#include "gui/widgets/ParameterModulator.h"

#include "gui/DefaultLookAndFeel.h"
#include "gui/ToolkitImages.h"
#include "gui/widgets/SkinElement.h"

namespace
{
constexpr int rowHeight = 20, rowSpacing = 21;
constexpr int boxWidth = 150, boxGap = 2;

// Icons of the toolkit's image buttons: plus, minus, up, down, info.
struct RowButton
{
    const char* name;
    int icon;
};

// The toolkit's add and remove pictures, its up and down arrows, and a folder
// for the page behind the table.
const RowButton rowButtons[] = {
    {"Add Row", 9}, {"Delete Row", 10}, {"Move Up", 6}, {"Move Down", 5}, {"Settings", 7}};

std::unique_ptr<juce::Button> makeButton (juce::LookAndFeel& lookAndFeel, const RowButton& rowButton)
{
    if (auto* own = dynamic_cast<DefaultLookAndFeel*> (&lookAndFeel))
        if (auto button = own->createImageButton (rowButton.name, rowButton.icon))
            return button;

    // Another look and feel: the same pictures, made here.
    auto button = std::make_unique<juce::ImageButton> (rowButton.name);
    auto normal = ToolkitImages::iconButton (rowButton.icon, false, false);
    auto pressed = ToolkitImages::iconButton (rowButton.icon, false, true);
    button->setImages (true, false, true, normal, 1.0f, juce::Colours::transparentBlack, {}, 1.0f,
                       juce::Colours::transparentBlack, pressed, 1.0f, juce::Colours::transparentBlack);
    button->setSize (normal.getWidth(), normal.getHeight());
    return button;
}
} // namespace

//==============================================================================
ParameterModulator::Row::Row (ParameterModulator& owner, const ParameterModulationMatrix::ModulationRow& values)
    : modulator (owner)
{
    amountSlider.setSliderStyle (juce::Slider::LinearHorizontal);
    amountSlider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    amountSlider.setRange (-1.0, 1.0, 0.0);

    showValues (values);

    addAndMakeVisible (sourceBox);
    addAndMakeVisible (targetBox);
    addAndMakeVisible (amountSlider);

    sourceBox.addListener (this);
    targetBox.addListener (this);
    amountSlider.addListener (this);

    // A press on a box or the slider selects the row too.
    addMouseListener (this, true);
}

ParameterModulator::Row::~Row()
{
    removeMouseListener (this);
    sourceBox.removeListener (this);
    targetBox.removeListener (this);
    amountSlider.removeListener (this);
}

ParameterModulationMatrix::ModulationRow ParameterModulator::Row::getValues() const
{
    return {sourceBox.getSelectedId(), targetBox.getSelectedId(), juce::jlimit (-1.0f, 1.0f, (float) amountSlider.getValue())};
}

void ParameterModulator::Row::showValues (const ParameterModulationMatrix::ModulationRow& values)
{
    if (sourceBox.getSelectedId() != values.source)
    {
        sourceBox.setSelectedId (values.source);
        sourceBox.updateText();
    }

    if (targetBox.getSelectedId() != values.target)
    {
        targetBox.setSelectedId (values.target);
        targetBox.updateText();
    }

    amountSlider.setValue (values.amount, juce::dontSendNotification);
}

void ParameterModulator::Row::setSelected (bool shouldBeSelected)
{
    if (shouldBeSelected != selected)
    {
        selected = shouldBeSelected;
        repaint();
    }
}

void ParameterModulator::Row::paint (juce::Graphics& g)
{
    if (selected)
        g.fillAll (juce::Colour (selectedColour));
}

void ParameterModulator::Row::resized()
{
    sourceBox.setBounds (0, 0, boxWidth, rowHeight);
    targetBox.setBounds (boxWidth + boxGap, 0, boxWidth, rowHeight);
    const int sliderX = 2 * (boxWidth + boxGap);
    amountSlider.setBounds (sliderX, 0, juce::jmax (0, getWidth() - sliderX), rowHeight);
}

void ParameterModulator::Row::mouseDown (const juce::MouseEvent&)
{
    modulator.selectRow (modulator.indexOfRow (this));
}

void ParameterModulator::Row::comboBoxExChanged (ComboBoxEx*)
{
    modulator.rowEdited (*this);
}

void ParameterModulator::Row::sliderValueChanged (juce::Slider*)
{
    modulator.rowEdited (*this);
}

//==============================================================================
ParameterModulator::Table::Table()
{
    setViewedComponent (&content, false);
    setScrollBarsShown (true, false);
}

//==============================================================================
ParameterModulator::PitchScaler::PitchScaler (ParameterModulator& owner)
    : modulator (owner)
    , background (createBackground())
    , keyboard ("Pitch Scaler Keyboard")
{
    keyboard.setMouseEnabled (false);
    keyboard.setColour (MusicKeyboard::outlineColourId, juce::Colour (0xff000000));
    keyboard.setColour (MusicKeyboard::whiteKeyColourId, juce::Colour (0xff5ea5b2));
    keyboard.setColour (MusicKeyboard::blackKeyColourId, juce::Colour (0xff1c4a52));
    keyboard.setColour (MusicKeyboard::whiteKeyPressedColourId, juce::Colour (0xffffffff));
    keyboard.setColour (MusicKeyboard::blackKeyPressedColourId, juce::Colour (0xffffffff));
    keyboard.setInterceptsMouseClicks (false, false);
    addAndMakeVisible (keyboard);

    const int width = background.getWidth(), height = background.getHeight() + keyboardHeight;
    setSize (width, height);
    keyboard.setBounds (0, height - keyboardHeight, width - 1, keyboardHeight);
    drawArea = {0, 0, width - 1, height - keyboardHeight};
}

juce::Image ParameterModulator::PitchScaler::createBackground()
{
    constexpr int columnWidth = 7, height = 128;
    juce::Image image (juce::Image::RGB, 128 * columnWidth + 1, height, true);
    juce::Graphics g (image);
    g.fillAll (juce::Colour (0xff1b1b1b));

    for (int note = 0; note < 128; ++note)
    {
        const bool black = MusicKeyboard::isBlackNote (note);
        g.setColour (black ? juce::Colour (0xff222222) : juce::Colour (0xff2a2a2a));
        g.fillRect (note * columnWidth, 0, columnWidth, height);
    }

    g.setColour (juce::Colour (0xff555555));

    for (int octave = 0; octave <= 11; ++octave)
        g.fillRect (octave * 12 * columnWidth, 0, 1, height);

    for (int level = 1; level < 4; ++level)
        g.fillRect (0, level * height / 4, image.getWidth(), 1);

    return image;
}

void ParameterModulator::PitchScaler::setValue (int note, float value)
{
    if (note < 0 || note >= 128)
        return;

    values[(size_t) note] = juce::jlimit (0.0f, 1.0f, value);
    repaint();
}

void ParameterModulator::PitchScaler::drawLine (juce::Point<int> from, juce::Point<int> to)
{
    if (to.x < from.x)
        std::swap (from, to);

    const auto area = drawArea.toFloat();

    if (area.getWidth() <= 0.0f || area.getHeight() <= 0.0f)
        return;

    int previousNote = -1;

    for (int x = from.x; x <= to.x; ++x)
    {
        if (x < drawArea.getX() || x >= drawArea.getRight())
            continue;

        const float y = to.x == from.x ? (float) from.y
                                       : (float) from.y + (float) (to.y - from.y) * (float) (x - from.x) / (float) (to.x - from.x);
        const int note = juce::jlimit (0, 127, (int) (((float) x - area.getX()) / area.getWidth() * 128.0f));
        const float value = juce::jlimit (0.0f, 1.0f, 1.0f - (y - area.getY()) / area.getHeight());

        if (note != previousNote)
        {
            previousNote = note;

            if (auto* matrix = modulator.getMatrix())
                matrix->setKeyValue (note, value);
            else
                setValue (note, value);
        }
    }
}

void ParameterModulator::PitchScaler::paint (juce::Graphics& g)
{
    g.drawImageAt (background, 0, 0);

    g.setColour (juce::Colour (curveColour));

    for (int note = 0; note < 128; ++note)
        g.fillRect (7 * note, (int) ((1.0f - values[(size_t) note]) * (float) drawArea.getHeight()), 7, 1);

    if (mouseInside && drawArea.contains (mousePos))
    {
        g.setColour (juce::Colour (crossColour));
        g.fillRect (0, mousePos.y, getWidth(), 1);
        g.fillRect (mousePos.x, 0, 1, getHeight());
    }

    if (anchorSet)
    {
        g.setColour (juce::Colour (0xffff0000).withAlpha (0.75f));
        g.drawLine (anchor.toFloat().x, anchor.toFloat().y, (float) mousePos.x, (float) mousePos.y);

        for (auto point : {anchor, mousePos})
            g.fillEllipse (juce::Rectangle<float> (5.0f, 5.0f).withCentre (point.toFloat()));
    }
}

void ParameterModulator::PitchScaler::mouseMove (const juce::MouseEvent& e)
{
    mousePos = e.getPosition();
    mouseInside = true;
    repaint();
}

void ParameterModulator::PitchScaler::mouseExit (const juce::MouseEvent&)
{
    mouseInside = false;
    repaint();
}

void ParameterModulator::PitchScaler::mouseDown (const juce::MouseEvent& e)
{
    const auto position = e.getPosition();
    drawLine (position, position);
    mousePos = position;
    mouseInside = true;

    if (anchorSet)
        drawLine (anchor, position);

    anchorSet = e.mods.isRightButtonDown();

    if (anchorSet)
        anchor = position;

    repaint();
}

void ParameterModulator::PitchScaler::mouseDrag (const juce::MouseEvent& e)
{
    const auto position = e.getPosition();

    if (!anchorSet)
        drawLine (mousePos, position);

    mousePos = position;
    repaint();
}

//==============================================================================
ParameterModulator::ParameterModulator (const juce::String& name)
    : juce::Component (name)
    , pitchScaler (*this)
{
    for (auto& rowButton : rowButtons)
    {
        auto* button = buttons.add (makeButton (getLookAndFeel(), rowButton).release());
        button->addListener (this);
        buttonColumn.addAndMakeVisible (button);
    }

    addAndMakeVisible (buttonColumn);
    addAndMakeVisible (table);
    addChildComponent (pitchScaler);
    setSize (400, 200);
}

ParameterModulator::~ParameterModulator()
{
    if (matrix != nullptr)
        matrix->removeListener (this);

    for (auto* button : buttons)
        button->removeListener (this);
}

void ParameterModulator::setMatrix (ParameterModulationMatrix* newMatrix)
{
    if (newMatrix == matrix)
        return;

    if (matrix != nullptr)
        matrix->removeListener (this);

    matrix = newMatrix;

    if (matrix != nullptr)
        matrix->addListener (this);

    rebuildTable();
}

void ParameterModulator::configure (Row& row, int index)
{
    if (rowDelegate != nullptr)
        rowDelegate->configureRow (this, &row, index);
}

void ParameterModulator::copyKeyValues()
{
    for (int note = 0; note < 128; ++note)
        pitchScaler.setValue (note, matrix != nullptr ? matrix->getKeyValue (note) : 0.0f);

    pitchScaler.repaint();
}

void ParameterModulator::rebuildTable()
{
    rows.clear();

    if (matrix != nullptr)
    {
        for (int i = 0; i < matrix->getNumRows(); ++i)
        {
            auto* row = rows.add (new Row (*this, matrix->getRow (i)));
            row->setVisible (true);
            table.getContent().addAndMakeVisible (row);
        }
    }

    layoutRows();
    selectedRow = -1;
    refreshSelection();

    for (int i = 0; i < rows.size(); ++i)
        configure (*rows.getUnchecked (i), i);

    copyKeyValues();
}

void ParameterModulator::layoutRows()
{
    const int width = table.getMaximumVisibleWidth();
    table.getContent().setSize (width, rowSpacing * rows.size());

    for (int i = 0; i < rows.size(); ++i)
        rows.getUnchecked (i)->setBounds (0, rowSpacing * i, width, rowHeight);
}

void ParameterModulator::refreshSelection()
{
    for (int i = 0; i < rows.size(); ++i)
        rows.getUnchecked (i)->setSelected (i == selectedRow);
}

void ParameterModulator::selectRow (int index)
{
    selectedRow = index;
    refreshSelection();
}

void ParameterModulator::addRow()
{
    auto* row = rows.add (new Row (*this, {}));
    table.getContent().addAndMakeVisible (row);

    if (matrix != nullptr)
        matrix->addRow (row->getValues());

    configure (*row, rows.size() - 1);
    layoutRows();
    refreshSelection();
}

void ParameterModulator::deleteSelectedRow()
{
    if (selectedRow < 0 || selectedRow >= rows.size())
        return;

    if (matrix != nullptr)
        matrix->removeRow (selectedRow);

    rows.remove (selectedRow);
    layoutRows();
    selectedRow = -1;
    refreshSelection();
}

void ParameterModulator::moveSelectedRow (int delta)
{
    const int target = selectedRow + delta;

    if (selectedRow < 0 || selectedRow >= rows.size() || target < 0 || target >= rows.size())
        return;

    if (matrix != nullptr)
        matrix->moveRow (selectedRow, target);

    rows.move (selectedRow, target);
    layoutRows();
    selectedRow = target;
    refreshSelection();
    table.repaint();
}

void ParameterModulator::toggleSettings()
{
    showSettings = !showSettings;
    table.setVisible (!showSettings);
    pitchScaler.setVisible (showSettings);
}

void ParameterModulator::rowEdited (Row& row)
{
    const int index = rows.indexOf (&row);

    if (matrix != nullptr)
        matrix->setRow (index, row.getValues());

    configure (row, index);
}

void ParameterModulator::keyValueChanged (ParameterModulationMatrix* source, int note)
{
    pitchScaler.setValue (note, source->getKeyValue (note));
}

void ParameterModulator::matrixChanged (ParameterModulationMatrix*)
{
    rebuildTable();
}

void ParameterModulator::buttonClicked (juce::Button* button)
{
    switch (buttons.indexOf (button))
    {
        case 0:
            addRow();
            break;
        case 1:
            deleteSelectedRow();
            break;
        case 2:
            moveSelectedRow (-1);
            break;
        case 3:
            moveSelectedRow (1);
            break;
        case 4:
            toggleSettings();
            break;
        default:
            break;
    }
}

void ParameterModulator::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    GUIController::loadFromXml (element, parameters, events, context);

    if (!SkinElement::hasTag (element, "ParameterModulator"))
    {
        setSize (400, 200);
        return;
    }

    int width = 400, height = 200;

    if (auto* size = SkinElement::getChild (element, "size"))
    {
        width = SkinElement::getInt (*size, "width", 400);
        height = SkinElement::getInt (*size, "height", 200);
    }

    auto position = getPosition();

    if (auto* pos = SkinElement::getChild (element, "pos"))
        position = {SkinElement::getInt (*pos, "left", 0), SkinElement::getInt (*pos, "top", 0)};

    setBounds (position.x, position.y, juce::jmax (0, width), juce::jmax (0, height));
}

void ParameterModulator::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

void ParameterModulator::resized()
{
    buttonColumn.setTopLeftPosition (0, 0);
    const int x = buttonColumn.getRight() + 4;
    table.setBounds (x, 0, juce::jmax (0, getWidth() - x), getHeight());
    pitchScaler.setTopLeftPosition (x, 0);
    layoutRows();
}
