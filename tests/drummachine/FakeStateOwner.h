#pragma once

#include "drummachine/StateOwner.h"
#include "sequencer/DrumMachineSeq.h"

#include <array>

/** Modes as plain switches, with a log of the calls the drum machine's collaborators
    make back: the mode setters in order, the display refreshes. */
class FakeStateOwner : public StateOwner
{
public:
    juce::String getPluginName() const override { return "Pulsaret"; }
    juce::String getPluginPrefix() const override { return "PX"; }
    int getNumOutputs() const override { return 8; }
    DrumMachineSeq* getSequencer() const noexcept override { return sequencer; }
    DrumMachineCore* getCore() const noexcept override { return nullptr; }

    bool isInternalSequencerOn() const noexcept override { return intSeq; }
    bool isInternalSyncOn() const noexcept override { return intSync; }
    bool isHostModeOn() const noexcept override { return host; }
    bool isNoteOffModeOn() const noexcept override { return noteOff; }
    bool isPatternWriteModeOn() const noexcept override { return write; }
    bool isNativeClockRunning() const noexcept override { return nativeRunning; }
    bool isEditing() const override { return intSeq && (write || host); }
    bool isAutoFollowActive() const override { return isEditing() && autoFollow; }
    bool isRandomizerActive() const override { return isEditing() && randomizer; }
    bool isRandomizerFilled() const override { return randomizerFilled; }
    bool isLengthModeActive() const override { return isEditing() && lengthMode; }
    bool isTapModeActive() const override { return isEditing() && tapMode; }
    bool isFlamModeActive() const override { return isEditing() && flamMode; }
    bool isTrackSelected (int track) const override { return selection[(size_t) track]; }
    int getSelectedRandomTrack() const noexcept override { return randomTrack; }

    void setInternalSequencer (bool on) override { log ("IntSeq", on); }
    void setInternalSync (bool on) override { log ("IntSync", on); }
    void setHostMode (bool on) override { log ("HostMode", on); }
    void setNoteOffMode (bool on) override { log ("NoteOff", on); }
    void setPatternWriteMode (bool on) override { log ("PattWriteMode", on); }
    void setAutoFollow (bool on) override { log ("AutoFollow", on); }

    bool getInternalSequencerDefault() const noexcept override { return defaults[0]; }
    bool getInternalSyncDefault() const noexcept override { return defaults[1]; }
    bool getHostModeDefault() const noexcept override { return defaults[2]; }
    bool getNoteOffDefault() const noexcept override { return defaults[3]; }
    void setModeDefaults (bool a, bool b, bool c, bool d) override { defaults = {a, b, c, d}; }
    int getHostPlayDetection() const noexcept override { return detection; }
    void setHostPlayDetection (int d) override { detection = d; }

    int getNumExtraDrumMapWildcards() const override { return 1; }
    juce::String getExtraDrumMapWildcard (int) const override { return "*.mid"; }

    void refreshHostDisplay() override { ++hostRefreshes; }
    void updateStepDisplay() override { ++stepDisplays; }
    void setTrackSelectionParameters() override { ++selectionPublishes; }

    DrumMachineSeq* sequencer = nullptr;
    bool intSeq = true, intSync = true, host = false, noteOff = false, write = false, nativeRunning = false;
    bool autoFollow = false, randomizer = false, randomizerFilled = false, lengthMode = false, tapMode = false, flamMode = false;
    std::array<bool, 8> selection{};
    int randomTrack = 0;
    std::array<bool, 4> defaults{true, true, false, false};
    int detection = 0;
    int hostRefreshes = 0, stepDisplays = 0, selectionPublishes = 0;
    juce::StringArray calls;

private:
    void log (const char* mode, bool on) { calls.add (juce::String (mode) + (on ? " on" : " off")); }
};
