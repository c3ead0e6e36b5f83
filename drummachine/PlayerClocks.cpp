#include "drummachine/PlayerClocks.h"

#include <cmath>

PlayerClocks::PlayerClocks (const std::atomic<bool>& internalSyncToRead)
    : internalSync (internalSyncToRead)
{
}

void PlayerClocks::setSampleRate (double rate)
{
    for (Clock* clock : {(Clock*) &hostClock, (Clock*) &nativeClock, &hostFlamClock, &nativeFlamClock})
        clock->setSampleRate (rate);
}

void PlayerClocks::stopIfRunning (Clock& clock) noexcept
{
    // Stopping notifies the panel: a clock that stands already stays quiet.
    if (clock.isRunning())
        clock.stop();
}

void PlayerClocks::keepInStep (Clock& flamClock, const Clock& mainClock)
{
    flamClock.setTempo (mainClock.getTempo());
    flamClock.setStepsPerBeat (mainClock.getStepsPerBeat());
}

void PlayerClocks::stopClocks() noexcept
{
    stopIfRunning (hostClock);
    stopIfRunning (nativeClock);
    stopIfRunning (hostFlamClock);
    stopIfRunning (nativeFlamClock);
}

void PlayerClocks::release() noexcept
{
    stopClocks();
    hostPlaying = false;
    nativeStartedByNote = false;
}

void PlayerClocks::stopPlayers (DrumMachineSeq& sequencer) noexcept
{
    stopClocks();
    sequencer.stopHost();
    sequencer.stopNative();
    nativeStartedByNote = false;
}

void PlayerClocks::allNotesOff (DrumMachineSeq& sequencer)
{
    stopPlayers (sequencer);
    heldPatternKeys = 0;
}

void PlayerClocks::setHostClockFromPattern (const DrumMachineSeq& sequencer)
{
    if (internalSync.load())
        hostClock.setTempo (sequencer.getHostPatternTempo());

    hostClock.setShuffle (sequencer.getHostPatternShuffle());
    hostClock.setStepsPerBeat ((double) sequencer.getHostPatternScale());
}

void PlayerClocks::setNativeClockFromPattern (const DrumMachineSeq& sequencer)
{
    if (internalSync.load())
        nativeClock.setTempo (sequencer.getNativePatternTempo());

    nativeClock.setShuffle (sequencer.getNativePatternShuffle());
    nativeClock.setStepsPerBeat ((double) sequencer.getNativePatternScale());
}

void PlayerClocks::startNative (DrumMachineSeq& sequencer)
{
    sequencer.startNative();
    setNativeClockFromPattern (sequencer);

    if (!nativeClock.isRunning())
        nativeClock.start();

    keepInStep (nativeFlamClock, nativeClock);
}

void PlayerClocks::servePanel (DrumMachineSeq& sequencer, bool start)
{
    if (start && nativeClock.isRunning())
        return;

    if (start)
    {
        startNative (sequencer);
    }
    else
    {
        stopIfRunning (nativeClock);
        sequencer.stopNative();
    }

    stopIfRunning (nativeFlamClock);
}

//==============================================================================
PlayerClocks::TransportChange PlayerClocks::followHost (DrumMachineSeq& sequencer, const juce::AudioPlayHead::PositionInfo& position,
                                                        bool startOnTransport, bool startOnLowestC)
{
    auto change = transportUnchanged;
    const bool playing = position.getIsPlaying();

    if (playing != hostPlaying)
    {
        hostPlaying = playing;

        if (!playing)
        {
            stopPlayers (sequencer);
            change = transportStopped;
        }
        else
        {
            if (startOnTransport && !nativeClock.isRunning())
                startNative (sequencer);

            change = transportStarted;
        }
    }

    // A stopped host's position stands still: following it would hold a sequencer
    // started by the lowest C on its first step.
    if (!internalSync.load())
        followHostTempo (position, playing && (startOnTransport || (nativeStartedByNote && startOnLowestC)));

    return change;
}

void PlayerClocks::followHostTempo (const juce::AudioPlayHead::PositionInfo& position, bool followPosition)
{
    // A missing or non-positive tempo never reaches the clocks.
    if (const auto bpm = position.getBpm(); bpm.hasValue() && std::isfinite (*bpm) && *bpm > 0.0)
    {
        hostClock.setTempo (*bpm);
        nativeClock.setTempo (*bpm);
    }

    keepInStep (hostFlamClock, hostClock);
    keepInStep (nativeFlamClock, nativeClock);

    if (followPosition)
        if (const auto ppq = position.getPpqPosition(); ppq.hasValue() && std::isfinite (*ppq))
            nativeClock.setPosition (*ppq);
}

//==============================================================================
void PlayerClocks::playKey (DrumMachineSeq& sequencer, int key, bool noteOn, bool noteOffMode, bool startOnLowestC)
{
    if (key >= firstPatternKey && key <= lastPatternKey)
    {
        if (noteOn)
            startHostPattern (sequencer, key - firstPatternKey);
        else
            releasePatternKey (sequencer, key - firstPatternKey, noteOffMode);
    }

    if (key == lowestCKey && noteOn && startOnLowestC && !nativeClock.isRunning())
    {
        startNative (sequencer);
        nativeStartedByNote = true;
    }
}

