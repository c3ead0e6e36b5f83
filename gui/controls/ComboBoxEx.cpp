#include "gui/controls/ComboBoxEx.h"
#include "gui/DefaultLookAndFeel.h"
#include "gui/EmbeddedFonts.h"

ComboBoxEx::ComboBoxEx()
{
    menu.addListener (this);
    addChildComponent (menu.getComponent());
}

ComboBoxEx::~ComboBoxEx()
{
    menu.removeListener (this);
}

void ComboBoxEx::updateText()
{
    auto newText = menu.getItemText (selectedId);

    if (newText.isEmpty())
        newText = "---";

    if (newText != text)
    {
        text = newText;
        repaint();
    }

    menu.setItemTicked (selectedId, true, true);

    auto* item = menu.findItem (selectedId);
    const bool enabled = item != nullptr && item->enabled;

    if (enabled != selectedEnabled)
    {
        selectedEnabled = enabled;
        repaint();
    }
}

void ComboBoxEx::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void ComboBoxEx::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void ComboBoxEx::popupMenuItemSelected (PopupMenuEx* source, int id, bool)
{
    if (source != &menu || id == selectedId)
        return;

    selectedId = id;
    updateText();

    for (int i = listeners.size(); --i >= 0;)
    {
        listeners.getUnchecked (i)->comboBoxExChanged (this);
        i = juce::jmin (i, listeners.size());
    }
}

void ComboBoxEx::mouseDown (const juce::MouseEvent&)
{
    if (auto* popup = menu.getComponent())
        popup->showBelow (*this);
}

void ComboBoxEx::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    g.setColour (juce::Colour (0xffe3e3e3));
    DefaultLookAndFeel::fillRoundedRectangle (g, bounds, 4.0f);
    g.setColour (juce::Colours::white);
    DefaultLookAndFeel::drawRoundedOutline (g, bounds, 4.0f, 1.0f);

    g.setColour (juce::Colours::black);
    g.setFont (EmbeddedFonts::tahoma (13.0f));
    const juce::Rectangle<int> textArea (4, 0, getWidth(), getHeight());

    if (selectedEnabled)
        g.drawText (text, textArea, juce::Justification::centredLeft, false);
    else
        DefaultLookAndFeel::drawSlantedText (g, text, textArea, juce::Justification::centredLeft);

    g.setColour (juce::Colour (0xffbfbfbf));
    g.drawLine ((float) getWidth() - 13.0f, 2.0f, (float) getWidth() - 13.0f, (float) getHeight() - 2.0f);

    const float cx = (float) getWidth() - 7.5f;
    const float cy = (float) getHeight() * 0.5f;
    juce::Path arrow;
    arrow.addTriangle (cx - 3.0f, cy - 3.0f, cx + 3.0f, cy - 3.0f, cx, cy + 3.0f);
    g.setColour (juce::Colours::black);
    g.fillPath (arrow);
}
