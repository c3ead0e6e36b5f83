#include "gui/controls/RadioButtons.h"
#include "gui/controls/ToolkitDrawing.h"

namespace
{
const juce::Colour frameColour (0xff7c7c7c);
const juce::Colour titleBackColour (0xffc5c5c5);
constexpr int radioGroup = 1;
} // namespace

RadioButtons::RadioButtons (const juce::String& t, const juce::StringArray& i)
    : title (t)
    , items (i)
{
    for (int index = 0; index < items.size(); ++index)
    {
        auto* button = buttons.add (new juce::ImageButton ("RadioButton" + juce::String (index)));
        button->setRadioGroupId (radioGroup, juce::dontSendNotification);
        button->addListener (this);
        addAndMakeVisible (button);
    }

    lookAndFeelChanged();
}

RadioButtons::~RadioButtons()
{
    for (auto* button : buttons)
        button->removeListener (this);
}

void RadioButtons::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void RadioButtons::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void RadioButtons::notifyListeners()
{
    for (int i = listeners.size(); --i >= 0;)
    {
        listeners.getUnchecked (i)->radioButtonsChanged (this);
        i = juce::jmin (i, listeners.size());
    }
}

void RadioButtons::setSelectedIndex (int index, bool notify)
{
    selectedIndex = juce::isPositiveAndBelow (index, items.size()) ? index : -1;

    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setToggleState (i == selectedIndex, juce::dontSendNotification);

    if (notify)
        notifyListeners();

    updateEnablement();
}

void RadioButtons::setTitle (const juce::String& newTitle)
{
    if (newTitle != title)
    {
        title = newTitle;
        layout();
        repaint();
    }
}

void RadioButtons::updateEnablement()
{
}

void RadioButtons::layoutChanged()
{
}

void RadioButtons::buttonClicked (juce::Button* button)
{
    setSelectedIndex (buttons.indexOf (static_cast<juce::ImageButton*> (button)), true);
}

void RadioButtons::parentHierarchyChanged()
{
    if (lookAndFeelWatch.changed (*this))
        sendLookAndFeelChange();
}

void RadioButtons::lookAndFeelChanged()
{
    lookAndFeelWatch.changed (*this);

    if (auto* laf = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
    {
        titleFont = laf->getRadioGroupTitleFont();
        itemFont = laf->getRadioGroupItemFont();
        titleIndent = laf->getRadioTitleIndent();
        titlePadding = laf->getRadioTitlePadding();
        leftMargin = laf->getRadioLeftMargin();
        verticalMargin = laf->getRadioVerticalMargin();
        rowHeight = laf->getRadioRowHeight();
        cornerSize = laf->getRadioFrameCornerSize();
        textGap = laf->getRadioTextGap();

        const auto unticked = laf->getRadioButtonUntickedImage();
        const auto ticked = laf->getRadioButtonTickedImage();

        for (auto* button : buttons)
        {
            button->setImages (true, false, true,
                               unticked, 1.0f, juce::Colours::transparentBlack,
                               {}, 1.0f, juce::Colours::transparentBlack,
                               ticked, 1.0f, juce::Colours::transparentBlack);
            button->setSize (unticked.getWidth(), unticked.getHeight());
        }
    }

    layout();
}

void RadioButtons::layout()
{
    const int titleHeight = (int) titleFont.getHeight();
    const int titleWidth = juce::roundToInt (titleFont.getStringWidthFloat (title));
    titleBackArea = {titleIndent - titlePadding, 0, titleWidth + 2 * titlePadding, titleHeight};
    firstRowY = titleHeight + verticalMargin;

    int largestWidth = 0, largestHeight = 0;

    for (auto* button : buttons)
    {
        largestWidth = juce::jmax (largestWidth, button->getWidth());
        largestHeight = juce::jmax (largestHeight, button->getHeight());
    }

    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setTopLeftPosition (leftMargin + 1, rowHeight * i + (rowHeight - largestHeight) / 2 + firstRowY);

    textX = leftMargin + textGap + 1 + largestWidth;
    float widest = 0.0f;

    for (auto& item : items)
        widest = juce::jmax (widest, itemFont.getStringWidthFloat (item));

    textWidth = juce::roundToInt (widest);

    const int width = juce::jmax (textWidth + 2 + 2 * leftMargin + textGap + largestWidth,
                                  titleWidth + 2 * titleIndent, getWidth());
    setSize (width, rowHeight * items.size() + 2 * verticalMargin + titleHeight);
    layoutChanged();
}

void RadioButtons::resized()
{
    frameArea = getLocalBounds().withTrimmedTop ((int) titleFont.getHeight() / 2);
    repaint();
}

void RadioButtons::paint (juce::Graphics& g)
{
    g.setColour (frameColour);
    ToolkitDrawing::drawRoundedOutline (g, frameArea.toFloat(), cornerSize, 1.0f);
    g.setColour (titleBackColour);
    g.fillRect (titleBackArea);

    const int titleHeight = (int) titleFont.getHeight();
    g.setColour (juce::Colours::black);
    g.setFont (titleFont);
    g.drawText (title, titleIndent, 0, getWidth() - 2 * titleIndent, titleHeight, juce::Justification::centredLeft, false);

    g.setFont (itemFont);

    for (int i = 0; i < items.size(); ++i)
        g.drawText (items[i], textX, firstRowY + rowHeight * i, textWidth, rowHeight, juce::Justification::centredLeft, false);
}
