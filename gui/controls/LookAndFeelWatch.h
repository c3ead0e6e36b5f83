#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Remembers which look and feel a control last took its values from. JUCE tells a
    component of a new look and feel only when one is set on it or an ancestor,
    not when the component moves under a parent with another one; controls ask
    this watch on every re-parenting and, on a change, send the look-and-feel
    change to themselves and their children (text buttons among them). */
class LookAndFeelWatch
{
public:
    /** True when the component's look and feel differs from the one last seen. */
    bool changed (const juce::Component& component) noexcept
    {
        const auto* now = &component.getLookAndFeel();

        if (now == seen)
            return false;

        seen = now;
        return true;
    }

private:
    const void* seen = nullptr; // compared only, never dereferenced
};
