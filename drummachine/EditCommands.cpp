#include "drummachine/EditCommands.h"

#include "drummachine/DrumMachineConstants.h"
#include "framework/ParameterManager.h"
#include "generated/PulsaretIds.h"
#include "sequencer/DrumMachineSeq.h"

namespace
{
using Owner = EditCommandsOwner;
} // namespace

const EditCommands::Route EditCommands::routes[] = {
    {EventId::firstToggleMute, EventId::firstToggleMute + EventId::toggleMuteCount - 1, &EditCommands::flipVoiceSwitch},
    {EventId::firstInverseMute, EventId::firstInverseMute + EventId::inverseMuteCount - 1, &EditCommands::flipVoiceSwitchAlone},
    {EventId::firstToggleSolo, EventId::firstToggleSolo + EventId::toggleSoloCount - 1, &EditCommands::flipVoiceSwitch},
    {EventId::firstInverseSolo, EventId::firstInverseSolo + EventId::inverseSoloCount - 1, &EditCommands::flipVoiceSwitchAlone},
    {EventId::firstSelect, EventId::firstSelect + EventId::selectCount - 1, &EditCommands::selectTrackFromPanel},
    {EventId::firstToggleSelection, EventId::firstToggleSelection + EventId::toggleSelectionCount - 1,
     &EditCommands::toggleSelectionFromPanel},
    {EventId::firstTap, EventId::firstTap + EventId::tapCount - 1, &EditCommands::tapTrackFromPanel},
    {EventId::firstTapAccented, EventId::firstTapAccented + EventId::tapAccentedCount - 1, &EditCommands::tapTrackFromPanel},
    {Owner::toggleInternalSequencerEvent, Owner::toggleInternalSequencerEvent, &EditCommands::toggleInternalSequencer},
    {Owner::toggleInternalSyncEvent, Owner::toggleNoteOffModeEvent, &EditCommands::toggleSequencerMode},
    {Owner::togglePatternWriteModeEvent, Owner::togglePatternWriteModeEvent, &EditCommands::togglePatternWriteMode},
    {Owner::toggleAutoFollowModeEvent, Owner::toggleAutoFollowModeEvent, &EditCommands::toggleAutoFollow},
    {Owner::toggleRandomizerEvent, Owner::toggleRandomizerEvent, &EditCommands::toggleRandomizer},
    {Owner::toggleLengthModeEvent, Owner::toggleLengthModeEvent, &EditCommands::toggleLengthMode},
    {Owner::toggleTapModeEvent, Owner::toggleTapModeEvent, &EditCommands::toggleTapMode},
    {Owner::toggleFlamModeEvent, Owner::toggleFlamModeEvent, &EditCommands::toggleFlamMode},
    {Owner::startStopEvent, Owner::stopEvent, &EditCommands::requestStartOrStop},
    {Owner::tapEvent, Owner::tapAccentedEvent, &EditCommands::tapSelectedFromPanel},
    {Owner::shiftLeftEvent, Owner::shiftRightAllTracksEvent, &EditCommands::shiftTracks},
    {Owner::prevEvent, Owner::nextEvent, &EditCommands::previousOrNext},
    {Owner::acceptEvent, Owner::acceptEvent, &EditCommands::acceptRandomization},
    {Owner::undoEvent, Owner::undoEvent, &EditCommands::undoOrClearClipboard},
    {Owner::copyTracksEvent, Owner::copyTracksEvent, &EditCommands::copyTracksFromPanel},
    {Owner::copyPatternEvent, Owner::copyPatternEvent, &EditCommands::copyPattern},
    {Owner::pasteEvent, Owner::pasteEvent, &EditCommands::paste},
    {Owner::clearEvent, Owner::clearEvent, &EditCommands::clearTracksOrClipboard},
    {Owner::clearAllInstrumentsEvent, Owner::clearAllInstrumentsEvent, &EditCommands::clearAllInstruments},
    {Owner::pressStepEvent, Owner::pressStepWithCtrlEvent - 1, &EditCommands::pressStepFromPanel},
    {Owner::selectScale6Event, Owner::selectScale4Event, &EditCommands::selectScale},
};

