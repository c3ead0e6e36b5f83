#include "gui/controls/TabbedComponentEx.h"

TabbedComponentEx::TabbedComponentEx (juce::TabbedButtonBar::Orientation orientation)
    : juce::TabbedComponent (orientation)
{
    lookAndFeelChanged();
}

void TabbedComponentEx::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void TabbedComponentEx::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void TabbedComponentEx::parentHierarchyChanged()
{
    if (lookAndFeelWatch.changed (*this))
        sendLookAndFeelChange();
}

void TabbedComponentEx::lookAndFeelChanged()
{
    lookAndFeelWatch.changed (*this);

    juce::TabbedComponent::lookAndFeelChanged();

    if (auto* laf = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
    {
        tabDepth = laf->getTabBarDepth();
        tabIndent = laf->getTabBarIndent();
        setTabBarDepth (tabDepth);
        setIndent (tabIndent);
    }

    resized();
    repaint();
}

void TabbedComponentEx::resized()
{
    outline.clear();
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();
    const auto top = (float) tabDepth - 0.5f;
    outline.addRoundedRectangle (0.5f, top, juce::jmax (0.0f, w - 1.0f), juce::jmax (0.0f, h - 0.5f - top), 4.0f);
    juce::TabbedComponent::resized();
}

void TabbedComponentEx::paint (juce::Graphics& g)
{
    g.setColour (findColour (contentBackgroundColourId));
    g.fillPath (outline);
    g.setColour (findColour (outlineColourId));
    g.strokePath (outline, juce::PathStrokeType (1.0f));
}

void TabbedComponentEx::currentTabChanged (int newIndex, const juce::String&)
{
    for (int i = listeners.size(); --i >= 0;)
    {
        listeners.getUnchecked (i)->tabChanged (this);
        i = juce::jmin (i, listeners.size());
    }

    if (auto* content = getTabContentComponent (newIndex))
    {
        if (&content->getLookAndFeel() != &getLookAndFeel())
            content->setLookAndFeel (&getLookAndFeel());

        // A page is laid out while it has no parent and so no look and feel of ours; put
        // in, its controls take our fonts and change size, but its own bounds stay and its
        // layout would not run again.
        content->resized();
    }
}
