#include "PulsaretTestHost.h"
#include "tests/MessagePump.h"

#include <gtest/gtest.h>

namespace
{
float stepState (PulsaretTestHost& host, int step)
{
    return host.parameter (DrumMachine::stepStateUid + step).getValue();
}
} // namespace

TEST (DrumMachineEvents, InternalParametersAndEventsAreRegisteredByName)
{
    PulsaretTestHost host;
    auto& store = host.plugin->getParameterManager();
    auto& events = host.plugin->getEventNameMap();

    EXPECT_EQ (store.getParameter (3062), nullptr);
    EXPECT_EQ (store.getParameterName (3029), "Pattern Flam");
    EXPECT_EQ (store.getParameterName (3045), "Step 16 Length State");
    EXPECT_EQ (store.getParameterName (3046), "Step 01 State");
    EXPECT_EQ (store.getParameterName (3093), "Step 16 Blinking");
    EXPECT_EQ (store.getParameterName (3019), "Pattern Scale 6 SPB State");
    EXPECT_EQ (events.getUid ("Start/Stop"), 3010);
    EXPECT_EQ (events.getUid ("Save Patterns"), 3029);
    EXPECT_EQ (events.getUid ("Press Step 16 With Ctrl"), 3061);
    EXPECT_EQ (events.getUid ("Select Scale 4 SPB"), 3065);
}

TEST (DrumMachineEvents, ParameterTexts)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;

    host.parameter (DrumMachine::patternTempoUid).setValue (120.0f, false);
    EXPECT_EQ (plugin.getParameterTextById (3027), "120.0");
    host.parameter (DrumMachine::patternShuffleUid).setValue (0.4f, false);
    EXPECT_EQ (plugin.getParameterTextById (3028), "50%");
    host.parameter (30).setBoolValue (true, false);
    EXPECT_EQ (plugin.getParameterTextById (30), "On");
    EXPECT_EQ (plugin.getParameterTextById (31), "Off");
    host.parameter (45).setNormalisedValue (0.2f, false);
    EXPECT_EQ (plugin.getParameterTextById (45), "20%");
    host.parameter (3).setNormalisedValue (0.25f, false);
    EXPECT_EQ (plugin.getParameterTextById (3), "0.250");
    EXPECT_EQ (plugin.getParameterText (3), "0.250");
    EXPECT_EQ (plugin.getParameterTextById (60), "");
}

TEST (DrumMachineEvents, StepButtonsChooseChainsAndBanksWhilePlayingNative)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;

    plugin.handleEvent (DrumMachine::pressStepEvent + 13);
    EXPECT_EQ (plugin.getCurrentBank(), 1);
    plugin.handleEvent (DrumMachine::pressStepEvent + 12);
    EXPECT_EQ (plugin.getCurrentBank(), 0);
    EXPECT_EQ (stepState (host, 12), 0.5f);
    plugin.handleEvent (DrumMachine::pressStepEvent + 12);
    EXPECT_EQ (plugin.getCurrentBank(), 4);
    EXPECT_EQ (stepState (host, 12), 1.0f);

    plugin.handleEvent (DrumMachine::pressStepEvent + 5);
    EXPECT_EQ (host.seq().getChainBank(), 4);
    EXPECT_EQ (host.seq().getNativePatternIndex(), 53);
    EXPECT_EQ (host.parameter (DrumMachine::patternNumberUid).getIntValue(), 54);

    plugin.handleEvent (DrumMachine::pressStepWithCtrlEvent + 2);
    EXPECT_EQ (host.seq().getChainFirst(), 2);
    EXPECT_EQ (host.seq().getChainLast(), 5);
    EXPECT_EQ (host.seq().getNativePatternIndex(), 50);

    for (int n = 0; n < 12; ++n)
        EXPECT_EQ (stepState (host, n), n >= 2 && n <= 5 ? 1.0f : 0.0f) << n;
}

