#pragma once

#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The current pattern number on four bitmap digits: as a note name with octave (note
    mode), as a two-digit number (numeric mode) or as bank and slot (bank-and-slot mode). */
class PatternNumberDisplay : public GUIController, public juce::Component
{
public:
    enum DisplayMode
    {
        noteMode = 0,
        numericMode = 1,
        bankAndSlotMode = 2
    };

    /** One digit: a fixed-length filmstrip whose frames mean the texts of its class. */
    class PatternNumberDisplayDigit : public GFXAnimation
    {
    public:
        PatternNumberDisplayDigit (int framesNum, int x, const juce::Image& image, int width, int height);

        void paint (juce::Graphics& g) override;

        /** What a frame shows; empty for the blank frame and frames without meaning. */
        virtual juce::String getFrameText (int frame) const = 0;
    };

    /** Blank, "0" to "9", "P.". */
    class PatternNumberDisplayFirstDigit : public PatternNumberDisplayDigit
    {
    public:
        PatternNumberDisplayFirstDigit (int x, const juce::Image& image, int width, int height);
        juce::String getFrameText (int frame) const override;
        static constexpr int numFrames = 12;
    };

    /** Blank, "0" to "9", the note letters "C" to "B", "-". */
    class PatternNumberDisplaySecondDigit : public PatternNumberDisplayDigit
    {
    public:
        PatternNumberDisplaySecondDigit (int x, const juce::Image& image, int width, int height);
        juce::String getFrameText (int frame) const override;
        static constexpr int numFrames = 19;
    };

    /** Blank, "0" to "9", "#", "-". */
    class PatternNumberDisplayThirdDigit : public PatternNumberDisplayDigit
    {
    public:
        PatternNumberDisplayThirdDigit (int x, const juce::Image& image, int width, int height);
        juce::String getFrameText (int frame) const override;
        static constexpr int numFrames = 13;
    };

    /** Blank, "0" to "9". */
    class PatternNumberDisplayFourthDigit : public PatternNumberDisplayDigit
    {
    public:
        PatternNumberDisplayFourthDigit (int x, const juce::Image& image, int width, int height);
        juce::String getFrameText (int frame) const override;
        static constexpr int numFrames = 11;
    };

    explicit PatternNumberDisplay (const juce::String& name);
    ~PatternNumberDisplay() override;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;
    void enablementChanged() override;

    /** Keeps the number as given, so that a later mode shows it in that mode's own range;
        refreshes only on a change. */
    void setPatternNumber (int n);
    int getPatternNumber() const noexcept { return number; }

    /** The given number clamped to the current mode's range: what the digits show. */
    int getShownNumber() const noexcept { return clampToRange (number); }

    /** Sets the four digit frames from the shown number and the mode. */
    void updateDigits();

    /** Set by the owner; a new mode shows the given number in its range at once. */
    void setDisplayMode (int mode);
    int getDisplayMode() const noexcept { return displayMode; }

    int getSlotMax() const noexcept { return slotMax; }
    int getNumDigits() const noexcept { return digits.size(); }
    PatternNumberDisplayDigit* getDigit (int index) const noexcept { return digits[index]; }

private:
    int clampToRange (int n) const noexcept;

    juce::OwnedArray<PatternNumberDisplayDigit> digits;
    int number = 0;
    int notePatternMin = 0, notePatternMax = 127;
    int numericPatternMin = 1, numericPatternMax = 16;
    int bankAndSlotPatternMin = 1, bankAndSlotPatternMax = 96;
    int slotMax = 12;
    int displayMode = noteMode;
};
