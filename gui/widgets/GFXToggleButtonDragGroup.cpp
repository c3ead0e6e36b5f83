#include "gui/widgets/GFXToggleButtonDragGroup.h"

#include "gui/widgets/GFXToggleButton.h"

JUCE_IMPLEMENT_SINGLETON (GFXToggleButtonDragGroup)

GFXToggleButtonDragGroup::~GFXToggleButtonDragGroup()
{
    groups.clear();
    clearSingletonInstance();
}

void GFXToggleButtonDragGroup::addButton (const juce::String& name, GFXToggleButton* button)
{
    if (button != nullptr)
        groups[name].buttons.addIfNotAlreadyThere (button);
}

void GFXToggleButtonDragGroup::removeButton (const juce::String& name, GFXToggleButton* button)
{
    auto group = groups.find (name);

    if (group != groups.end())
        group->second.buttons.removeAllInstancesOf (button);
}

int GFXToggleButtonDragGroup::getNumButtons (const juce::String& name) const
{
    auto group = groups.find (name);
    return group != groups.end() ? group->second.buttons.size() : 0;
}

void GFXToggleButtonDragGroup::beginDrag (const juce::String& name, int x, int y, juce::Component* source)
{
    auto group = groups.find (name);

    if (group == groups.end())
        return;

    group->second.startX = x;
    group->second.startY = y;
    group->second.sourceWindow = source != nullptr ? source->getTopLevelComponent() : nullptr;
}

void GFXToggleButtonDragGroup::dragTo (const juce::String& name, int x, int)
{
    auto found = groups.find (name);

    if (found == groups.end())
        return;

    auto& group = found->second;
    const int lo = juce::jmin (x, group.startX);
    const int hi = juce::jmax (x, group.startX);

    // Setting a state runs the button's click handling, which may touch the group:
    // work on a copy of the list.
    const auto buttons = group.buttons;
    const bool paintState = group.paintState;
    auto* window = group.sourceWindow.getComponent();

    for (auto* button : buttons)
    {
        // Another instance's editor may use the same group name: leave its buttons alone.
        if (window != nullptr && button->getTopLevelComponent() != window)
            continue;

        const auto bounds = button->getScreenBounds();
        const int leftEdge = bounds.getX();
        const int rightEdge = bounds.getX() + bounds.getWidth() - 1;

        if ((leftEdge >= lo && leftEdge <= hi) || (rightEdge >= lo && rightEdge <= hi))
            button->setToggleState (paintState, juce::sendNotification);
    }
}

void GFXToggleButtonDragGroup::setPaintState (const juce::String& name, bool state)
{
    auto group = groups.find (name);

    if (group != groups.end())
        group->second.paintState = state;
}
