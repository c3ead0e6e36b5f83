#include "gui/widgets/MusicKeyboard.h"

#include "gui/widgets/SkinElement.h"
#include "gui/widgets/SkinImages.h"

#include <cmath>

namespace
{
// Width factor and left shift of each white key, in key units, by pitch class.
struct WhiteKeyShape
{
    float factor, shift;
};

const WhiteKeyShape whiteKeyShapes[12] = {
    {1.6666f, 0.0f}, {}, {1.6666f, 0.3333f}, {}, {1.6666f, 0.6666f}, {1.75f, 0.0f}, {}, {1.75f, 0.25f}, {}, {1.9f, 0.51f}, {}, {1.75f, 0.75f}};

// More neighbours than this would need strips of millions of frames.
constexpr int maxNeighbours = 8;

int roundHalfAwayFromZero (float value)
{
    return (int) std::lround (value);
}
} // namespace

//==============================================================================
MusicKeyboard::Key::Key (MusicKeyboard& owner, int noteNumber)
    : juce::Component ("Key No. " + juce::String (noteNumber))
    , keyboard (owner)
    , note (noteNumber)
{
    setInterceptsMouseClicks (false, false);
}

int MusicKeyboard::Key::getFrameIndex() const
{
    int index = 0;

    for (int n = note + right; n > note; --n)
        index = index * 2 + (keyboard.isKeyPressed (n) ? 1 : 0);

    for (int n = note - 1; n >= note - left; --n)
        index = index * 2 + (keyboard.isKeyPressed (n) ? 1 : 0);

    if (pressed)
        index += halfFrames;

    return index;
}

void MusicKeyboard::Key::paint (juce::Graphics& g)
{
    if (image.isValid())
    {
        const int index = getFrameIndex();

        if (frameHeight > 0 && (index + 1) * frameHeight <= image.getHeight())
            g.drawImage (image, 0, 0, frameWidth, frameHeight, 0, index * frameHeight, frameWidth, frameHeight);

        return;
    }

    const auto area = getLocalBounds().toFloat();

    if (!isBlack())
    {
        g.setColour (keyboard.getKeyboardColour (pressed ? whiteKeyPressedColourId : whiteKeyColourId));
        g.fillRect (area);
        g.setColour (keyboard.getKeyboardColour (outlineColourId));
        g.drawRect (getLocalBounds(), 1);
    }
    else
    {
        g.setColour (keyboard.getKeyboardColour (pressed ? blackKeyPressedColourId : blackKeyColourId));
        g.fillRoundedRectangle (area, 1.5f);
        g.setColour (keyboard.getKeyboardColour (outlineColourId));
        g.drawRoundedRectangle (area.reduced (0.5f), 1.5f, 1.0f);
    }
}

void MusicKeyboard::Key::loadFromXml (const juce::XmlElement& element, juce::Point<int> keyboardPosition)
{
    left = juce::jlimit (0, maxNeighbours, SkinElement::getInt (element, "left", 0));
    right = juce::jlimit (0, maxNeighbours, SkinElement::getInt (element, "right", 0));
    repaint();

    auto* gfx = SkinElement::getChild (element, "gfx");

    if (gfx == nullptr)
        return;

    image = SkinImages::load (SkinElement::getString (*gfx, "resource"));
    framesNum = juce::jmax (0, SkinElement::getInt (*gfx, "framesNum", 0));
    halfFrames = framesNum / 2;

    if (auto* size = SkinElement::getChild (element, "size"))
    {
        frameWidth = juce::jmax (0, SkinElement::getInt (*size, "width", 0));
        frameHeight = juce::jmax (0, SkinElement::getInt (*size, "height", 0));
    }

    juce::Point<int> position;

    if (auto* pos = SkinElement::getChild (element, "pos"))
        position = {SkinElement::getInt (*pos, "left", 0), SkinElement::getInt (*pos, "top", 0)};

    setBounds (juce::Rectangle<int> (frameWidth, frameHeight).withPosition (position - keyboardPosition));
    repaint();
}

//==============================================================================
MusicKeyboard::MusicKeyboard (const juce::String& name)
    : juce::Component (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts).
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
    for (int note = 0; note < numKeys; ++note)
    {
        auto* key = keys.add (new Key (*this, note));
        addAndMakeVisible (key);

        // Black keys are hit first and drawn over the white ones.
        if (key->isBlack())
            key->toFront (false);
        else
            key->toBack();
    }

    layoutKeys();
}

bool MusicKeyboard::isBlackNote (int note) noexcept
{
    switch (((note % 12) + 12) % 12)
    {
        case 1:
        case 3:
        case 6:
        case 8:
        case 10:
            return true;
        default:
            return false;
    }
}

void MusicKeyboard::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.add (listener);
}

void MusicKeyboard::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

bool MusicKeyboard::isKeyPressed (int note) const noexcept
{
    return note >= 0 && note < numKeys && keys.getUnchecked (note)->isPressed();
}

void MusicKeyboard::setKeyRange (int first, int last)
{
    // A skin may give anything: the layout reads 128 keys and divides by the count.
    first = juce::jlimit (0, numKeys - 1, first);
    last = juce::jmax (first, juce::jlimit (0, numKeys - 1, last));

    if (first == firstKey && last == lastKey)
        return;

    firstKey = first;
    lastKey = last;
    layoutKeys();
}

void MusicKeyboard::setMouseEnabled (bool shouldBeEnabled)
{
    if (shouldBeEnabled != mouseEnabled)
    {
        mouseEnabled = shouldBeEnabled;
        currentKey = nullptr;
    }
}

