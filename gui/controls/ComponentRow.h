#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Lays its children out side by side (a row) or one under the other (a column),
    at their own sizes, and sizes itself to fit them. */
class ComponentRow : public juce::Component
{
public:
    enum Orientation
    {
        row = 0,
        column = 1
    };

    enum Alignment
    {
        start = 0,
        centre = 1,
        end = 2
    };

    ComponentRow (int orientation = row, int alignment = start, int spacing = 0);

    void setOrientation (int newOrientation);
    void setAlignment (int newAlignment);
    void setSpacing (int newSpacing);

    int getOrientation() const noexcept { return orientation; }
    int getAlignment() const noexcept { return alignment; }
    int getSpacing() const noexcept { return spacing; }

    /** Sizes the container to its children and places them; runs whenever the
        children or their sizes change. */
    void layoutComponents();

    void childrenChanged() override;
    void childBoundsChanged (juce::Component* child) override;

private:
    int orientation;
    int alignment;
    int spacing;
    bool layingOut = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ComponentRow)
};
