#include "gui/controls/CheckBox.h"

CheckBox::CheckBox()
{
    button.setClickingTogglesState (true);
    button.addListener (this);
    addAndMakeVisible (button);
    lookAndFeelChanged();
}

CheckBox::~CheckBox()
{
    button.removeListener (this);
}

void CheckBox::setText (const juce::String& newText)
{
    if (newText != text)
    {
        text = newText;
        updateSize();
        repaint();
    }
}

void CheckBox::setToggleState (bool ticked)
{
    button.setToggleState (ticked, juce::dontSendNotification);
}

void CheckBox::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void CheckBox::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void CheckBox::buttonClicked (juce::Button*)
{
    for (int i = listeners.size(); --i >= 0;)
    {
        listeners.getUnchecked (i)->checkBoxChanged (this);
        i = juce::jmin (i, listeners.size());
    }
}

void CheckBox::parentHierarchyChanged()
{
    if (lookAndFeelWatch.changed (*this))
        sendLookAndFeelChange();
}

void CheckBox::lookAndFeelChanged()
{
    lookAndFeelWatch.changed (*this);

    if (auto* laf = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
    {
        font = laf->getDefaultFont();
        gap = laf->getCheckBoxGap();
        const auto unticked = laf->getCheckBoxUntickedImage();
        const auto ticked = laf->getCheckBoxTickedImage();
        button.setImages (true, false, true,
                          unticked, 1.0f, juce::Colours::transparentBlack,
                          {}, 1.0f, juce::Colours::transparentBlack,
                          ticked, 1.0f, juce::Colours::transparentBlack);
        button.setSize (unticked.getWidth(), unticked.getHeight());
    }

    updateSize();
    repaint();
}

void CheckBox::updateSize()
{
    setSize (gap + juce::roundToInt (font.getStringWidthFloat (text)) + button.getWidth(),
             juce::jmax (button.getHeight(), (int) font.getHeight()));
    resized();
}

void CheckBox::resized()
{
    button.setTopLeftPosition (0, (getHeight() - button.getHeight()) / 2);
}

void CheckBox::paint (juce::Graphics& g)
{
    g.setColour (juce::Colours::black);
    g.setFont (font);
    const int x = button.getRight() + gap;
    g.drawText (text, x, 0, getWidth() - x, getHeight(), juce::Justification::centredLeft, false);
}
