#include "gui/widgets/GFXDisplay.h"

#include "gui/controls/TextKeyFilter.h"
#include "gui/widgets/SkinElement.h"
#include "gui/widgets/SkinImages.h"

GFXDisplay::GFXDisplay (const juce::String& name)
    : juce::Component (name)
{
    setWantsKeyboardFocus (true);
    startTimer (250);
}

GFXDisplay::~GFXDisplay()
{
    const juce::ScopedValueSetter<bool> moving (reparenting, true);
    liftedWindow.lower();
}

void GFXDisplay::updateFromParameter (Parameter* changed)
{
    setText (changed->getText());
}

void GFXDisplay::setText (const juce::String& newText)
{
    text = newText;
    shownText = newText;
    repaint();
}

void GFXDisplay::addListener (GFXDisplayListener* listener)
{
    if (listener != nullptr)
        displayListeners.addIfNotAlreadyThere (listener);
}

void GFXDisplay::removeListener (GFXDisplayListener* listener)
{
    displayListeners.removeFirstMatchingValue (listener);
}

void GFXDisplay::setEditingAllowed (bool shouldBeAllowed)
{
    editingAllowed = shouldBeAllowed;
    setWantsKeyboardFocus (shouldBeAllowed);
    setMouseClickGrabsKeyboardFocus (shouldBeAllowed);

    if (shouldBeAllowed)
        return;

    if (editing)
        finishEditing();

    // Not even a display at rest keeps the keys once editing is off.
    if (hasKeyboardFocus (false))
        giveAwayKeyboardFocus();
}

void GFXDisplay::blinkStateChanged()
{
    shownText = isInBlinkOnPhase() ? juce::String() : text;
    repaint();
}

void GFXDisplay::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    if (SkinElement::hasAttribute (element, "name"))
        setName (SkinElement::getString (element, "name"));

    GUIController::loadFromXml (element, parameters, events, context);

    if (SkinElement::hasAttribute (element, "caretColour"))
        setColour (juce::CaretComponent::caretColourId, SkinElement::parseColour (SkinElement::getString (element, "caretColour")));

    if (SkinElement::hasAttribute (element, "backgroundColour"))
        setColour (juce::TextEditor::backgroundColourId, SkinElement::parseColour (SkinElement::getString (element, "backgroundColour")));

    setEnabled (SkinElement::getString (element, "readonly", "no") != "yes");

    if (auto* size = SkinElement::getChild (element, "size"))
        setSize (juce::jmax (0, SkinElement::getInt (*size, "width", 0)), juce::jmax (0, SkinElement::getInt (*size, "height", 0)));

    if (auto* pos = SkinElement::getChild (element, "pos"))
        setTopLeftPosition (SkinElement::getInt (*pos, "left", 0), SkinElement::getInt (*pos, "top", 0));

    for (auto* gfx : element.getChildIterator())
    {
        if (!SkinElement::hasTag (*gfx, "gfx"))
            continue;

        auto loaded = SkinImages::load (SkinElement::getString (*gfx, "resource"));

        if (loaded.isValid())
            fontImage = loaded;

        fontHeight = SkinElement::getInt (*gfx, "fontHeight", 0);

        const auto first = SkinElement::getString (*gfx, "firstASCII", " ");
        firstASCII = first.isNotEmpty() ? (int) first[0] : 32;
    }

    updateFontLayout();
    repaint();
}

void GFXDisplay::updateFontLayout()
{
    if (fontImage.isValid())
        glyphWidth = fontImage.getWidth();

    // Without a glyph height (or too short a strip) no glyph exists; nothing may divide by it.
    // Halving the height first gives the same count and cannot overflow on an absurd height.
    glyphCount = fontHeight >= 1 && fontImage.isValid() ? fontImage.getHeight() / 2 / fontHeight : 0;
    lastASCII = glyphCount >= 1 ? firstASCII + glyphCount - 1 : firstASCII;
}

