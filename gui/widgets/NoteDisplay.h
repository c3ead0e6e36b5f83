#pragma once

#include "gui/widgets/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** One MIDI note shown as letter, accidental and octave from three filmstrips (or drawn
    text without them), linked to an integer parameter. Dragging up raises the note by
    one semitone per 20 pixels. Message thread only. */
class NoteDisplay : public GUIController, public juce::Component
{
public:
    explicit NoteDisplay (const juce::String& name);

    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;
    void updateFromParameter (Parameter* parameter) override;
    void blinkStateChanged() override;

    /** The frames follow the enablement, which the toolkit changes without a repaint. */
    void enablementChanged() override { repaint(); }

    int getNote() const noexcept { return note; }

    /** Shown in colour: the widget and its parents enabled, not in the blink on-phase. */
    bool isActive() const;

    /** The frames each strip shows now (0 is blank). */
    int getNotesFrame() const;
    int getTonesFrame() const;
    int getOctavesFrame() const;

    juce::Rectangle<int> getNotesArea() const noexcept { return notesArea; }
    juce::Rectangle<int> getTonesArea() const noexcept { return tonesArea; }
    juce::Rectangle<int> getOctavesArea() const noexcept { return octavesArea; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    static juce::Rectangle<int> frameSizeOf (const juce::Image& strip, int frames, juce::Point<int> fallback);
    void layoutParts();
    void drawPart (juce::Graphics& g, const juce::Image& strip, juce::Rectangle<int> area, int frame, const juce::String& text) const;

    juce::Image notesImage, tonesImage, octavesImage;
    juce::Rectangle<int> notesArea, tonesArea, octavesArea;
    int partWidth = 10, partHeight = 16;
    int left = 0, top = 0;
    int note = 0;

    bool dragging = false;
    double dragStartNote = 0.0;
    int pixelsPerStep = 20;
    double step = 1.0;

    JUCE_DECLARE_NON_COPYABLE (NoteDisplay)
};