void PlayerClocks::startHostPattern (DrumMachineSeq& sequencer, int pattern)
{
    heldPatternKeys = pattern != sequencer.getHostPatternIndex() ? 1 : heldPatternKeys + 1;
    sequencer.startHostPattern (pattern);
    setHostClockFromPattern (sequencer);
    hostClock.restart();
    keepInStep (hostFlamClock, hostClock);
    stopIfRunning (hostFlamClock);
    hostFlamClock.setGate (sequencer.getHostPatternFlam());
}

void PlayerClocks::releasePatternKey (DrumMachineSeq& sequencer, int pattern, bool noteOffMode)
{
    if (pattern != sequencer.getHostPatternIndex() || heldPatternKeys <= 0)
        return;

    --heldPatternKeys;

    if (heldPatternKeys == 0 && noteOffMode)
    {
        sequencer.stopHost();
        stopIfRunning (hostClock);
        stopIfRunning (hostFlamClock);
    }
}

//==============================================================================
void PlayerClocks::followPatterns (DrumMachineSeq& sequencer)
{
    if (hostClock.isRunning())
    {
        setHostClockFromPattern (sequencer);
        keepInStep (hostFlamClock, hostClock);
        hostFlamClock.setGate (sequencer.getHostPatternFlam());
    }

    if (nativeClock.isRunning())
    {
        setNativeClockFromPattern (sequencer);
        keepInStep (nativeFlamClock, nativeClock);
        nativeFlamClock.setGate (sequencer.getNativePatternFlam());
    }
}

void PlayerClocks::processSample (DrumMachineSeq& sequencer, PendingRenderer& renderer, bool play, bool hostMode)
{
    // Taps are placed by where the clock stands: it must not skip its next event.
    if (sequencer.hasTappedValues())
        (hostMode ? hostClock : nativeClock).markDirty();

    if (hostClock.processSample() && hostClock.isInFirstPart())
        stepHost (sequencer, renderer, play && hostMode);

    if (nativeClock.processSample() && nativeClock.isInFirstPart())
        stepNative (sequencer, renderer, play && !hostMode);

    if (hostFlamClock.processSample() && hostFlamClock.isInSecondPart())
        playFlam (sequencer, renderer, true, play && hostMode);

    if (nativeFlamClock.processSample() && nativeFlamClock.isInSecondPart())
        playFlam (sequencer, renderer, false, play && !hostMode);
}

void PlayerClocks::stepHost (DrumMachineSeq& sequencer, PendingRenderer& renderer, bool play)
{
    renderer.renderPending();

    // A clock's first event plays the step it started on.
    if (!hostClock.hasRestarted())
        sequencer.advanceHostStep();

    if (play)
        sequencer.playHostStep (false);

    hostFlamClock.restart();
}

void PlayerClocks::stepNative (DrumMachineSeq& sequencer, PendingRenderer& renderer, bool play)
{
    renderer.renderPending();

    if (!nativeClock.hasRestarted())
        sequencer.advanceNativeStep();

    // The chain may have moved to a pattern of another timing.
    setNativeClockFromPattern (sequencer);

    if (play)
        sequencer.playNativeStep (false);

    keepInStep (nativeFlamClock, nativeClock);
    nativeFlamClock.restart();
}

void PlayerClocks::playFlam (DrumMachineSeq& sequencer, PendingRenderer& renderer, bool host, bool play)
{
    renderer.renderPending();

    if (play && host)
        sequencer.playHostStep (true);
    else if (play)
        sequencer.playNativeStep (true);

    stopIfRunning (host ? hostFlamClock : nativeFlamClock);
}

void PlayerClocks::placeTaps (DrumMachineSeq& sequencer, SequencerOwner& owner, bool hostMode)
{
    Clock& clock = hostMode ? (Clock&) hostClock : (Clock&) nativeClock;
    const int player = hostMode ? DrumMachineSeq::hostPlayer : DrumMachineSeq::nativePlayer;

    if (clock.isRunning() && !clock.isNearerStepStart())
    {
        sequencer.writeTappedValuesAtNextStep (player);
        sequencer.setTapped (false);
        return;
    }

    const bool write = clock.isRunning();
    bool struck = false;

    for (int track = 0; track < DrumMachineSeq::numTracks; ++track)
    {
        const int value = sequencer.getTapValue (track);

        if (value == 0)
            continue;

        if (write)
            sequencer.writeStep (track, value, player);

        const bool strong = value == DrumMachineSeq::getAccentStepValue();
        owner.triggerInstrument (track, (float) (owner.getNormalVelocity() + (strong ? owner.getStrongVelocityIncrement() : 0.0)));
        struck = true;
    }

    sequencer.clearTapBuffer();

    if (struck)
        owner.updateStepDisplay();

    sequencer.setTapped (false);
}
