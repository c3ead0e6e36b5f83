#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A window drawn over the editor panel in place of a real modal window. When
    shown it moves itself into a covering component laid over the whole editor,
    which swallows the mouse outside it and may dim the editor.

    The owner first adds it somewhere below the editor; the first show finds the
    editor (the nearest parent that is a Desktop) and attaches there. */
class PseudoModalComponent : public juce::Component
{
public:
    /** Marks the component that pseudo-modal windows cover (the editor). */
    class Desktop
    {
    public:
        virtual ~Desktop() = default;
    };

    /** Laid over the whole desktop component while its owner is shown; it follows
        the desktop's size. */
    class CoveringWindow : public juce::Component,
                           private juce::ComponentListener
    {
    public:
        explicit CoveringWindow (PseudoModalComponent& owner);
        ~CoveringWindow() override;

        void parentHierarchyChanged() override;
        void resized() override;
        void paint (juce::Graphics& g) override;

    private:
        void componentMovedOrResized (juce::Component& component, bool wasMoved, bool wasResized) override;

        PseudoModalComponent& owner;
        juce::Component::SafePointer<juce::Component> watchedParent;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CoveringWindow)
    };

    PseudoModalComponent();
    ~PseudoModalComponent() override;

    /** Shows the component centred over the editor. */
    void show();

    /** Shows it at placement 1 and a stored position; with relativeTo the position
        is converted from relativeTo's coordinates into this component's. */
    void showAt (int placement, juce::Point<int> position, juce::Component* relativeTo);

    void hide();

    /** Whether the component is shown: its covering window is visible, or, when it
        is not attached, whether the component itself is visible. */
    bool isShown() const;

    CoveringWindow& getCoveringWindow() noexcept { return coveringWindow; }
    int getPlacement() const noexcept { return placement; }
    juce::Point<int> getStoredPosition() const noexcept { return position; }

    //==============================================================================
    virtual bool dimsBackground();
    virtual void positionChanged();
    virtual void shownStateChanged();

    void parentHierarchyChanged() override;

private:
    bool isAttached() const;
    void attachIfNeeded();
    void showStored (int newPlacement, juce::Point<int> newPosition);

    CoveringWindow coveringWindow;
    int placement = 0;
    juce::Point<int> position;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PseudoModalComponent)
};