int GFXDisplay::getNumCells() const noexcept
{
    return glyphWidth >= 1 ? getWidth() / glyphWidth : 0;
}

int GFXDisplay::getGlyphIndex (juce::juce_wchar character) const noexcept
{
    return juce::jlimit (firstASCII, lastASCII, (int) character) - firstASCII;
}

void GFXDisplay::paint (juce::Graphics& g)
{
    g.fillAll (findColour (juce::TextEditor::backgroundColourId));

    if (!fontImage.isValid())
    {
        g.setColour (juce::Colours::black);
        g.setFont (juce::Font());
        g.drawText (shownText, getLocalBounds(), juce::Justification::centredLeft, false);
        return;
    }

    if (glyphWidth < 1 || fontHeight < 1 || glyphCount < 1)
        return;

    const int cells = getWidth() / glyphWidth;
    const int x0 = (getWidth() - cells * glyphWidth) / 2;
    const int y0 = (getHeight() - fontHeight) / 2;
    const int length = shownText.length();
    const int caretIndex = editing && caretVisible ? caretPosition : -1;

    int start = firstVisible;

    if (centreShortText && cells > length)
        start -= (cells - length) / 2;

    // Only the cells inside the area being painted: a very wide display stays quick.
    const auto clip = g.getClipBounds();
    const int firstCell = juce::jmax (0, (clip.getX() - x0) / glyphWidth);
    const int endCell = juce::jmin (cells, (clip.getRight() - x0) / glyphWidth + 1);

    for (int i = firstCell; i < endCell; ++i)
    {
        const int index = start + i;
        const auto character = index >= 0 && index < length ? shownText[index] : (juce::juce_wchar) ' ';
        int sourceY = fontHeight * getGlyphIndex (character);

        // The caret marks the character at the caret's text position.
        if (index == caretIndex && caretAsInverseGlyph)
            sourceY += glyphCount * fontHeight;

        if (sourceY + fontHeight <= fontImage.getHeight())
            g.drawImage (fontImage, x0 + i * glyphWidth, y0, glyphWidth, fontHeight, 0, sourceY, glyphWidth, fontHeight);
    }
}

void GFXDisplay::scrollToCaret()
{
    const int visible = getNumCells();
    const int c = caretPosition;
    const int beforeCaret = c > 0 ? c - 1 : c;

    if (visible - 1 + firstVisible >= c + 1)
    {
        if (firstVisible >= c)
            firstVisible = beforeCaret;
    }
    else
    {
        firstVisible = c - visible + 1 + (c < text.length() ? 1 : 0);
        firstVisible = juce::jmin (firstVisible, beforeCaret);
    }

    firstVisible = juce::jmax (0, firstVisible);
}

bool GFXDisplay::keyPressed (const juce::KeyPress& key)
{
    // Outside an edit the keys are the host's (its shortcuts).
    if (!editing)
        return false;

    const bool plain = !key.getModifiers().isAnyModifierKeyDown();
    const int code = key.getKeyCode();

    if (plain && code == juce::KeyPress::returnKey)
    {
        finishEditing();
        return true;
    }

    if (plain && code == juce::KeyPress::escapeKey)
    {
        setText (originalText);
        finishEditing();
        return true;
    }

    auto edited = text;

    if (plain && code == juce::KeyPress::backspaceKey)
    {
        if (caretPosition > 0)
            edited = edited.substring (0, caretPosition - 1) + edited.substring (caretPosition);

        --caretPosition;
    }
    else if (plain && code == juce::KeyPress::deleteKey)
    {
        edited = edited.substring (0, caretPosition) + edited.substring (caretPosition + 1);
    }
    else if (plain && code == juce::KeyPress::homeKey)
    {
        caretPosition = 0;
    }
    else if (plain && code == juce::KeyPress::endKey)
    {
        caretPosition = edited.length();
    }
    else if (plain && code == juce::KeyPress::leftKey)
    {
        --caretPosition;
    }
    else if (plain && code == juce::KeyPress::rightKey)
    {
        ++caretPosition;
    }
    else if (const auto character = TextKeyFilter::getTypedCharacter (key); character != 0 && code >= firstASCII && code <= lastASCII)
    {
        edited = edited.substring (0, caretPosition) + juce::String::charToString (character) + edited.substring (caretPosition);
        ++caretPosition;
    }

    if (edited != text)
        setText (edited);

    caretPosition = juce::jlimit (0, text.length(), caretPosition);
    scrollToCaret();
    startTimer (500);
    caretVisible = true;
    repaint();
    return true;
}

