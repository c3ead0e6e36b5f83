#include "gui/controls/DefaultResourceCheckBox.h"

DefaultResourceCheckBox::DefaultResourceCheckBox()
{
    checkBox.addListener (this);
    pathComponent.addListener (this);
    addAndMakeVisible (checkBox);
    addAndMakeVisible (pathComponent);
    updateEnablement();
    updateLayout();
}

DefaultResourceCheckBox::~DefaultResourceCheckBox()
{
    checkBox.removeListener (this);
    pathComponent.removeListener (this);
}

void DefaultResourceCheckBox::setFile (const juce::String& path)
{
    checkBox.setToggleState (path.isNotEmpty());
    pathComponent.setPath (path, false);
    updateEnablement();
}

void DefaultResourceCheckBox::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void DefaultResourceCheckBox::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void DefaultResourceCheckBox::notifyListeners()
{
    for (int i = listeners.size(); --i >= 0;)
    {
        listeners.getUnchecked (i)->defaultResourceChanged (this);
        i = juce::jmin (i, listeners.size());
    }
}

void DefaultResourceCheckBox::updateEnablement()
{
    pathComponent.setEnabled (checkBox.getToggleState());
}

void DefaultResourceCheckBox::checkBoxChanged (CheckBox*)
{
    updateEnablement();
    notifyListeners();
}

void DefaultResourceCheckBox::pathChanged (PathComponent*)
{
    notifyListeners();
}

void DefaultResourceCheckBox::childBoundsChanged (juce::Component*)
{
    updateLayout();
}

void DefaultResourceCheckBox::resized()
{
    updateLayout();
}

void DefaultResourceCheckBox::updateLayout()
{
    if (layingOut)
        return;

    const juce::ScopedValueSetter<bool> guard (layingOut, true);
    setSize (getWidth(), juce::jmax (checkBox.getHeight(), pathComponent.getHeight()));
    checkBox.setTopLeftPosition (0, (getHeight() - checkBox.getHeight()) / 2);
    const int x = checkBox.getWidth() + gap;
    pathComponent.setBounds (x, 0, juce::jmax (0, getWidth() - x), pathComponent.getHeight());
}
