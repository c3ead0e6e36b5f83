#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <map>

class GFXToggleButton;

/** The process-wide registry of toggle-button drag groups: pressing one button of a
    group and dragging sideways paints its new state onto every button whose edge the
    pointer crosses. Used on the message thread only. */
class GFXToggleButtonDragGroup : public juce::DeletedAtShutdown
{
public:
    GFXToggleButtonDragGroup() = default;
    ~GFXToggleButtonDragGroup() override;

    JUCE_DECLARE_SINGLETON (GFXToggleButtonDragGroup, false)

    /** Creates the group on first use; a button joins once. */
    void addButton (const juce::String& name, GFXToggleButton* button);

    /** A destroyed button must leave: groups outlive editors (and serve every instance). */
    void removeButton (const juce::String& name, GFXToggleButton* button);

    /** source is the pressed button: only buttons in its window are painted. */
    void beginDrag (const juce::String& name, int x, int y, juce::Component* source = nullptr);
    void dragTo (const juce::String& name, int x, int y);
    void setPaintState (const juce::String& name, bool state);

    int getNumButtons (const juce::String& name) const;
    bool hasGroup (const juce::String& name) const { return groups.find (name) != groups.end(); }

private:
    struct Group
    {
        juce::Array<GFXToggleButton*> buttons;
        int startX = 0, startY = 0;
        bool paintState = false;
        juce::Component::SafePointer<juce::Component> sourceWindow;
    };

    std::map<juce::String, Group> groups;

    JUCE_DECLARE_NON_COPYABLE (GFXToggleButtonDragGroup)
};