bool GFXDisplay::mayStartEditing() const
{
    return !editing && !reparenting && editingAllowed && isEnabled();
}

void GFXDisplay::focusGained (FocusChangeType cause)
{
    // Focus handed back by the toolkit (a focused display left the panel; a click on a
    // widget that takes no focus) comes directly or from a press elsewhere: no edit then.
    if (cause != focusChangedByMouseClick || !mayStartEditing())
        return;

    const auto mouse = juce::Desktop::getInstance().getMainMouseSource();

    if (mouse.isDragging())
        if (auto* pressed = mouse.getComponentUnderMouse(); pressed != this && !isParentOf (pressed))
            return;

    beginEditing();
}

void GFXDisplay::mouseDown (const juce::MouseEvent&)
{
    // A display that kept the focus without editing starts on a click of its own.
    if (mayStartEditing() && hasKeyboardFocus (false))
        beginEditing();
}

void GFXDisplay::focusLost (FocusChangeType)
{
    if (!reparenting && !liftedWindow.keepsThroughFocusLoss())
        finishEditing();
}

void GFXDisplay::beginEditing()
{
    editing = true;
    originalText = text;
    caretPosition = text.length();
    firstVisible = 0;
    scrollToCaret();
    caretVisible = true;
    startTimer (500);

    if (!isOnDesktop())
    {
        savedParent = getParentComponent();
        savedBounds = getBounds();
    }

    // Lifted out of the panel in the same place, so the edit draws above the panel and takes
    // the keys. Only a display on screen can be lifted (and only such a one really has focus).
    if (savedParent != nullptr && isShowing() && !isOnDesktop())
    {
        liftedWindow.noteFocus();
        const juce::ScopedValueSetter<bool> moving (reparenting, true);

        // Let go first: a focused child taken from its panel hands the focus to the panel,
        // which would pass it on to another of its controls.
        giveAwayKeyboardFocus();
        liftedWindow.lift (*savedParent, savedBounds);
    }

    repaint();
}

void GFXDisplay::finishEditing()
{
    if (!editing)
        return;

    editing = false;
    caretPosition = 0;
    firstVisible = 0;
    scrollToCaret();
    // The desktop window is left from the message loop: this call may come from its own
    // key or focus handling, which must not see it deleted underneath.
    if (isOnDesktop())
        juce::MessageManager::callAsync ([safeThis = juce::Component::SafePointer<GFXDisplay> (this)]
                                         {
            if (safeThis != nullptr)
                safeThis->returnToParent(); });

    stopTimer();

    if (text != originalText)
    {
        // Reported once: a later focus loss must not report the same edit again.
        originalText = text;

        for (int i = displayListeners.size() - 1; i >= 0; i = juce::jmin (i, displayListeners.size()) - 1)
            displayListeners.getUnchecked (i)->displayTextChanged (this);
    }

    repaint();
}

void GFXDisplay::returnToParent()
{
    if (editing || !isOnDesktop())
        return;

    const juce::ScopedValueSetter<bool> moving (reparenting, true);
    liftedWindow.putBack (true);
}

void GFXDisplay::liftedPlaceGone()
{
    finishEditing();
}

void GFXDisplay::liftedFocusGone()
{
    finishEditing();
}

void GFXDisplay::timerCallback()
{
    if (!editing && !hasKeyboardFocus (true))
        return;

    caretVisible = !caretVisible;
    repaint();
}
