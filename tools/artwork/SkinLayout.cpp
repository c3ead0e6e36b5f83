#include "SkinLayout.h"

namespace
{
struct Track
{
    const char* id;    // the widget name prefix the editor looks up
    const char* name;  // as in the parameter and event names
    const char* code;  // printed over the column
    const char* title; // printed beside the code
};

const Track tracks[8] = {
    {"BassDrum", "Bass Drum", "BD", "BASS DRUM"},
    {"SnareDrum", "Snare Drum", "SD", "SNARE DRUM"},
    {"LowTom", "Low Tom", "LT", "LOW TOM"},
    {"HiTom", "Hi Tom", "HT", "HI TOM"},
    {"Cymbal", "Cymbal", "CY", "CYMBAL"},
    {"OpenHiHat", "Open Hi Hat", "OH", "OPEN HAT"},
    {"ClosedHiHat", "Closed Hi Hat", "CH", "CLOSED HAT"},
    {"Accent", "Accent", "AC", "ACCENT"},
};

constexpr int numVoices = 7;
constexpr int columnWidth = 92;
constexpr int firstColumn = 27;
constexpr int stepWidth = 46;

constexpr float pi = juce::MathConstants<float>::pi;
// Knob frames and switch positions sweep from 135 degrees left of the top to 135 right.
constexpr float sweepStart = -0.75f * pi;
constexpr float sweep = 1.5f * pi;

int columnX (int track)
{
    return firstColumn + columnWidth * track;
}
int stepX (int step)
{
    return firstColumn + stepWidth * step;
}

juce::String twoDigits (int n)
{
    return juce::String (n).paddedLeft ('0', 2);
}

using Widget = SkinLayout::Widget;
using Ink = SkinLayout::Ink;

class Builder
{
public:
    SkinLayout layout;

    Widget& add (const char* tag, const juce::String& name, juce::Rectangle<int> area)
    {
        auto& w = layout.widgets.emplace_back();
        w.tag = tag;
        w.name = name;
        w.area = area;
        return w;
    }

    Widget& filmstrip (const char* tag, const juce::String& name, juce::Rectangle<int> area, const juce::String& image, int frames)
    {
        auto& w = add (tag, name, area);
        w.images = {image};
        w.framesNum = frames;
        return w;
    }

    /** A knob with its minimum, centre and maximum marks printed around it. */
    Widget& knob (const juce::String& name, juce::Rectangle<int> area, const juce::String& image, const juce::String& param)
    {
        auto& w = filmstrip ("Knob", name, area, image, 64);
        w.link = param;
        const auto c = area.toFloat().getCentre();
        layout.scales.push_back ({c, area.getWidth() * 0.5f - 1.5f, {sweepStart, 0.0f, sweepStart + sweep}, 2.0f});
        return w;
    }

    Widget& stateButton (const juce::String& name, juce::Rectangle<int> area, const juce::String& image, int states = 2, bool threeD = true)
    {
        auto& w = add ("MultiStateButton", name, area);
        w.images = {image};
        w.attributes = {{"states", juce::String (states)}, {"style", threeD ? "3D" : "2D"}};
        return w;
    }

    /** Previous and next arrow keys side by side, 24 pixels apart. */
    void arrowPair (const char* prevName, const char* nextName, juce::Point<int> at, bool repeat, std::vector<SkinLayout::Attribute> prevActions,
                    std::vector<SkinLayout::Attribute> nextActions)
    {
        auto& prev = filmstrip ("Button", prevName, {at.x, at.y, 22, 22}, "ArrowLeft.png", 2);
        prev.attributes = {{"autorepeat", repeat ? "yes" : "no"}};
        prev.actions = std::move (prevActions);
        auto& next = filmstrip ("Button", nextName, {at.x + 24, at.y, 22, 22}, "ArrowRight.png", 2);
        next.attributes = {{"autorepeat", repeat ? "yes" : "no"}};
        next.actions = std::move (nextActions);
    }