EditCommands::EditCommands (EditCommandsOwner& ownerToUse, ParameterManager& parametersToUse, const juce::CriticalSection& lock)
    : owner (ownerToUse)
    , parameters (parametersToUse)
    , callbackLock (lock)
{
}

bool EditCommands::handleEvent (int uid)
{
    for (const auto& route : routes)
    {
        if (uid >= route.first && uid <= route.last)
        {
            (this->*route.handler) (uid);
            return true;
        }
    }

    return false;
}

bool EditCommands::isRandomizerFilled() const
{
    auto* sequencer = owner.getEditedSequencer();
    return sequencer != nullptr && sequencer->isRandomizerActive();
}

int EditCommands::countSelected() const
{
    int selected = 0;

    for (bool s : trackSelection)
        selected += s ? 1 : 0;

    return selected;
}

bool EditCommands::isTrackSelected (int track) const
{
    return juce::isPositiveAndBelow (track, numTracks) && trackSelection[(size_t) track];
}

//==============================================================================
// The voices' and tracks' buttons

int EditCommands::getFirstVoiceSwitchUid (int uid)
{
    // The two mute runs come before the two solo runs.
    return uid < EventId::firstToggleSolo ? ParameterId::firstMute : ParameterId::firstSolo;
}

int EditCommands::getVoiceOfSwitchEvent (int uid)
{
    return (uid - EventId::firstToggleMute) % numInstruments;
}

void EditCommands::flipVoiceSwitch (int uid)
{
    const int pressed = getFirstVoiceSwitchUid (uid) + getVoiceOfSwitchEvent (uid);
    parameters.setBoolValue (pressed, !parameters.getBoolValue (pressed));
}

void EditCommands::flipVoiceSwitchAlone (int uid)
{
    // Every other voice takes the pressed voice's old state: pressed again, the voices swap back.
    const int first = getFirstVoiceSwitchUid (uid);
    const int pressed = first + getVoiceOfSwitchEvent (uid);
    const bool wasOn = parameters.getBoolValue (pressed);

    for (int other = first; other < first + numInstruments; ++other)
        if (other != pressed)
            parameters.setBoolValue (other, wasOn);

    parameters.setBoolValue (pressed, !wasOn);
}

bool EditCommands::chooseRandomTrack (int track)
{
    if (!isRandomizerActiveAndFilled())
        return false;

    // Only a track the random result covers can be shown.
    if (trackSelection[(size_t) track])
    {
        selectedRandomTrack = track;
        owner.updateDisplay (Display::randomizer);
    }

    return true;
}

void EditCommands::selectTrackFromPanel (int uid)
{
    const int track = uid - EventId::firstSelect;

    if (isEditing() && !chooseRandomTrack (track))
        selectInstrument (track);
}

void EditCommands::toggleSelectionFromPanel (int uid)
{
    const int track = uid - EventId::firstToggleSelection;

    if (!isEditing() || chooseRandomTrack (track))
        return;

    // At least one track stays selected.
    if (!(trackSelection[(size_t) track] && countSelected() == 1))
        trackSelection[(size_t) track] = !trackSelection[(size_t) track];

    owner.updateDisplay (Display::selection);
    owner.updateDisplay (Display::steps);
}

void EditCommands::tapTrackFromPanel (int uid)
{
    const int track = (uid - EventId::firstTap) % numTracks;

    if (isEditing() && on (Mode::flam))
        tapTrack (track, DrumMachineSeq::getEraseStepValue());
    else
        tapTrack (track, uid < EventId::firstTapAccented ? DrumMachineSeq::getNormalStepValue() : DrumMachineSeq::getAccentStepValue());
}

//==============================================================================
// Modes

void EditCommands::toggleInternalSequencer (int)
{
    owner.changeMode (Mode::internalSequencer, !on (Mode::internalSequencer));
}