void MusicKeyboard::layoutKeys()
{
    const float u = (float) getWidth() / (float) (lastKey - firstKey + 1);
    const int height = getHeight();
    float x = 0.0f;

    for (int note = firstKey; note <= lastKey; ++note)
    {
        auto* key = keys.getUnchecked (note);

        if (!key->hasImage())
        {
            if (key->isBlack())
            {
                key->setBounds (roundHalfAwayFromZero (x), -2, (int) u + 1, 2 + (int) (0.642f * (float) height));
            }
            else
            {
                const auto& shape = whiteKeyShapes[note % 12];
                key->setBounds (roundHalfAwayFromZero (x - shape.shift * u), -2, roundHalfAwayFromZero (shape.factor * u) + 1, height + 2);
            }
        }

        x += u;
    }

    for (auto* key : keys)
        key->setVisible (key->getNote() >= firstKey && key->getNote() <= lastKey);
}

MusicKeyboard::Key* MusicKeyboard::getKeyAt (juce::Point<int> position) const
{
    for (int i = getNumChildComponents(); --i >= 0;)
        if (auto* key = dynamic_cast<Key*> (getChildComponent (i)))
            if (key->isVisible() && key->getBounds().contains (position))
                return key;

    return nullptr;
}

void MusicKeyboard::pressKey (Key& key)
{
    key.pressed = true;
    key.repaint();
    currentKey = &key;
    listeners.call ([&key] (Listener& l)
                    { l.keyPressed (key.note); });
    repaintNeighboursOf (key.note);
}

void MusicKeyboard::releaseKey (Key& key)
{
    key.pressed = false;
    key.repaint();
    listeners.call ([&key] (Listener& l)
                    { l.keyReleased (key.note); });
    repaintNeighboursOf (key.note);
}

void MusicKeyboard::repaintNeighboursOf (int note)
{
    for (auto* key : keys)
        if (key->hasImage() && note >= key->note - key->left && note <= key->note + key->right)
            key->repaint();
}

void MusicKeyboard::mouseDown (const juce::MouseEvent& e)
{
    if (!mouseEnabled)
        return;

    if (auto* key = getKeyAt (e.getPosition()))
        if (!key->pressed)
            pressKey (*key);
}

void MusicKeyboard::mouseDrag (const juce::MouseEvent& e)
{
    if (!mouseEnabled)
        return;

    auto* under = getKeyAt (e.getPosition());
    auto* former = currentKey;

    if (currentKey != nullptr && currentKey != under)
    {
        if (currentKey->pressed)
            releaseKey (*currentKey);

        currentKey = nullptr;
    }

    if (under != nullptr && under != former && !under->pressed)
        pressKey (*under);
}

void MusicKeyboard::mouseUp (const juce::MouseEvent& e)
{
    if (!mouseEnabled)
        return;

    if (auto* key = getKeyAt (e.getPosition()))
        if (key->pressed)
            releaseKey (*key);

    // The mouse may have left the keyboard while a key was held.
    if (currentKey != nullptr && currentKey->pressed)
        releaseKey (*currentKey);

    currentKey = nullptr;
}

juce::Colour MusicKeyboard::getKeyboardColour (int colourId) const
{
    if (isColourSpecified (colourId) || getLookAndFeel().isColourSpecified (colourId))
        return findColour (colourId);

    switch (colourId)
    {
        case whiteKeyColourId:
            return juce::Colours::white;
        case whiteKeyPressedColourId:
            return juce::Colour (0xffb2b2b2);
        case blackKeyPressedColourId:
            return juce::Colour (0xff7f7f7f);
        default:
            return juce::Colours::black;
    }
}

void MusicKeyboard::paint (juce::Graphics& g)
{
    g.fillAll (getKeyboardColour (outlineColourId));
}

void MusicKeyboard::resized()
{
    layoutKeys();
}

void MusicKeyboard::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    GUIController::loadFromXml (element, parameters, events, context);

    if (!SkinElement::hasTag (element, "MusicKeyboard"))
        return;

    int width = 0, height = 0;

    if (auto* size = SkinElement::getChild (element, "size"))
    {
        width = SkinElement::getInt (*size, "width", 0);
        height = SkinElement::getInt (*size, "height", 0);
    }

    auto position = getPosition();

    if (auto* pos = SkinElement::getChild (element, "pos"))
        position = {SkinElement::getInt (*pos, "left", 0), SkinElement::getInt (*pos, "top", 0)};

    if (SkinElement::hasAttribute (element, "mouseEnabled"))
        setMouseEnabled (SkinElement::getBool (element, "mouseEnabled", true));

    if (SkinElement::hasAttribute (element, "firstKey") && SkinElement::hasAttribute (element, "lastKey"))
        setKeyRange (SkinElement::getInt (element, "firstKey", 0), SkinElement::getInt (element, "lastKey", numKeys - 1));

    if (auto* keysElement = SkinElement::getChild (element, "Keys"))
    {
        int note = firstKey;

        for (auto* keyElement : keysElement->getChildIterator())
        {
            if (!SkinElement::hasTag (*keyElement, "Key"))
                continue;

            if (note >= numKeys)
                break;

            keys.getUnchecked (note++)->loadFromXml (*keyElement, position);
        }
    }

    setBounds (juce::Rectangle<int> (juce::jmax (0, width), juce::jmax (0, height)).withPosition (position));
    layoutKeys();
    repaint();
}