TEST (DrumMachineEvents, EditingCommands)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;
    auto& seq = host.seq();

    // Outside write and host mode, shifting does nothing.
    seq.setEditedPatternIndex (0);
    seq.clearPattern();
    seq.setStep (0, 0, 1);
    plugin.handleEvent (DrumMachine::shiftLeftEvent);
    EXPECT_EQ (seq.getStep (0, 0), 1);

    plugin.handleEvent (DrumMachine::togglePatternWriteModeEvent);
    ASSERT_TRUE (plugin.isEditing());
    EXPECT_TRUE (host.parameter (DrumMachine::writeModeStateUid).getBoolValue());
    plugin.selectInstrument (0);
    plugin.handleEvent (DrumMachine::shiftRightEvent);
    EXPECT_EQ (seq.getStep (0, 1), 1);
    EXPECT_EQ (stepState (host, 1), 0.5f);

    // The only selected track stays selected.
    plugin.handleEvent (EventId::toggleBassDrumSelection);
    EXPECT_TRUE (plugin.isTrackSelected (0));
    plugin.handleEvent (EventId::toggleSnareDrumSelection);
    EXPECT_TRUE (plugin.isTrackSelected (1));
    plugin.handleEvent (EventId::toggleSnareDrumSelection);
    EXPECT_FALSE (plugin.isTrackSelected (1));

    // Pressing a step cycles rest, hit, accent.
    plugin.handleEvent (DrumMachine::pressStepEvent + 3);
    EXPECT_EQ (seq.getStep (0, 3), 1);
    plugin.handleEvent (DrumMachine::pressStepEvent + 3);
    EXPECT_EQ (seq.getStep (0, 3), 2);
    EXPECT_EQ (stepState (host, 3), 1.0f);

    // "Clear" with a filled clipboard only empties the clipboard.
    plugin.handleEvent (DrumMachine::copyTracksEvent);
    EXPECT_TRUE (plugin.isClipboardTracksFilled());
    EXPECT_TRUE (host.parameter (DrumMachine::clipboardTracksStateUid).getBoolValue());
    plugin.handleEvent (DrumMachine::clearEvent);
    EXPECT_FALSE (plugin.isClipboardTracksFilled());
    EXPECT_EQ (seq.getStep (0, 3), 2);
    plugin.handleEvent (DrumMachine::clearEvent);
    EXPECT_EQ (seq.getStep (0, 3), 0);

    // Length mode: the step buttons set the length.
    plugin.handleEvent (DrumMachine::toggleLengthModeEvent);
    plugin.handleEvent (DrumMachine::pressStepEvent + 5);
    EXPECT_EQ (seq.getEditedPatternLength(), 6);
    EXPECT_TRUE (host.parameter (DrumMachine::stepLengthStateUid + 5).getBoolValue());
    EXPECT_FALSE (host.parameter (DrumMachine::stepLengthStateUid + 6).getBoolValue());
    EXPECT_TRUE (host.parameter (DrumMachine::stepBlinkingUid).getBoolValue());

    // Tap mode: step button 4 taps an accented bass drum; the value is there before the flag.
    plugin.handleEvent (DrumMachine::toggleTapModeEvent);
    EXPECT_FALSE (plugin.isLengthModeOn());
    plugin.handleEvent (DrumMachine::pressStepEvent + 3);
    EXPECT_TRUE (seq.hasTappedValues());
    EXPECT_EQ (seq.getTapValue (0), 2);
    plugin.handleEvent (DrumMachine::pressStepEvent + 0);
    EXPECT_EQ (seq.getTapValue (7), 1);

    plugin.handleEvent (DrumMachine::selectScale3Event);
    EXPECT_EQ (seq.getEditedPatternScale(), 3);
    EXPECT_TRUE (host.parameter (3020).getBoolValue());
    EXPECT_FALSE (host.parameter (3022).getBoolValue());
}

TEST (DrumMachineEvents, TapWhileStoppedStrikesAtOnce)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;
    plugin.handleEvent (DrumMachine::togglePatternWriteModeEvent);
    plugin.selectInstrument (1);
    host.run (1024);

    plugin.handleEvent (DrumMachine::tapAccentedEvent);
    host.run (1024);
    EXPECT_FALSE (host.seq().hasTappedValues());
    EXPECT_GE (host.firstSound (0), 0);
    const auto sent = host.sentMessages();
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_EQ (sent[0].getVelocity(), 95);
    EXPECT_EQ (sent[0].getTimeStamp(), 0.0);
}

TEST (DrumMachineEvents, HostModeClearsACopiedPatternAndModesPublish)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;
    plugin.handleEvent (DrumMachine::togglePatternWriteModeEvent);
    plugin.handleEvent (DrumMachine::copyPatternEvent);
    EXPECT_TRUE (plugin.isClipboardPatternFilled());

    plugin.handleEvent (DrumMachine::toggleHostModeEvent);
    EXPECT_TRUE (plugin.isHostModeOn());
    EXPECT_FALSE (plugin.isClipboardPatternFilled());
    EXPECT_TRUE (host.parameter (DrumMachine::hostModeStateUid).getBoolValue());
    EXPECT_EQ (host.parameter (DrumMachine::patternNumberUid).getIntValue(), host.seq().getEditedPatternIndex() + 12);

    plugin.handleEvent (DrumMachine::toggleInternalSequencerEvent);
    EXPECT_FALSE (plugin.isInternalSequencerOn());
    EXPECT_FALSE (host.parameter (DrumMachine::hostModeStateUid).getBoolValue());
    EXPECT_EQ (host.parameter (DrumMachine::patternNumberUid).getIntValue(), 0);

    // Commands that need the internal sequencer do nothing now.
    plugin.handleEvent (DrumMachine::toggleNoteOffModeEvent);
    EXPECT_FALSE (plugin.isNoteOffModeOn());
}

TEST (DrumMachineEvents, PanelDisplayFollowsTheAudioThreadOnTheMessageThread)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;

    plugin.handleEvent (DrumMachine::startEvent);
    host.run (512);
    EXPECT_FALSE (host.parameter (DrumMachine::playStateUid).getBoolValue()); // not yet: it is only asked for
    pumpPendingMessages();
    EXPECT_TRUE (host.parameter (DrumMachine::playStateUid).getBoolValue());
    EXPECT_FALSE (host.parameter (DrumMachine::nativeModeReadyStateUid).getBoolValue());

    plugin.handleEvent (DrumMachine::stopEvent);
    host.run (512);
    pumpPendingMessages();
    EXPECT_FALSE (host.parameter (DrumMachine::playStateUid).getBoolValue());
    EXPECT_TRUE (host.parameter (DrumMachine::nativeModeReadyStateUid).getBoolValue());

    // Released by the host while playing: the panel shows it stopped all the same.
    plugin.handleEvent (DrumMachine::startEvent);
    host.run (512);
    pumpPendingMessages();
    ASSERT_TRUE (host.parameter (DrumMachine::playStateUid).getBoolValue());
    plugin.releaseResources();
    pumpPendingMessages();
    EXPECT_FALSE (host.parameter (DrumMachine::playStateUid).getBoolValue());
    EXPECT_TRUE (host.parameter (DrumMachine::nativeModeReadyStateUid).getBoolValue());
}
