#pragma once

#include "gui/controls/PseudoModalComponent.h"

#include <memory>
#include <optional>
#include <vector>

/** The toolkit's popup menu: a model of items, optionally with sub-menus, shown
    pseudo-modally over the editor with one window per open menu level. */
class PopupMenuEx
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void popupMenuItemSelected (PopupMenuEx* menu, int id, bool ticked) = 0;
    };

    class Item
    {
    public:
        PopupMenuEx* owner = nullptr;
        int id = 0;
        juce::String text;
        bool ticked = false;
        bool enabled = true;
        bool containsTicked = false;  // derived: anything ticked at any depth of the sub-menu
        bool containsEnabled = false; // derived: any enabled leaf at any depth of the sub-menu
        std::unique_ptr<PopupMenuEx> subMenu;
    };

    class PopupMenuComponent;

    /** One open menu level. */
    class Window : public juce::Component
    {
    public:
        static constexpr int rowHeight = 16;

        Window (PopupMenuComponent& host, PopupMenuEx& menu);

        PopupMenuEx& getMenu() noexcept { return menu; }
        Item* getHoveredItem() const noexcept { return hoveredItem; }
        const juce::Font& getFont() const noexcept { return font; }

        /** The item index under a y position, or -1. */
        int getRowAt (int y) const;

        void updateSize();

        void lookAndFeelChanged() override;
        void paint (juce::Graphics& g) override;
        void mouseMove (const juce::MouseEvent& e) override;
        void mouseExit (const juce::MouseEvent& e) override;
        void mouseDown (const juce::MouseEvent& e) override;

    private:
        void pointAt (int index, bool openNow);

        PopupMenuComponent& host;
        PopupMenuEx& menu;
        juce::Font font{14.0f};
        Item* hoveredItem = nullptr;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Window)
    };

    /** Covers the whole editor while the menu is open and holds its windows. */
    class PopupMenuComponent : public PseudoModalComponent,
                               private juce::Timer
    {
    public:
        static constexpr int subMenuDelayMs = 100;

        explicit PopupMenuComponent (PopupMenuEx& rootMenu);
        ~PopupMenuComponent() override;

        int getNumWindows() const noexcept { return windows.size(); }
        Window* getWindow (int index) const noexcept { return windows[index]; }
        PopupMenuEx* getCurrentMenu() const noexcept { return currentMenu; }
        PopupMenuEx* getPendingMenu() const noexcept { return pendingMenu; }
        bool isSubMenuTimerRunning() const noexcept { return isTimerRunning(); }

        /** Opens the menu below a field, or above it when there is no room below. */
        void showBelow (juce::Component& field);

        void positionChanged() override;
        void shownStateChanged() override;
        void mouseDown (const juce::MouseEvent& e) override;

    private:
        friend class Window;

        void timerCallback() override;
        void openMenu (PopupMenuEx* menu);
        bool closeInnermostWindow();
        void closeAllWindows();
        juce::Point<int> placeInside (const Window& window) const;

        juce::OwnedArray<Window> windows; // outermost first
        PopupMenuEx& rootMenu;
        PopupMenuEx* pendingMenu = nullptr;
        PopupMenuEx* currentMenu = nullptr;
        juce::Point<int> nextPosition;
        std::optional<juce::Rectangle<int>> field; // the field the root opens below, in our frame

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PopupMenuComponent)
    };

    //==============================================================================
    /** An empty top menu with its (hidden) component; the owner adds the component
        below the editor before the first show. */
    PopupMenuEx();

    /** Copies name and items (sub-menus deeply), not the listeners; a copy owns no
        component. */
    PopupMenuEx (const PopupMenuEx& other);

    /** Copies name and items; the target keeps its own component and listeners. */
    PopupMenuEx& operator= (const PopupMenuEx& other);

    virtual ~PopupMenuEx();

    void addItem (int id, const juce::String& text);

    /** Appends an item that owns a copy of subMenu. */
    void addSubMenu (int id, const juce::String& text, const PopupMenuEx& subMenu);

    void setItemTicked (int id, bool ticked, bool untickOthers);
    void setItemEnabled (int id, bool enabled);

    /** Depth first in item order; the first leaf with that id. */
    Item* findItem (int id) const;
    juce::String getItemText (int id) const;

    int getNumItems() const noexcept { return (int) items.size(); }
    Item* getItem (int index) const noexcept;
    int getLevel() const noexcept { return level; }
    const juce::String& getName() const noexcept { return name; }
    void setName (const juce::String& newName) { name = newName; }

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    PopupMenuComponent* getComponent() const noexcept { return component.get(); }

    /** Hides the component, then tells every listener, last added first. */
    void itemChosen (int id, bool ticked);

private:
    void copyItemsFrom (const PopupMenuEx& other);
    void renumber (int newLevel);
    void updateDerivedFlags();
    void changed();

    juce::Array<Listener*> listeners;
    juce::String name;
    int level = 0;
    std::vector<std::unique_ptr<Item>> items;
    std::unique_ptr<PopupMenuComponent> component;

    JUCE_LEAK_DETECTOR (PopupMenuEx)
};
