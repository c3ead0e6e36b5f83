#include "gui/controls/StatusBar.h"

StatusBar::StatusBar()
{
    lookAndFeelChanged();
}

void StatusBar::setMessage (const juce::String& newText, int newPriority, int timeoutMs)
{
    if (newText == text || newPriority < priority)
        return;

    text = newText;
    priority = newPriority;

    if (timeoutMs > 0)
        startTimer (timeoutMs);
    else
        stopTimer();

    repaint();
}

void StatusBar::clearMessage (int clearPriority)
{
    if (clearPriority != -1 && clearPriority < priority)
        return;

    priority = 0;

    if (text.isNotEmpty())
    {
        text.clear();
        stopTimer();
        repaint();
    }
}

void StatusBar::timerCallback()
{
    clearMessage (-1);
}

void StatusBar::parentHierarchyChanged()
{
    if (lookAndFeelWatch.changed (*this))
        sendLookAndFeelChange();
}

void StatusBar::lookAndFeelChanged()
{
    lookAndFeelWatch.changed (*this);

    if (auto* laf = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
    {
        font = laf->getStatusBarFont();
        setSize (getWidth(), laf->getStatusBarHeight());
    }

    repaint();
}

void StatusBar::paint (juce::Graphics& g)
{
    g.fillAll (findColour (backgroundColourId));
    g.setColour (findColour (textColourId));
    g.setFont (font);
    g.drawText (text, 5, 0, getWidth(), getHeight(), juce::Justification::centredLeft, false);
}