void EditCommands::toggleSequencerMode (int uid)
{
    const auto mode = uid == Owner::toggleInternalSyncEvent ? Mode::internalSync
                      : uid == Owner::toggleHostModeEvent   ? Mode::host
                                                            : Mode::noteOff;

    if (on (Mode::internalSequencer))
        owner.changeMode (mode, !on (mode));
}

void EditCommands::togglePatternWriteMode (int)
{
    if (on (Mode::internalSequencer) && !on (Mode::host))
        owner.changeMode (Mode::patternWrite, !on (Mode::patternWrite));
}

void EditCommands::toggleAutoFollow (int)
{
    if (isEditing() && !on (Mode::length) && !on (Mode::tap))
        owner.changeMode (Mode::autoFollow, !on (Mode::autoFollow));
}

void EditCommands::toggleRandomizer (int)
{
    if (isEditing())
        setRandomizer (!on (Mode::randomizer));
}

void EditCommands::toggleLengthMode (int)
{
    if (!isEditing())
        return;

    owner.setModeFlag (Mode::length, !on (Mode::length));

    if (on (Mode::length))
    {
        setRandomizer (false);
        owner.setModeFlag (Mode::tap, false);
        owner.updateDisplay (Display::tapMode);
    }

    owner.updateDisplay (Display::lengthMode);
}

void EditCommands::toggleTapMode (int)
{
    if (!isEditing())
        return;

    owner.setModeFlag (Mode::tap, !on (Mode::tap));

    if (on (Mode::tap))
    {
        owner.setModeFlag (Mode::length, false);
        owner.updateDisplay (Display::lengthMode);
        setRandomizer (false);
    }

    owner.updateDisplay (Display::tapMode);
}

void EditCommands::toggleFlamMode (int)
{
    if (isEditing() && !(on (Mode::randomizer) && isRandomizerFilled()))
    {
        owner.setModeFlag (Mode::flam, !on (Mode::flam));
        owner.updateDisplay (Display::flamMode);
        owner.updateDisplay (Display::steps);
    }
}

// Judged against whether the clock runs, so that a stop by controller 123 or a
// start by key 0 does not leave the buttons out of step.
void EditCommands::requestStartOrStop (int uid)
{
    if (on (Mode::internalSequencer))
        owner.requestTransport (uid == Owner::startStopEvent ? !owner.isNativeClockOn() : uid == Owner::startEvent);
}

//==============================================================================
// Edits

void EditCommands::tapSelectedFromPanel (int uid)
{
    if (isEditing() && !on (Mode::randomizer))
        tapSelected (on (Mode::flam)          ? DrumMachineSeq::getEraseStepValue()
                     : uid == Owner::tapEvent ? DrumMachineSeq::getNormalStepValue()
                                              : DrumMachineSeq::getAccentStepValue());
}

void EditCommands::shiftTracks (int uid)
{
    if (!isEditing() || on (Mode::randomizer))
        return;

    auto& sequencer = *owner.getEditedSequencer();
    const bool all = uid == Owner::shiftLeftAllTracksEvent || uid == Owner::shiftRightAllTracksEvent;
    const bool left = uid == Owner::shiftLeftEvent || uid == Owner::shiftLeftAllTracksEvent;

    for (int track = 0; track < numTracks; ++track)
    {
        if (!all && !trackSelection[(size_t) track])
            continue;

        if (left)
            sequencer.shiftTrackLeft (track, 1);
        else
            sequencer.shiftTrackRight (track, 1);
    }

    owner.updateDisplay (Display::steps);
}

void EditCommands::previousOrNext (int uid)
{
    if (!isEditing())
        return;

    auto& sequencer = *owner.getEditedSequencer();

    if (on (Mode::randomizer))
    {
        DrumMachineSeq::TrackFlags flags{};

        for (int t = 0; t < numTracks; ++t)
            flags[(size_t) t] = trackSelection[(size_t) t];

        sequencer.setRandomizerPattern (sequencer.getPattern (sequencer.getEditedPatternIndex()));

        if (uid == Owner::prevEvent)
            sequencer.previousRandomSeed (flags, false);
        else
            sequencer.nextRandomSeed (flags, false);

        owner.updateDisplay (Display::randomizer);
    }
    else if (!isAutoFollowActive())
    {
        if (uid == Owner::prevEvent)
            sequencer.selectPreviousEditedPattern();
        else
            sequencer.selectNextEditedPattern();

        owner.updateDisplay (Display::pattern);
    }
}