    /** An editable dot-matrix text display. */
    void textDisplay (const char* name, juce::Rectangle<int> area, const char* param)
    {
        auto& w = add ("Display", name, area);
        w.link = param;
        w.writeSize = true;
        w.attributes = {{"readonly", "no"}, {"backgroundColour", "FF0E1012"}, {"caretColour", "FF9FF3EC"}};
        w.images = {"FontLcd.png"};
    }

    void legend (const juce::String& text, juce::Rectangle<float> area, float size = 9.0f, Ink ink = Ink::legend,
                 juce::Justification j = juce::Justification::centred, bool bold = true)
    {
        layout.legends.push_back ({text, area, size, ink, j, bold});
    }

    /** A legend centred over a widget's area, its baseline band ending `gap` pixels above it. */
    void legendAbove (const juce::String& text, juce::Rectangle<int> area, float size = 9.0f, Ink ink = Ink::legend, int gap = 1)
    {
        legend (text, juce::Rectangle<float> ((float) area.getX() - 12.0f, (float) area.getY() - gap - 11.0f, (float) area.getWidth() + 24.0f, 11.0f), size, ink);
    }

    void legendBelow (const juce::String& text, juce::Rectangle<int> area, float size = 8.0f, Ink ink = Ink::legend, int gap = 1)
    {
        legend (text, juce::Rectangle<float> ((float) area.getX() - 12.0f, (float) area.getBottom() + gap, (float) area.getWidth() + 24.0f, 11.0f), size, ink);
    }

