#pragma once

#include "../sequencer/FakeSequencerOwner.h"
#include "drummachine/EditCommands.h"
#include "framework/BoolParameter.h"
#include "framework/ParameterManager.h"
#include "generated/PulsaretIds.h"
#include "sequencer/PulsaretSeq.h"

#include <array>

/** Holds the modes as plain flags, a real sequencer and the mute and solo parameters,
    and writes down every call the commands make, in order: "mode:host=1" for a mode
    set through its setter, "flag:tap=0" for a flag set alone, "show:steps" for a
    display, "clip:T." for the clipboard states, "start" or "stop" for a request. */
class FakeEditCommandsOwner : public EditCommandsOwner
{
public:
    FakeEditCommandsOwner()
    {
        for (int uid = ParameterId::firstMute; uid < ParameterId::firstSolo + ParameterId::soloCount; ++uid)
            parameters.addParameter (std::make_unique<BoolParameter> (uid, "Switch " + juce::String (uid), BoolParameter::trueFalse));
    }

    /** Letters of the modes that are on ("SW": internal sequencer and pattern write);
        "C" runs the native clock. */
    void setModes (const juce::String& letters)
    {
        for (size_t m = 0; m < modes.size(); ++m)
            modes[m] = letters.containsChar (modeLetters[m]);

        nativeClockOn = letters.containsChar ('C');
    }

    DrumMachineSeq* getEditedSequencer() const override { return sequencer.get(); }
    bool isModeOn (Mode mode) const override { return modes[(size_t) mode]; }
    void changeMode (Mode mode, bool on) override { record ("mode:", modeNames[(size_t) mode], mode, on); }
    void setModeFlag (Mode mode, bool on) override { record ("flag:", modeNames[(size_t) mode], mode, on); }
    bool isNativeClockOn() const override { return nativeClockOn; }
    void requestTransport (bool start) override { calls.add (start ? "start" : "stop"); }
    void updateDisplay (Display display) override { calls.add ("show:" + juce::String (displayNames[(size_t) display])); }

    void publishClipboard (bool tracksFilled, bool patternFilled) override
    {
        calls.add (juce::String ("clip:") + (tracksFilled ? "T" : ".") + (patternFilled ? "P" : "."));
    }

    void publishTrackSelection (int track, bool shown) override { shownSelection[(size_t) track] = shown; }
    void publishSelectedInstrument (int track) override { selectedInstrument = track; }

    juce::String takeCalls()
    {
        auto text = calls.joinIntoString (" ");
        calls.clear();
        return text;
    }

    static constexpr const char* modeLetters = "SYHNWARLTF";
    static constexpr const char* modeNames[] = {"internalSequencer", "internalSync", "host", "noteOff", "patternWrite",
                                                "autoFollow", "randomizer", "length", "tap", "flam"};
    static constexpr const char* displayNames[] = {"randomizer", "tapMode", "lengthMode", "selection", "steps",
                                                   "pattern", "stepLengths", "scales", "flamMode"};

    FakeSequencerOwner sequencerOwner;
    std::unique_ptr<PulsaretSeq> sequencer = std::make_unique<PulsaretSeq> (sequencerOwner);
    ParameterManager parameters;
    juce::CriticalSection callbackLock;
    std::array<bool, 10> modes{};
    bool nativeClockOn = false;
    std::array<bool, EditCommands::numTracks> shownSelection{};
    int selectedInstrument = -1;
    juce::StringArray calls;

private:
    void record (const char* kind, const char* name, Mode mode, bool on)
    {
        modes[(size_t) mode] = on;
        calls.add (juce::String (kind) + name + "=" + (on ? "1" : "0"));
    }
};
