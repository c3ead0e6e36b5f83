#pragma once

#include "gui/widgets/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A piano keyboard of up to 128 keys played with the mouse. Keys draw themselves from
    per-key filmstrips given in the skin or, without one, in the look and feel's colours.
    Message thread only. */
class MusicKeyboard : public GUIController, public juce::Component
{
public:
    enum ColourIds
    {
        outlineColourId = 0x0F002100,
        whiteKeyColourId = 0x0F002101,
        blackKeyColourId = 0x0F002102,
        whiteKeyPressedColourId = 0x0F002103,
        blackKeyPressedColourId = 0x0F002104
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void keyPressed (int note) = 0;
        virtual void keyReleased (int note) = 0;
    };

    /** One key; it leaves the mouse to the keyboard. */
    class Key : public juce::Component
    {
    public:
        Key (MusicKeyboard& owner, int note);

        int getNote() const noexcept { return note; }
        bool isPressed() const noexcept { return pressed; }
        bool isBlack() const noexcept { return isBlackNote (note); }
        bool hasImage() const noexcept { return image.isValid(); }
        int getLeftNeighbours() const noexcept { return left; }
        int getRightNeighbours() const noexcept { return right; }

        /** The filmstrip frame for the key's and its neighbours' states. */
        int getFrameIndex() const;

        void paint (juce::Graphics& g) override;

    private:
        friend class MusicKeyboard;

        /** Reads one Key element of the skin; keyboardPosition turns panel coordinates into ours. */
        void loadFromXml (const juce::XmlElement& element, juce::Point<int> keyboardPosition);

        MusicKeyboard& keyboard;
        const int note;
        bool pressed = false;
        juce::Image image;
        int framesNum = 0, halfFrames = 0;
        int frameWidth = 0, frameHeight = 0;
        int left = 0, right = 0;

        JUCE_DECLARE_NON_COPYABLE (Key)
    };

    static constexpr int numKeys = 128;

    explicit MusicKeyboard (const juce::String& name);

    static bool isBlackNote (int note) noexcept;

    // Both listener kinds stay reachable on the concrete widget.
    using GUIController::addListener;
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;

    /** The visible range, kept within 0..127 and first <= last. */
    void setKeyRange (int first, int last);
    int getFirstKey() const noexcept { return firstKey; }
    int getLastKey() const noexcept { return lastKey; }

    void setMouseEnabled (bool shouldBeEnabled);
    bool isMouseEnabled() const noexcept { return mouseEnabled; }

    Key* getKey (int note) const noexcept { return keys[note]; }
    bool isKeyPressed (int note) const noexcept;

    /** The frontmost visible key at a point of the keyboard, or null. */
    Key* getKeyAt (juce::Point<int> position) const;

    /** The key the mouse holds down, or null. */
    Key* getCurrentKey() const noexcept { return currentKey; }

    /** Places the keys without images over the width. */
    void layoutKeys();

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

    /** A colour of the keyboard family: set on the keyboard, else from the look and feel. */
    juce::Colour getKeyboardColour (int colourId) const;

private:
    void pressKey (Key& key);
    void releaseKey (Key& key);
    void repaintNeighboursOf (int note);

    juce::OwnedArray<Key> keys;
    juce::ListenerList<Listener> listeners; // last added hears first
    Key* currentKey = nullptr;
    int firstKey = 0, lastKey = numKeys - 1;
    bool mouseEnabled = true;

    JUCE_DECLARE_NON_COPYABLE (MusicKeyboard)
};
