#pragma once

#include "gui/controls/PopupMenuEx.h"

/** A drop-down field whose list is a PopupMenuEx. The owner fills getMenu (),
    sets the selected id and calls updateText (). */
class ComboBoxEx : public juce::Component,
                   public PopupMenuEx::Listener
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void comboBoxExChanged (ComboBoxEx* comboBox) = 0;
    };

    ComboBoxEx();
    ~ComboBoxEx() override;

    PopupMenuEx& getMenu() noexcept { return menu; }

    void setSelectedId (int id) noexcept { selectedId = id; }
    int getSelectedId() const noexcept { return selectedId; }
    const juce::String& getText() const noexcept { return text; }
    bool isSelectedEnabled() const noexcept { return selectedEnabled; }

    /** Shows the selected item's text ("---" when it has none) and ticks it. */
    void updateText();

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    void popupMenuItemSelected (PopupMenuEx* menu, int id, bool ticked) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void paint (juce::Graphics& g) override;

private:
    juce::String text;
    int selectedId = -1;
    bool selectedEnabled = false;
    PopupMenuEx menu;
    juce::Array<Listener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ComboBoxEx)
};
