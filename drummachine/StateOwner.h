#pragma once

#include <juce_core/juce_core.h>

class DrumMachineCore;
class DrumMachineSeq;

/** What the state publisher and the documents reach of the drum machine: its modes,
    its sequencer and engine, and the displays they refresh. The drum machine
    implements it; tests give a fake. Message thread. */
class StateOwner
{
public:
    virtual ~StateOwner() = default;

    virtual juce::String getPluginName() const = 0;
    virtual juce::String getPluginPrefix() const = 0;
    virtual int getNumOutputs() const = 0;
    virtual DrumMachineSeq* getSequencer() const noexcept = 0;
    virtual DrumMachineCore* getCore() const noexcept = 0;

    virtual bool isInternalSequencerOn() const noexcept = 0;
    virtual bool isInternalSyncOn() const noexcept = 0;
    virtual bool isHostModeOn() const noexcept = 0;
    virtual bool isNoteOffModeOn() const noexcept = 0;
    virtual bool isPatternWriteModeOn() const noexcept = 0;
    virtual bool isNativeClockRunning() const noexcept = 0;
    virtual bool isEditing() const = 0;
    virtual bool isAutoFollowActive() const = 0;
    virtual bool isRandomizerActive() const = 0;
    virtual bool isRandomizerFilled() const = 0;
    virtual bool isLengthModeActive() const = 0;
    virtual bool isTapModeActive() const = 0;
    virtual bool isFlamModeActive() const = 0;
    virtual bool isTrackSelected (int track) const = 0;
    virtual int getSelectedRandomTrack() const noexcept = 0;

    virtual void setInternalSequencer (bool on) = 0;
    virtual void setInternalSync (bool on) = 0;
    virtual void setHostMode (bool on) = 0;
    virtual void setNoteOffMode (bool on) = 0;
    virtual void setPatternWriteMode (bool on) = 0;
    virtual void setAutoFollow (bool on) = 0;

    /** The modes a new instance starts in, and how the host's play is told: settings. */
    virtual bool getInternalSequencerDefault() const noexcept = 0;
    virtual bool getInternalSyncDefault() const noexcept = 0;
    virtual bool getHostModeDefault() const noexcept = 0;
    virtual bool getNoteOffDefault() const noexcept = 0;
    virtual void setModeDefaults (bool internalSequencerOn, bool internalSyncOn, bool hostModeOn, bool noteOffOn) = 0;
    virtual int getHostPlayDetection() const noexcept = 0;
    virtual void setHostPlayDetection (int detection) = 0;

    /** The extra file patterns a product offers for drum maps. */
    virtual int getNumExtraDrumMapWildcards() const = 0;
    virtual juce::String getExtraDrumMapWildcard (int index) const = 0;

    /** The host's key names changed. */
    virtual void refreshHostDisplay() = 0;

    /** The step buttons' states, the product's own where it has them. */
    virtual void updateStepDisplay() = 0;
    virtual void setTrackSelectionParameters() = 0;
};