    void plate (float x, float y, float w, float h, juce::Colour tint = juce::Colour (0xff2a2d33))
    {
        layout.plates.push_back ({{x, y, w, h}, tint});
    }
};

void addHeader (Builder& b)
{
    b.legend ("PULSARET", {22.0f, 12.0f, 150.0f, 26.0f}, 25.0f, Ink::accent, juce::Justification::centredLeft);
    b.legend ("SEVEN VOICE DRUM SYNTHESIZER", {23.0f, 38.0f, 170.0f, 10.0f}, 7.0f, Ink::hint, juce::Justification::centredLeft);

    b.arrowPair ("PresetPrevButton", "PresetNextButton", {212, 26}, true, {{"onClick", "Select previous preset"}, {"onClickWithCtrl", "Copy current preset"}},
                 {{"onClick", "Select next preset"}, {"onClickWithCtrl", "Paste copied preset"}});
    b.textDisplay ("PresetNameDisplay", {262, 27, 208, 20}, "Current Preset Name");

    const juce::Rectangle<int> browse (476, 27, 40, 20);

    auto& browseButton = b.filmstrip ("Button", "PresetBrowseButton", browse, "ButtonSmall.png", 2);
    browseButton.actions = {{"onClick", "Browse presets"}, {"onClickWithCtrl", "Store current preset"}};

    b.legend ("PRESET", {212.0f, 13.0f, 46.0f, 11.0f}, 9.0f);
    b.legend ("CTRL: COPY / PASTE / STORE", {262.0f, 13.0f, 208.0f, 11.0f}, 7.5f, Ink::hint, juce::Justification::centredRight);
    b.legendAbove ("BROWSE", browse);

    const juce::Rectangle<int> midiLed (532, 32, 10, 10), learn (548, 27, 40, 20), options (604, 27, 40, 20);
    b.filmstrip ("Animation", "MidiActivityLed", midiLed, "LedSmall.png", 2);
    auto& learnButton = b.stateButton ("MidiLearnButton", learn, "LedButton.png");
    learnButton.actions = {{"onClick", "Toggle Midi Learn"}};
    b.legend ("MIDI", {522.0f, 15.0f, 30.0f, 11.0f}, 9.0f);
    b.legendAbove ("LEARN", learn);
    b.filmstrip ("Button", "OptionsButton", options, "ButtonSmall.png", 2).actions = {{"onClick", "Options"}, {"onClickWithCtrl", "About"}};
    b.legendAbove ("OPTIONS", options);
    b.legendBelow ("CTRL: ABOUT", options, 7.0f, Ink::hint, 0);

    const juce::Rectangle<int> volume (724, 10, 40, 40);
    b.knob ("MainVolumeKnob", volume, "KnobMaster.png", "Main Volume");
    b.legend ("VOLUME", {664.0f, 24.0f, 54.0f, 12.0f}, 9.0f, Ink::legend, juce::Justification::centredRight);

    b.layout.rules.push_back ({{16.0f, 57.5f, 774.0f, 57.5f}, true});
}

void addVoiceColumns (Builder& b)
{
    for (int i = 0; i < 8; ++i)
    {
        const auto& t = tracks[i];
        const int cx = columnX (i);
        const juce::String id (t.id), name (t.name);

        b.plate ((float) cx + 2.0f, 60.0f, 88.0f, 270.0f);
        b.legend (t.code, {(float) cx + 7.0f, 63.0f, 20.0f, 13.0f}, 11.0f, Ink::accent, juce::Justification::centredLeft);
        b.legend (t.title, {(float) cx + 27.0f, 63.0f, 62.0f, 13.0f}, 8.0f, Ink::legend, juce::Justification::centredLeft);

        const juce::Rectangle<int> level (cx + 22, 186, 48, 48);
        b.knob (id + "LevelKnob", level, "KnobLevel.png", name + " Level");
        b.knob (id + "RandThresholdKnob", level, "KnobDensity.png", name + " Rand Threshold");
        b.layout.scales.pop_back(); // one set of marks for the shared place
        b.legendBelow ("LEVEL", level, 8.0f, Ink::legend, 1);

        const juce::Rectangle<int> modeLed (cx + 74, 188, 10, 10);
        b.filmstrip ("Animation", id + "LevelModeLed", modeLed, "LedSmall.png", 2).link = name + " Rand State";
        b.legendBelow ("RND", modeLed, 7.0f, Ink::hint, 1);

        if (i < numVoices)
        {
            const juce::Rectangle<int> activity (cx + 10, 254, 12, 12), output (cx + 62, 252, 20, 16);
            b.stateButton (id + "ActivityLed", activity, "ActivityLed.png", 2, false);
            b.legend ("OUT", {(float) cx + 30.0f, 252.0f, 30.0f, 16.0f}, 8.0f, Ink::hint, juce::Justification::centredRight);

            auto& out = b.add ("NumericDisplay", id + "OutputDisplay", output);
            out.link = name + " Output Number";
            out.attributes = {{"digitsNum", "2"}, {"firstDigitOrder", "10"}, {"minValue", "1"}, {"maxValue", "8"}, {"control", "continous"}};
            out.images = {"DigitOut.png"};
            out.writeSize = true;

            auto& mute = b.stateButton (id + "MuteButton", {cx + 6, 276, 38, 18}, "MuteButton.png");
            mute.link = name + " Mute";
            mute.actions = {{"onClick", "Toggle " + name + " Mute"}, {"onClickWithCtrl", "Inverse " + name + " Mute"}};

            auto& solo = b.stateButton (id + "SoloButton", {cx + 48, 276, 38, 18}, "SoloButton.png");
            solo.link = name + " Solo";
            solo.actions = {{"onClick", "Toggle " + name + " Solo"}, {"onClickWithCtrl", "Inverse " + name + " Solo"}};
        }
        else
        {
            b.legend ("ACCENTED STEPS", {(float) cx + 4.0f, 252.0f, 84.0f, 16.0f}, 7.5f, Ink::hint);
            b.legend ("PLAY LOUDER", {(float) cx + 4.0f, 277.0f, 84.0f, 16.0f}, 7.5f, Ink::hint);
        }

        auto& select = b.stateButton (id + "SelectButton", {cx + 6, 302, 80, 22}, "SelectButton.png");
        select.link = name + " Selection";
        select.actions = {{"onClick", "Select " + name}, {"onClickWithCtrl", "Toggle " + name + " Selection"}};
    }
}

void addSoundKnobs (Builder& b)
{
    struct SoundKnob
    {
        int track;
        const char* id;
        const char* param;
        const char* legend;
        int dx, y;
    };

    // A: two knobs at +8 and +48 or one at +28 on the upper row; B: one knob at +28 below.
    const SoundKnob knobs[] = {
        {0, "BassDrumTuneKnob", "Bass Drum Tune", "TUNE", 8, 80},
        {0, "BassDrumAttackKnob", "Bass Drum Attack", "ATTACK", 48, 80},
        {0, "BassDrumDecayKnob", "Bass Drum Decay", "DECAY", 28, 132},
        {1, "SnareDrumTuneKnob", "Snare Drum Tune", "TUNE", 8, 80},
        {1, "SnareDrumToneKnob", "Snare Drum Tone", "TONE", 48, 80},
        {1, "SnareDrumSnappyKnob", "Snare Drum Snappy", "SNAPPY", 28, 132},
        {2, "LowTomTuneKnob", "Low Tom Tune", "TUNE", 8, 80},
        {2, "LowTomDecayKnob", "Low Tom Decay", "DECAY", 48, 80},
        {3, "HiTomTuneKnob", "Hi Tom Tune", "TUNE", 8, 80},
        {3, "HiTomDecayKnob", "Hi Tom Decay", "DECAY", 48, 80},
        {4, "CymbalToneKnob", "Cymbal Tone", "TONE", 8, 80},
        {4, "CymbalDecayKnob", "Cymbal Decay", "DECAY", 48, 80},
        {5, "OpenHiHatDecayKnob", "Open Hi Hat Decay", "DECAY", 28, 80},
        {6, "ClosedHiHatDecayKnob", "Closed Hi Hat Decay", "DECAY", 28, 80},
    };

    for (const auto& k : knobs)
    {
        const juce::Rectangle<int> area (columnX (k.track) + k.dx, k.y, 36, 36);
        b.knob (k.id, area, "KnobSound.png", k.param);
        b.legendBelow (k.legend, area, 8.0f, Ink::legend, 1);
    }

    const juce::Rectangle<int> toms (281, 140, 44, 18), hats (557, 140, 44, 18);
    auto& tomsLink = b.add ("ToggleButton", "TomsLinkButton", toms);
    tomsLink.link = "Toms Link Mode";
    tomsLink.attributes = {{"style", "2D"}};
    tomsLink.images = {"ToggleLink.png"};
    auto& hatsLink = b.add ("ToggleButton", "HiHatsLinkButton", hats);
    hatsLink.link = "Hi Hats Link Mode";
    hatsLink.attributes = {{"style", "2D"}};
    hatsLink.images = {"ToggleLink.png"};
    b.legendAbove ("LINK", toms);
    b.legendAbove ("LINK", hats);
    b.legendBelow ("ONE VOICE", toms, 7.0f, Ink::hint, 1);
    b.legendBelow ("ONE VOICE", hats, 7.0f, Ink::hint, 1);
}

void addPatternSection (Builder& b)
{
    b.plate (16.0f, 338.0f, 284.0f, 60.0f);
    b.legend ("PATTERN", {24.0f, 342.0f, 100.0f, 12.0f}, 9.0f, Ink::legend, juce::Justification::centredLeft);

    auto& number = b.add ("PatternNumberDisplay", "PatternNumberDisplay", {24, 364, 48, 16});
    number.link = "Pattern Number";
    number.writeSize = true;
    number.attributes = {{"bankAndSlotPatternMin", "1"}, {"bankAndSlotPatternMax", "96"}, {"slotMax", "12"}, {"notePatternMin", "12"}, {"notePatternMax", "107"}};
    number.images = {"PatternDigit1.png", "PatternDigit2.png", "PatternDigit3.png", "PatternDigit4.png"};

    // A held Ctrl-click would reopen the load or save menu on every repeat.
    b.arrowPair ("PattPrevButton", "PattNextButton", {80, 361}, false, {{"onClick", "Prev"}, {"onClickWithCtrl", "Load Patterns"}},
                 {{"onClick", "Next"}, {"onClickWithCtrl", "Save Patterns"}});
    b.textDisplay ("PatternNameDisplay", {132, 362, 160, 20}, "Pattern Name");
    b.legend ("NAME", {132.0f, 342.0f, 160.0f, 12.0f}, 9.0f, Ink::legend, juce::Justification::centredLeft);
    b.legend ("CTRL: LOAD / SAVE", {180.0f, 342.0f, 112.0f, 12.0f}, 7.0f, Ink::hint, juce::Justification::centredRight);
    b.legend ("BANK-SLOT", {20.0f, 383.0f, 56.0f, 11.0f}, 7.0f, Ink::hint);

    // Tempo and clock.
    b.plate (306.0f, 338.0f, 270.0f, 60.0f);
    const juce::Rectangle<int> tempoDisplay (314, 362, 56, 20);
    auto& tempo = b.add ("NumericDisplay", "TempoDisplay", tempoDisplay);
    tempo.link = "Pattern Tempo";
    tempo.attributes = {{"digitsNum", "4"}, {"firstDigitOrder", "100"}, {"minValue", "30"}, {"maxValue", "300"}};
    tempo.images = {"DigitTempo.png", "DigitTempo.png", "DigitTempoPoint.png", "DigitTempo.png"};
    tempo.writeSize = true;
    b.legend ("TEMPO", {314.0f, 342.0f, 56.0f, 12.0f}, 9.0f, Ink::legend, juce::Justification::centredLeft);
    b.legend ("BPM", {314.0f, 384.0f, 56.0f, 10.0f}, 7.0f, Ink::hint, juce::Justification::centredRight);

    const juce::Rectangle<int> tempoKnob (380, 346, 40, 40), shuffle (430, 346, 40, 40);
    b.knob ("TempoKnob", tempoKnob, "KnobMaster.png", "Pattern Tempo");
    b.knob ("ShuffleKnob", shuffle, "KnobMaster.png", "Pattern Shuffle");
    b.legendBelow ("TEMPO", tempoKnob, 8.0f, Ink::legend, 0);
    b.legendBelow ("SHUFFLE", shuffle, 8.0f, Ink::legend, 0);

    const juce::Rectangle<int> intSync (482, 361, 40, 20);
    auto& sync = b.stateButton ("IntSyncButton", intSync, "LedButton.png");
    sync.link = "Internal Sync State";
    sync.actions = {{"onClick", "Toggle Internal Sync"}};
    b.legendAbove ("INT CLOCK", intSync, 8.0f);
    b.legendBelow ("OFF: HOST", intSync, 7.0f, Ink::hint, 1);

    // Steps per beat.
    b.plate (582.0f, 338.0f, 192.0f, 60.0f);
    b.legend ("STEPS / BEAT", {590.0f, 342.0f, 178.0f, 12.0f}, 9.0f, Ink::legend, juce::Justification::centredLeft);

    struct Scale
    {
        int steps;
        const char* param;
    };
    const Scale scales[] = {{3, "Pattern Scale 3 SPB State"}, {4, "Pattern Scale 4 SPB State"}, {6, "Pattern Scale 6 SPB State"}, {8, "Pattern Scale 8 SPB State"}};

    for (int k = 0; k < 4; ++k)
    {
        const juce::Rectangle<int> area (590 + 46 * k, 361, 40, 20);
        const juce::String steps (scales[k].steps);
        auto& w = b.stateButton ("Scale" + steps + "Button", area, "LedButton.png");
        w.link = scales[k].param;
        w.actions = {{"onClick", "Select Scale " + steps + " SPB"}};
        b.legendBelow (steps, area, 9.0f, Ink::legend, 1);
    }
}

/** One key of the mode and edit rows: a mode button (with a parameter) or a command button. */
struct RowKey
{
    const char* name;
    const char* param; // null for a command button
    const char* event;
    const char* ctrlEvent;
    const char* line1;
    const char* line2;
    const char* hint;
};

template <size_t n>
void addKeyRow (Builder& b, int firstX, const RowKey (&keys)[n])
{
    for (size_t k = 0; k < n; ++k)
    {
        const auto& key = keys[k];
        const juce::Rectangle<int> area (firstX + 46 * (int) k, 428, 40, 20);
        auto& w = key.param != nullptr ? b.stateButton (key.name, area, "LedButton.png") : b.filmstrip ("Button", key.name, area, "ButtonSmall.png", 2);
        w.actions = {{"onClick", key.event}};

        if (key.param != nullptr)
            w.link = key.param;

        if (key.ctrlEvent != nullptr)
            w.actions.push_back ({"onClickWithCtrl", key.ctrlEvent});

        const auto x = (float) area.getX() - 4.0f;
        const juce::String second (key.line2);

        if (second.isEmpty())
            b.legend (key.line1, {x, 412.0f, 48.0f, 12.0f}, 8.0f);
        else
        {
            b.legend (key.line1, {x, 405.0f, 48.0f, 11.0f}, 8.0f);
            b.legend (second, {x, 415.0f, 48.0f, 11.0f}, 8.0f);
        }

        if (juce::String (key.hint).isNotEmpty())
            b.legend (key.hint, {x - 8.0f, 450.0f, 64.0f, 10.0f}, 6.5f, Ink::hint);
    }
}

void addModeSection (Builder& b)
{
    b.plate (16.0f, 402.0f, 336.0f, 66.0f);

    const RowKey modes[] = {
        {"HostModeButton", "Host Mode State", "Toggle Host Mode", "Toggle Note Off Mode", "HOST", "MODE", "CTRL: NOTE OFF"},
        {"WriteButton", "Write Mode State", "Toggle Pattern Write Mode", nullptr, "WRITE", "", ""},
        {"AutoFollowButton", "Auto Follow State", "Toggle Auto Follow Mode", nullptr, "AUTO", "FOLLOW", ""},
        {"PattLengthButton", "Length Mode State", "Toggle Length Mode", nullptr, "LENGTH", "", ""},
        {"PattRandModeButton", "Randomizer State", "Toggle Randomizer", nullptr, "RANDOM", "", ""},
        {"TapModeButton", "Tap Mode State", "Toggle Tap Mode", nullptr, "TAP", "MODE", ""},
        {"FlamModeButton", "Flam Mode State", "Toggle Flam Mode", nullptr, "FLAM", "", "TAP ERASES"},
    };
    addKeyRow (b, 24, modes);

    // Editing commands: the larger or destructive variant behind Ctrl.
    b.plate (358.0f, 402.0f, 262.0f, 66.0f);

    const RowKey commands[] = {
        {"CopyButton", nullptr, "Copy Tracks", "Copy Pattern", "COPY", "", "CTRL: PATTERN"},
        {"PasteButton", nullptr, "Paste", nullptr, "PASTE", "", ""},
        {"ClearButton", nullptr, "Clear", "Clear All Instruments", "CLEAR", "", "CTRL: ALL"},
        {"UndoButton", nullptr, "Undo", nullptr, "UNDO", "", ""},
    };
    addKeyRow (b, 366, commands);

    const juce::Rectangle<int> rocker (556, 428, 56, 20);
    auto& shift = b.filmstrip ("Rocker", "ShiftRocker", rocker, "RockerShift.png", 3);
    shift.attributes = {{"type", "horizontal"}};
    shift.actions = {{"onLessClick", "Shift Left"}, {"onMoreClick", "Shift Right"}, {"onLessClickWithCtrl", "Shift Left All Tracks"}, {"onMoreClickWithCtrl", "Shift Right All Tracks"}};
    b.legend ("SHIFT", {552.0f, 412.0f, 64.0f, 12.0f}, 8.0f);
    b.legend ("CTRL: ALL", {552.0f, 450.0f, 64.0f, 10.0f}, 6.5f, Ink::hint);

    // The track the step row edits; positions in the order of the columns.
    b.plate (626.0f, 402.0f, 148.0f, 66.0f);
    const juce::Rectangle<int> area (680, 414, 40, 40);
    auto& sw = b.filmstrip ("Switch", "InstrumentSwitch", area, "SwitchTrack.png", 8);
    sw.link = "Instrument Selection";
    sw.attributes = {{"style", "Rotary"}};
    b.legend ("TRACK", {632.0f, 405.0f, 40.0f, 11.0f}, 8.0f, Ink::legend, juce::Justification::centredLeft);

    const auto c = area.toFloat().getCentre();
    SkinLayout::Scale marks{c, 21.5f, {}, 2.0f};

    for (int k = 0; k < 8; ++k)
    {
        const float angle = sweepStart + sweep * (float) k / 7.0f;
        marks.angles.push_back (angle);
        const auto at = c.getPointOnCircumference (31.0f, angle);
        b.legend (tracks[k].code, {at.x - 10.0f, at.y - 5.0f, 20.0f, 10.0f}, 7.5f);
    }

    b.layout.scales.push_back (marks);
}

void addStepRow (Builder& b)
{
    // The tap pairs put the accent first, unlike the columns: print them over the steps,
    // each pair bracketed (left plain, right accented).
    const char* pairs[8] = {"AC", "BD", "SD", "LT", "HT", "CY", "OH", "CH"};

    for (int p = 0; p < 8; ++p)
    {
        const float left = (float) stepX (2 * p) + 8.0f, right = (float) stepX (2 * p + 2) - 8.0f, mid = (left + right) * 0.5f;
        b.layout.rules.push_back ({{left, 480.5f, mid - 18.0f, 480.5f}});
        b.layout.rules.push_back ({{mid + 18.0f, 480.5f, right, 480.5f}});
        b.layout.rules.push_back ({{left, 480.5f, left, 485.5f}});
        b.layout.rules.push_back ({{right, 480.5f, right, 485.5f}});
        b.legend (juce::String ("TAP ") + pairs[p], {mid - 18.0f, 475.0f, 36.0f, 11.0f}, 7.0f, Ink::hint);
    }

    for (int n = 1; n <= 16; ++n)
    {
        const int x = stepX (n - 1);
        const auto nn = twoDigits (n);

        // Every four steps share a tint: the beats read at a glance.
        const bool odd = ((n - 1) / 4) % 2 == 0;
        b.plate ((float) x + 1.0f, 488.0f, 44.0f, 58.0f, juce::Colour (odd ? 0xff30343b : 0xff272a30));

        b.filmstrip ("Animation", "Step" + nn + "LengthLed", {x + 18, 490, 10, 10}, "LedSmall.png", 2).link = "Step " + nn + " Length State";

        auto& step = b.stateButton ("Step" + nn + "Button", {x + 4, 504, 38, 38}, "StepButton.png", 3);
        step.attributes.push_back ({"clickEvent", "onPress"});
        step.link = "Step " + nn + " State";
        step.actions = {{"onClick", "Press Step " + nn}, {"onClickWithCtrl", "Press Step " + nn + " With Ctrl"}};

        b.legend (juce::String (n), {(float) x, 548.0f, 46.0f, 12.0f}, 10.0f);
    }

    // What the first twelve and the last four steps pick while choosing a pattern.
    const float patternMid = (float) stepX (6);
    b.layout.rules.push_back ({{(float) stepX (0) + 6.0f, 566.5f, patternMid - 40.0f, 566.5f}});
    b.layout.rules.push_back ({{patternMid + 40.0f, 566.5f, (float) stepX (12) - 6.0f, 566.5f}});
    b.legend ("PATTERN 1 - 12", {patternMid - 40.0f, 561.0f, 80.0f, 11.0f}, 7.5f, Ink::hint);
    b.layout.rules.push_back ({{(float) stepX (12) + 6.0f, 566.5f, (float) stepX (16) - 6.0f, 566.5f}});
    const char* banks[4] = {"BANK 1/5", "2/6", "3/7", "4/8"};

    for (int k = 0; k < 4; ++k)
        b.legend (banks[k], {(float) stepX (12 + k), 568.0f, (float) stepWidth, 10.0f}, 7.0f, Ink::hint);
}

void addTransport (Builder& b)
{
    const juce::Rectangle<int> play (27, 592, 80, 34), tap (683, 592, 80, 34);
    auto& playButton = b.stateButton ("PlayButton", play, "PlayButton.png");
    playButton.link = "Play State";
    playButton.attributes.push_back ({"clickEvent", "onPress"});
    playButton.actions = {{"onClick", "Start/Stop"}, {"onClickWithCtrl", "Stop"}};
    b.legend ("START / STOP", {113.0f, 596.0f, 90.0f, 12.0f}, 9.0f, Ink::legend, juce::Justification::centredLeft);
    b.legend ("CTRL: STOP", {113.0f, 608.0f, 90.0f, 12.0f}, 7.0f, Ink::hint, juce::Justification::centredLeft);

    auto& tapButton = b.filmstrip ("Button", "TapAcceptButton", tap, "ButtonTap.png", 2);
    tapButton.attributes = {{"clickEvent", "onPress"}};
    tapButton.actions = {{"onClick", "Tap/Accept"}, {"onClickWithCtrl", "Tap Accented"}};
    b.legend ("TAP / ACCEPT", {587.0f, 596.0f, 90.0f, 12.0f}, 9.0f, Ink::legend, juce::Justification::centredRight);
    b.legend ("CTRL: ACCENTED", {587.0f, 608.0f, 90.0f, 12.0f}, 7.0f, Ink::hint, juce::Justification::centredRight);

    b.legend ("CTRL + PATTERN ARROWS: LOAD / SAVE     CTRL + STEP: CHAIN TO     CTRL + SELECT: ADD TRACK",
              {210.0f, 602.0f, 370.0f, 12.0f}, 7.0f, Ink::hint);
}
} // namespace

