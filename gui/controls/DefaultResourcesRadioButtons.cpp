#include "gui/controls/DefaultResourcesRadioButtons.h"

DefaultResourcesRadioButtons::DefaultResourcesRadioButtons (const juce::String& title, const juce::StringArray& items)
    : RadioButtons (title, items)
{
    pathComponent.addListener (this);
    addAndMakeVisible (pathComponent);
    // The base laid out before the path field existed.
    lookAndFeelChanged();
    updateEnablement();
}

DefaultResourcesRadioButtons::~DefaultResourcesRadioButtons()
{
    pathComponent.removeListener (this);
}

void DefaultResourcesRadioButtons::updateEnablement()
{
    pathComponent.setEnabled (getNumItems() > 0 && getSelectedIndex() == getNumItems() - 1);
}

void DefaultResourcesRadioButtons::layoutChanged()
{
    const int count = getNumItems();
    const int rowHeight = getRowHeight();
    const int pathHeight = pathComponent.getHeight();
    const int lastRowY = getFirstRowY() + rowHeight * juce::jmax (0, count - 1);
    pathComponent.setTopLeftPosition (getTextX() + getTextWidth() + getTextGap(), lastRowY + (rowHeight - pathHeight) / 2);
    setSize (getWidth(), rowHeight * count + juce::jmax (0, (pathHeight - rowHeight) / 2) + getTitleFontHeight() + 2 * getVerticalMargin());
}

void DefaultResourcesRadioButtons::pathChanged (PathComponent*)
{
    notifyListeners();
}

void DefaultResourcesRadioButtons::childBoundsChanged (juce::Component* child)
{
    if (child == &pathComponent)
        layoutChanged();
}