void EditCommands::acceptRandomization (int)
{
    if (isRandomizerActiveAndFilled())
    {
        owner.getEditedSequencer()->acceptRandomization();
        owner.updateDisplay (Display::randomizer);
    }
}

void EditCommands::undoOrClearClipboard (int)
{
    if (isRandomizerActiveAndFilled())
    {
        owner.getEditedSequencer()->undoRandomization();
        owner.updateDisplay (Display::randomizer);
    }
    else if (isEditing() && (clipboardTracksFilled || clipboardPatternFilled))
    {
        clearClipboard();
    }
}

void EditCommands::copyTracksFromPanel (int)
{
    if (isEditing() && !on (Mode::randomizer))
        copyTracks();
}

void EditCommands::copyPattern (int)
{
    if (isEditing() && !on (Mode::randomizer))
    {
        clipboardPatternFilled = true;
        clipboardTracksFilled = false;
        owner.getEditedSequencer()->copyPattern();
        owner.publishClipboard (false, true);
    }
}

void EditCommands::paste (int)
{
    if (!(clipboardTracksFilled || clipboardPatternFilled) || !isEditing() || on (Mode::randomizer))
        return;

    if (clipboardTracksFilled)
    {
        pasteTracks();
        return;
    }

    {
        // A whole pattern changes: the audio thread plays it before or after.
        const juce::ScopedLock sl (callbackLock);
        owner.getEditedSequencer()->pastePattern();
    }

    owner.updateDisplay (Display::pattern);
}

void EditCommands::clearTracksOrClipboard (int)
{
    if (!isEditing() || on (Mode::randomizer) || on (Mode::length))
        return;

    if (clipboardTracksFilled || clipboardPatternFilled)
    {
        clearClipboard();
        return;
    }

    for (int track = 0; track < numTracks; ++track)
        if (trackSelection[(size_t) track])
            owner.getEditedSequencer()->clearTrack (track);

    owner.updateDisplay (Display::steps);
}

void EditCommands::clearAllInstruments (int)
{
    if (isEditing() && !on (Mode::length))
    {
        owner.getEditedSequencer()->clearPattern();
        owner.updateDisplay (Display::steps);
    }
}

void EditCommands::pressStepFromPanel (int uid)
{
    if (!on (Mode::internalSequencer))
        return;

    const int step = uid - Owner::pressStepEvent + 1;

    if (isEditing() && on (Mode::length))
    {
        owner.getEditedSequencer()->setEditedPatternLength (step);
        owner.updateDisplay (Display::stepLengths);
        owner.updateDisplay (Display::steps);
    }
    else if (isEditing())
    {
        pressStep (step - 1);
    }
}

void EditCommands::selectScale (int uid)
{
    if (isEditing())
    {
        owner.getEditedSequencer()->setEditedPatternScale (DrumMachineConstants::scales[uid - Owner::selectScale6Event]);
        owner.updateDisplay (Display::scales);
    }
}

//==============================================================================
void EditCommands::selectInstrument (int track)
{
    track = juce::jlimit (0, numTracks - 1, track);

    for (int t = 0; t < numTracks; ++t)
        trackSelection[(size_t) t] = t == track;

    publishSelection();
    owner.publishSelectedInstrument (track);
    owner.updateDisplay (Display::steps);
}

void EditCommands::publishSelection()
{
    const bool show = isEditing() && !on (Mode::tap);

    for (int t = 0; t < numTracks; ++t)
        owner.publishTrackSelection (t, show && trackSelection[(size_t) t]);
}

