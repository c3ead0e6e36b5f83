#include "gui/controls/ComponentRow.h"

ComponentRow::ComponentRow (int o, int a, int s)
    : orientation (o)
    , alignment (a)
    , spacing (s)
{
}

void ComponentRow::setOrientation (int newOrientation)
{
    if (newOrientation != orientation)
    {
        orientation = newOrientation;
        layoutComponents();
    }
}

void ComponentRow::setAlignment (int newAlignment)
{
    if (newAlignment != alignment)
    {
        alignment = newAlignment;
        layoutComponents();
    }
}

void ComponentRow::setSpacing (int newSpacing)
{
    if (newSpacing != spacing)
    {
        spacing = newSpacing;
        layoutComponents();
    }
}

void ComponentRow::layoutComponents()
{
    if (layingOut)
        return;

    const juce::ScopedValueSetter<bool> guard (layingOut, true);
    const bool isRow = orientation == row;
    const int count = getNumChildComponents();
    int mainExtent = 0, crossExtent = 0;

    for (int i = 0; i < count; ++i)
    {
        auto* c = getChildComponent (i);
        mainExtent += isRow ? c->getWidth() : c->getHeight();
        crossExtent = juce::jmax (crossExtent, isRow ? c->getHeight() : c->getWidth());
    }

    if (count > 0)
        mainExtent += (count - 1) * spacing;

    setSize (isRow ? mainExtent : crossExtent, isRow ? crossExtent : mainExtent);

    int offset = 0;

    for (int i = 0; i < count; ++i)
    {
        auto* c = getChildComponent (i);
        const int childCross = isRow ? c->getHeight() : c->getWidth();
        const int cross = alignment == centre ? (crossExtent - childCross) / 2
                          : alignment == end  ? crossExtent - childCross
                                              : 0;

        if (isRow)
            c->setTopLeftPosition (offset, cross);
        else
            c->setTopLeftPosition (cross, offset);

        offset += (isRow ? c->getWidth() : c->getHeight()) + spacing;
    }
}

void ComponentRow::childrenChanged()
{
    layoutComponents();
}

void ComponentRow::childBoundsChanged (juce::Component*)
{
    layoutComponents();
}
