#pragma once

#include "drummachine/DrumMachineConstants.h"
#include "drummachine/PendingRenderer.h"
#include "sequencer/DrumMachineSeq.h"
#include "sequencer/SequencerOwner.h"
#include "sequencer/ShuffledClock.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>

/** The clocks of the sequencer's two players: the host pattern, chosen by MIDI keys,
    and the native pattern chain of the panel. Each player has a main clock that steps
    its pattern and a flam clock that plays the flam part of each step; the flam clock
    always runs at its main clock's tempo and steps per beat.

    Also keeps what the players remember from block to block: whether the host's
    transport played, whether the lowest C started the native chain, and how many keys
    of the host pattern are held.

    Audio thread only, except that the panel listens to the clocks (they report on the
    message thread). The sequencer is passed in, as it is created after the clocks. */
class PlayerClocks
{
public:
    /** The keys that choose host patterns 0 to 95, and the key that starts the native
        chain when the host is watched for it. */
    static constexpr int firstPatternKey = DrumMachineConstants::firstHostPatternKey;
    static constexpr int lastPatternKey = DrumMachineConstants::lastHostPatternKey;
    static constexpr int lowestCKey = 0;

    /** With internal sync on (read whenever a clock takes its pattern) the clocks keep
        their patterns' tempo; otherwise the host's. */
    explicit PlayerClocks (const std::atomic<bool>& internalSync);

    ShuffledClock& getHostClock() noexcept { return hostClock; }
    ShuffledClock& getNativeClock() noexcept { return nativeClock; }
    Clock& getHostFlamClock() noexcept { return hostFlamClock; }
    Clock& getNativeFlamClock() noexcept { return nativeFlamClock; }

    /** The host's play flag as the last block saw it. */
    bool isHostPlaying() const noexcept { return hostPlaying; }

    void setSampleRate (double rate);

    /** Stops the four clocks and forgets the transport, so that the next start of the
        host's transport is seen as one. */
    void release() noexcept;

    //==============================================================================
    enum TransportChange
    {
        transportUnchanged,
        transportStarted,
        transportStopped
    };

    /** Follows the host's transport, tempo and position. A stop stops both players and
        every clock. A start starts the native chain when startOnTransport and it does
        not run yet. Without internal sync both main clocks take the host's tempo, and
        the native clock the host's position while the host plays and either
        startOnTransport, or startOnLowestC and that key started the chain. */
    TransportChange followHost (DrumMachineSeq& sequencer, const juce::AudioPlayHead::PositionInfo& position,
                                bool startOnTransport, bool startOnLowestC);

    /** The panel's start (the native chain from its start, its flam clock silent until
        the first step; nothing while it runs) or stop. */
    void servePanel (DrumMachineSeq& sequencer, bool start);

    /** Controller 123: both players and every clock stop, no pattern key is held. */
    void allNotesOff (DrumMachineSeq& sequencer);

    /** A note of a pattern key starts its host pattern from step 0 (a release stops it in
        note-off mode once no key of it is held); the lowest C starts the native chain
        when startOnLowestC and it does not run. */
    void playKey (DrumMachineSeq& sequencer, int key, bool noteOn, bool noteOffMode, bool startOnLowestC);

    /** The running clocks take their patterns' timing and flam, as the block begins. */
    void followPatterns (DrumMachineSeq& sequencer);

    /** One sample of the four clocks, in the order host, native, host flam, native
        flam; each step renders the pending samples before it plays. Steps play only
        when play is on, those of the host pattern in host mode, else the native ones. */
    void processSample (DrumMachineSeq& sequencer, PendingRenderer& renderer, bool play, bool hostMode);

    /** Strikes the tapped tracks of the player of the mode, and writes them into the
        playing step while its clock runs and is nearer that step's start than the
        next's; nearer the next step they are written when it plays. */
    void placeTaps (DrumMachineSeq& sequencer, SequencerOwner& owner, bool hostMode);

private:
    static void stopIfRunning (Clock& clock) noexcept;
    static void keepInStep (Clock& flamClock, const Clock& mainClock);
    void stopClocks() noexcept;
    void stopPlayers (DrumMachineSeq& sequencer) noexcept;
    void startNative (DrumMachineSeq& sequencer);
    void setHostClockFromPattern (const DrumMachineSeq& sequencer);
    void setNativeClockFromPattern (const DrumMachineSeq& sequencer);
    void followHostTempo (const juce::AudioPlayHead::PositionInfo& position, bool followPosition);
    void startHostPattern (DrumMachineSeq& sequencer, int pattern);
    void releasePatternKey (DrumMachineSeq& sequencer, int pattern, bool noteOffMode);
    void stepHost (DrumMachineSeq& sequencer, PendingRenderer& renderer, bool play);
    void stepNative (DrumMachineSeq& sequencer, PendingRenderer& renderer, bool play);
    void playFlam (DrumMachineSeq& sequencer, PendingRenderer& renderer, bool host, bool play);

    const std::atomic<bool>& internalSync;

    ShuffledClock hostClock{"hostClock"}, nativeClock{"nativeClock"};
    Clock hostFlamClock{"hostFlamClock"}, nativeFlamClock{"nativeFlamClock"};

    bool hostPlaying = false;
    bool nativeStartedByNote = false;
    int heldPatternKeys = 0;

    JUCE_DECLARE_NON_COPYABLE (PlayerClocks)
};
