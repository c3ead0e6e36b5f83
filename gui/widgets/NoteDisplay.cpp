#include "gui/widgets/NoteDisplay.h"

#include "framework/NoteNames.h"
#include "gui/widgets/SkinElement.h"
#include "gui/widgets/SkinImages.h"

namespace
{
constexpr int notesFrames = 9, tonesFrames = 3, octavesFrames = 13;
} // namespace

NoteDisplay::NoteDisplay (const juce::String& name)
    : juce::Component (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts); Return must not click again.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
    layoutParts();
}

juce::Rectangle<int> NoteDisplay::frameSizeOf (const juce::Image& strip, int frames, juce::Point<int> fallback)
{
    if (strip.isValid())
        return {strip.getWidth(), strip.getHeight() / frames};

    return {fallback.x, fallback.y};
}

void NoteDisplay::layoutParts()
{
    const juce::Point<int> part (partWidth, partHeight);
    const auto n = frameSizeOf (notesImage, notesFrames, part);
    const auto t = frameSizeOf (tonesImage, tonesFrames, part);
    const auto o = frameSizeOf (octavesImage, octavesFrames, part);

    notesArea = n;
    tonesArea = t.withX (n.getWidth());
    octavesArea = o.withX (n.getWidth() + t.getWidth());

    setBounds (left, top, n.getWidth() + t.getWidth() + o.getWidth(), n.getHeight() + t.getHeight() + o.getHeight());
}

void NoteDisplay::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    GUIController::loadFromXml (element, parameters, events, context);

    if (!SkinElement::hasTag (element, "NoteDisplay"))
        return;

    if (auto* size = SkinElement::getChild (element, "size"))
    {
        partWidth = juce::jmax (0, SkinElement::getInt (*size, "width", 0));
        partHeight = juce::jmax (0, SkinElement::getInt (*size, "height", 0));
    }

    if (auto* gfx = SkinElement::getChild (element, "gfx"))
    {
        auto readStrip = [gfx] (const char* tag, juce::Image& strip)
        {
            if (auto* child = SkinElement::getChild (*gfx, tag))
            {
                auto loaded = SkinImages::load (SkinElement::getString (*child, "resource"));

                if (loaded.isValid())
                    strip = loaded;
            }
        };

        readStrip ("notes", notesImage);
        readStrip ("tones", tonesImage);
        readStrip ("octaves", octavesImage);
    }

    if (auto* pos = SkinElement::getChild (element, "pos"))
    {
        left = SkinElement::getInt (*pos, "left", 0);
        top = SkinElement::getInt (*pos, "top", 0);
    }

    layoutParts();
    repaint();
}

void NoteDisplay::updateFromParameter (Parameter* changed)
{
    const int newNote = juce::jlimit (0, 127, changed->getIntValue());

    if (newNote != note)
    {
        note = newNote;
        repaint();
    }
}

void NoteDisplay::blinkStateChanged()
{
    repaint();
}

bool NoteDisplay::isActive() const
{
    return isEnabled() && !isInBlinkOnPhase();
}

int NoteDisplay::getNotesFrame() const
{
    return isActive() ? getNaturalIndex (note) + 1 : 0;
}

int NoteDisplay::getTonesFrame() const
{
    return isActive() ? (isNaturalNote (note) ? 2 : 1) : 0;
}

int NoteDisplay::getOctavesFrame() const
{
    return isActive() ? note / 12 + 1 : 0;
}

void NoteDisplay::drawPart (juce::Graphics& g, const juce::Image& strip, juce::Rectangle<int> area, int frame, const juce::String& text) const
{
    if (strip.isValid())
    {
        const int h = area.getHeight();
        g.drawImage (strip, area.getX(), area.getY(), area.getWidth(), h, 0, frame * h, area.getWidth(), h);
        return;
    }

    g.setColour (juce::Colours::white);
    g.fillRect (area);

    if (isActive())
    {
        g.setColour (juce::Colours::black);
        g.drawFittedText (text, area, juce::Justification::centred, 1, 0.7f);
    }
}

void NoteDisplay::paint (juce::Graphics& g)
{
    drawPart (g, notesImage, notesArea, getNotesFrame(), getNoteLetter (note));
    drawPart (g, tonesImage, tonesArea, getTonesFrame(), isNaturalNote (note) ? "-" : "#");
    drawPart (g, octavesImage, octavesArea, getOctavesFrame(), juce::String (note / 12));
}

void NoteDisplay::mouseDown (const juce::MouseEvent&)
{
    sendGestureBegin();
    dragging = true;
    pixelsPerStep = 20;
    step = 1.0;
    dragStartNote = note;
}

void NoteDisplay::mouseDrag (const juce::MouseEvent& e)
{
    if (!dragging)
        return;

    // Integer division truncates toward zero, so the first 19 pixels either way change nothing.
    const int steps = -(e.getDistanceFromDragStartY() / pixelsPerStep);
    const int value = juce::jlimit (0, 127, (int) ((double) steps * step + dragStartNote));

    if (value == note)
        return;

    note = value;

    if (auto* linked = getParameter())
    {
        linked->setIntValue (note, true);
        sendValueChanged();
    }

    repaint();
}

void NoteDisplay::mouseUp (const juce::MouseEvent&)
{
    sendGestureEnd();
    dragging = false;
}