SkinLayout SkinLayout::build()
{
    Builder b;
    addHeader (b);
    addVoiceColumns (b);
    addSoundKnobs (b);
    addPatternSection (b);
    addModeSection (b);
    addStepRow (b);
    addTransport (b);
    return std::move (b.layout);
}

std::unique_ptr<juce::XmlElement> SkinLayout::createDocument() const
{
    auto root = std::make_unique<juce::XmlElement> ("PluginEditor");
    root->setAttribute ("background", "Background.png");
    root->setAttribute ("application", "Pulsaret");

    for (const auto& w : widgets)
    {
        auto* e = root->createNewChildElement (w.tag);
        e->setAttribute ("name", w.name);

        for (const auto& [key, value] : w.attributes)
            e->setAttribute (key, value);

        if (w.link.isNotEmpty())
        {
            auto* link = e->createNewChildElement ("links")->createNewChildElement ("link");
            link->setAttribute ("as", "connectedTo");
            link->setAttribute ("param", w.link);
        }

        if (!w.actions.empty())
        {
            auto* actions = e->createNewChildElement ("actions");

            for (const auto& [type, event] : w.actions)
            {
                auto* action = actions->createNewChildElement ("action");
                action->setAttribute ("type", type);
                action->setAttribute ("event", event);
            }
        }

        if (w.tag == "NumericDisplay")
        {
            auto* digits = e->createNewChildElement ("digits");

            if (w.images.size() == 1)
                digits->setAttribute ("resource", w.images.front());
            else
                for (const auto& image : w.images)
                    digits->createNewChildElement ("gfx")->setAttribute ("resource", image);
        }
        else if (w.tag == "PatternNumberDisplay")
        {
            auto* gfx = e->createNewChildElement ("gfx");
            const char* digitNames[4] = {"firstDigit", "secondDigit", "thirdDigit", "fourthDigit"};

            for (size_t k = 0; k < 4 && k < w.images.size(); ++k)
                gfx->setAttribute (digitNames[k], w.images[k]);
        }
        else if (w.tag == "Display")
        {
            auto* gfx = e->createNewChildElement ("gfx");
            gfx->setAttribute ("resource", w.images.front());
            gfx->setAttribute ("fontHeight", 12);
        }
        else if (!w.images.empty())
        {
            auto* gfx = e->createNewChildElement ("gfx");
            gfx->setAttribute ("resource", w.images.front());

            if (w.framesNum > 0)
                gfx->setAttribute ("framesNum", w.framesNum);
        }

        if (w.writeSize)
        {
            auto* size = e->createNewChildElement ("size");
            size->setAttribute ("width", w.area.getWidth());
            size->setAttribute ("height", w.area.getHeight());
        }

        auto* pos = e->createNewChildElement ("pos");
        pos->setAttribute ("left", w.area.getX());
        pos->setAttribute ("top", w.area.getY());
    }

    return root;
}