void EditCommands::setRandomizer (bool turnOn)
{
    auto* sequencer = owner.getEditedSequencer();

    if (sequencer != nullptr && turnOn != on (Mode::randomizer))
    {
        owner.setModeFlag (Mode::randomizer, turnOn);

        if (turnOn)
        {
            owner.setModeFlag (Mode::length, false);
            owner.updateDisplay (Display::lengthMode);
            owner.setModeFlag (Mode::tap, false);
            owner.updateDisplay (Display::tapMode);
            sequencer->resetRandomizer();

            if (auto* pattern = sequencer->getPattern (sequencer->getEditedPatternIndex()))
            {
                sequencer->storeUndoCopy (*pattern);
                sequencer->setRandomizerPattern (pattern);
            }
        }
        else
        {
            if (sequencer->isRandomizerActive())
                sequencer->undoRandomization();

            sequencer->resetRandomizer();
        }
    }

    owner.updateDisplay (Display::randomizer);
}

void EditCommands::setTapMode (bool turnOn)
{
    owner.setModeFlag (Mode::tap, turnOn);
    owner.updateDisplay (Display::tapMode);
}

void EditCommands::pressStep (int step)
{
    auto* sequencer = owner.getEditedSequencer();

    if (sequencer == nullptr || step < 0 || step >= sequencer->getEditedPatternLength())
        return;

    const int selected = countSelected();

    if (selected >= 2)
    {
        // Selected tracks that differ at the step start again from a rest.
        int common = -1;

        for (int t = 0; t < numTracks; ++t)
        {
            if (!trackSelection[(size_t) t])
                continue;

            const int value = sequencer->getStep (t, step);
            common = common < 0 ? value : (common == value ? common : DrumMachineSeq::getOffStepValue());
        }

        const int next = sequencer->nextStepValue (juce::jmax (0, common));

        for (int t = 0; t < numTracks; ++t)
            if (trackSelection[(size_t) t])
                sequencer->setStep (t, step, next);
    }
    else if (selected == 1)
    {
        for (int t = 0; t < numTracks; ++t)
            if (trackSelection[(size_t) t])
                sequencer->cycleStep (t, step);
    }

    owner.updateDisplay (Display::steps);
}

void EditCommands::copyTracks()
{
    clipboardTrackCount = 0;

    for (int t = 0; t < numTracks; ++t)
    {
        clipboardTrackMarks[(size_t) t] = trackSelection[(size_t) t];

        if (trackSelection[(size_t) t])
        {
            ++clipboardTrackCount;
            owner.getEditedSequencer()->copyTrack (t);
        }
    }

    clipboardTracksFilled = clipboardTrackCount > 0;
    clipboardPatternFilled = false;
    owner.publishClipboard (clipboardTracksFilled, false);
}

void EditCommands::pasteTracks()
{
    auto& sequencer = *owner.getEditedSequencer();

    if (clipboardTrackCount == 1)
    {
        // One copied track goes into every selected track.
        int from = 0;

        for (int t = 0; t < numTracks; ++t)
            if (clipboardTrackMarks[(size_t) t])
                from = t;

        for (int t = 0; t < numTracks; ++t)
            if (trackSelection[(size_t) t])
                sequencer.pasteTrack (from, t);
    }
    else
    {
        for (int t = 0; t < numTracks; ++t)
            if (clipboardTrackMarks[(size_t) t])
                sequencer.pasteTrack (t, t);
    }

    owner.updateDisplay (Display::pattern);
}

void EditCommands::clearClipboard()
{
    clipboardTracksFilled = false;
    clipboardPatternFilled = false;
    owner.publishClipboard (false, false);
}

void EditCommands::tapSelected (int value)
{
    auto* sequencer = owner.getEditedSequencer();

    if (sequencer == nullptr)
        return;

    // The values first: the flag publishes them to the audio thread.
    for (int t = 0; t < numTracks; ++t)
        sequencer->setTapValue (t, trackSelection[(size_t) t] ? value : 0);

    sequencer->setTapped (true);
}

void EditCommands::tapTrack (int track, int value)
{
    auto* sequencer = owner.getEditedSequencer();

    if (sequencer == nullptr || !juce::isPositiveAndBelow (track, numTracks))
        return;

    sequencer->setTapValue (track, value);
    sequencer->setTapped (true);
}
