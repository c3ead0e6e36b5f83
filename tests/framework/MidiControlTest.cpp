#include "TestPlugin.h"

#include "framework/MidiControl.h"
#include "framework/ParameterManager.h"

#include <gtest/gtest.h>

namespace
{
struct RecordingListener : public MidiControl::Listener
{
    void midiMapChanged (MidiControl&) override { ++mapChanges; }
    void midiLearnStateChanged (MidiControl&) override { ++learnStateChanges; }
    void midiControllerMoved (MidiControl&) override { ++controllerMoves; }

    int mapChanges = 0, learnStateChanges = 0, controllerMoves = 0;
};

class MidiControlTest : public ::testing::Test
{
protected:
    MidiControlTest()
    {
        store.loadParametersFromResource ("parameters.xml");
        map.setName ("Pulsaret");
        map.addListener (&listener);
    }

    ~MidiControlTest() override { map.removeListener (&listener); }

    Parameter* param (int uid) { return store.getParameter (uid); }

    static juce::MidiMessage cc (int number, int value, int channel = 1)
    {
        return juce::MidiMessage::controllerEvent (channel, number, value);
    }

    ParameterManager store;
    MidiControl map { store };
    RecordingListener listener;
};
} // namespace

TEST_F (MidiControlTest, ControllersMoveTheirParametersOnAnyChannel)
{
    map.assign (7, param (8), true);

    map.handleMidiMessage (cc (7, 64));
    EXPECT_FLOAT_EQ (param (8)->getNormalisedValue(), 64.0f / 127.0f);
    EXPECT_EQ (map.getLastMovedParameter(), param (8));

    map.handleMidiMessage (cc (7, 127, 16));
    EXPECT_FLOAT_EQ (param (8)->getNormalisedValue(), 1.0f);
    map.handleMidiMessage (cc (7, 0, 3));
    EXPECT_FLOAT_EQ (param (8)->getNormalisedValue(), 0.0f);

    // Notes, free controllers and malformed controller numbers move nothing.
    param (0)->setNormalisedValue (0.5f, false);
    map.handleMidiMessage (juce::MidiMessage::noteOn (1, 7, 1.0f));
    map.handleMidiMessage (cc (8, 100));
    const juce::uint8 malformed[] = { 0xB0, 0xC8, 0x10 };
    map.handleMidiMessage (juce::MidiMessage (malformed, 3));
    EXPECT_FLOAT_EQ (param (8)->getNormalisedValue(), 0.0f);
    EXPECT_FLOAT_EQ (param (0)->getNormalisedValue(), 0.5f);

    pumpMessages();
    EXPECT_EQ (listener.controllerMoves, 1); // three moves, one notification
    EXPECT_EQ (listener.mapChanges, 1);
}

TEST_F (MidiControlTest, AssigningMovesAParameterAndIgnoresBadControllers)
{
    map.assign (10, param (3), true);
    map.assign (20, param (3), true);

    EXPECT_EQ (map.getParameterAt (10), nullptr);
    EXPECT_EQ (map.getParameterAt (20), param (3));
    EXPECT_EQ (map.indexOf (param (3)), 20);
    EXPECT_EQ (map.getNumAssigned(), 1);

    map.assign (128, param (4), true);
    map.assign (-1, param (4), true);
    EXPECT_EQ (map.indexOf (param (4)), -1);
    EXPECT_EQ (map.getParameterAt (128), nullptr);
    EXPECT_EQ (map.getParameterAt (-1), nullptr);

    map.assign (20, nullptr, true);
    EXPECT_EQ (map.getNumAssigned(), 0);
    EXPECT_EQ (map.indexOf (nullptr), -1);

    map.assign (1, param (1), false);
    map.assign (2, param (2), false);
    map.clearAll();
    EXPECT_EQ (map.getNumAssigned(), 0);
}

TEST_F (MidiControlTest, LearningPairsATouchedControlWithAMovedController)
{
    map.setLearnMode (true);
    EXPECT_EQ (listener.learnStateChanges, 1); // told at once
    map.setLearnMode (true);
    EXPECT_EQ (listener.learnStateChanges, 1);

    // Touch, then move.
    map.learnParameter (param (8));
    EXPECT_EQ (map.getLearnParameter(), param (8));
    EXPECT_EQ (map.getLearnController(), -1);
    map.handleMidiMessage (cc (20, 10));
    EXPECT_EQ (map.getParameterAt (20), param (8));

    // Move, then touch.
    map.setLearnMode (false);
    map.setLearnMode (true);
    map.handleMidiMessage (cc (21, 10));
    EXPECT_EQ (map.getLearnController(), 21);
    EXPECT_EQ (map.getLearnParameter(), nullptr);
    map.learnParameter (param (9));
    EXPECT_EQ (map.getParameterAt (21), param (9));

    // Touching an assigned control shows its controller and assigns nothing.
    map.setLearnMode (false);
    map.setLearnMode (true);
    map.learnParameter (param (9));
    EXPECT_EQ (map.getLearnController(), 21);
    EXPECT_EQ (map.getParameterAt (21), param (9));

    // A controller that drives another parameter is not taken over by learning.
    map.setLearnMode (false);
    map.setLearnMode (true);
    map.learnParameter (param (10));
    map.learnController (20);
    EXPECT_EQ (map.getParameterAt (20), param (8));
    EXPECT_EQ (map.indexOf (param (10)), -1);
    EXPECT_EQ (map.getLearnParameter(), param (10));

    // Re-assigning: free controller first, then the control moves over to it.
    map.setLearnMode (false);
    map.setLearnMode (true);
    map.learnController (30);
    map.learnParameter (param (8));
    EXPECT_EQ (map.getParameterAt (30), param (8));
    EXPECT_EQ (map.getParameterAt (20), nullptr);
    EXPECT_EQ (map.getNumAssigned(), 2);

    // Out-of-range controller numbers are no controllers.
    map.learnController (200);
    EXPECT_EQ (map.getLearnController(), 30);

    listener.learnStateChanges = 0;
    pumpMessages();
    EXPECT_EQ (listener.learnStateChanges, 1);
    EXPECT_GE (listener.mapChanges, 1);
}

TEST_F (MidiControlTest, UnassigningInLearnModeClearsThePairBeingLearned)
{
    map.assign (5, param (5), true);
    map.setLearnMode (true);
    map.learnParameter (param (5));
    EXPECT_EQ (map.getLearnController(), 5);

    map.unassign (5);
    EXPECT_EQ (map.getParameterAt (5), nullptr);
    EXPECT_EQ (map.getLearnParameter(), nullptr);
    EXPECT_EQ (map.getLearnController(), -1);
}

TEST_F (MidiControlTest, MapDocumentHasTheExactForm)
{
    map.assign (74, param (8), false);
    map.assign (7, param (24), false);

    const auto text = map.createMapXml()->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    EXPECT_EQ (text, "<MidiControlMap name=\"Pulsaret\"><assign CC=\"7\" param=\"Main Volume\"/>"
                     "<assign CC=\"74\" param=\"Bass Drum Tune\"/></MidiControlMap>");
}

TEST_F (MidiControlTest, MapFileRoundTrips)
{
    juce::TemporaryFile first (".PXccmap"), second (".PXccmap");
    map.assign (1, param (0), false);
    map.assign (64, param (46), false);
    map.assign (127, param (12), false);
    ASSERT_TRUE (map.saveMapFile (first.getFile()));

    ParameterManager otherStore;
    otherStore.loadParametersFromResource ("parameters.xml");
    MidiControl other (otherStore);
    other.setName ("pulsaret"); // names compare ignoring case
    ASSERT_TRUE (other.loadMapFile (first.getFile()));

    EXPECT_EQ (other.getNumAssigned(), 3);
    EXPECT_EQ (other.getParameterAt (64), otherStore.getParameter (46));
    EXPECT_EQ (other.getParameterAt (127), otherStore.getParameter (12));

    other.setName ("Pulsaret");
    ASSERT_TRUE (other.saveMapFile (second.getFile()));
    EXPECT_EQ (first.getFile().loadFileAsString(), second.getFile().loadFileAsString());
    EXPECT_TRUE (first.getFile().loadFileAsString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
}

TEST_F (MidiControlTest, LoadingSkipsBadAssignmentsAndAcceptsTheOlderTag)
{
    map.setLearnMode (true);

    auto document = juce::parseXML ("<MidiCCMap application='PULSARET'>"
                                    "<assign CC='3' param='Bass Drum Level'/>"
                                    "<ASSIGN cc='4' PARAM='Bass Drum Tune'/>"
                                    "<assign CC='5' param='Bass Drum Output Number'/>" // not learnable
                                    "<assign CC='6' param='No Such Parameter'/>"
                                    "<assign CC='128' param='Snare Drum Level'/>"
                                    "<assign CC='-1' param='Snare Drum Tone'/>"
                                    "<assign param='Hi Tom Tune'/>" // controller 0
                                    "<assign CC='x1' param='Snare Drum Level'/>" // no controller, not 0
                                    "<assign CC='' param='Snare Drum Tone'/>"
                                    "<assign CC='nan' param='Snare Drum Level'/>"
                                    "<assign CC='2.5' param='Snare Drum Tone'/>"
                                    "<assign CC='9' param='Bass Drum Level'/>" // moves from 3
                                    "</MidiCCMap>");
    ASSERT_TRUE (map.loadMapXml (*document));

    EXPECT_FALSE (map.isLearnMode());
    EXPECT_EQ (map.getNumAssigned(), 3);
    EXPECT_EQ (map.getParameterAt (9), param (0));
    EXPECT_EQ (map.getParameterAt (3), nullptr);
    EXPECT_EQ (map.getParameterAt (4), param (8));
    EXPECT_EQ (map.getParameterAt (0), param (16));
    EXPECT_EQ (map.getParameterAt (5), nullptr);
}

TEST_F (MidiControlTest, ARefusedMapLeavesTheCurrentMapAsItWas)
{
    map.assign (11, param (2), false);
    pumpMessages();
    listener.mapChanges = 0;

    auto foreign = juce::parseXML ("<MidiControlMap name='Other' application='Other'><assign CC='1' param='Bass Drum Level'/></MidiControlMap>");
    auto notAMap = juce::parseXML ("<DrumMap application='Pulsaret'/>");
    EXPECT_FALSE (map.loadMapXml (*foreign));
    EXPECT_FALSE (map.loadMapXml (*notAMap));

    juce::TemporaryFile broken (".PXccmap");
    broken.getFile().replaceWithText ("<MidiControlMap name='Pulsaret'><assign");
    EXPECT_FALSE (map.loadMapFile (broken.getFile()));
    EXPECT_FALSE (map.loadMapFile (juce::File()));

    EXPECT_EQ (map.getNumAssigned(), 1);
    EXPECT_EQ (map.getParameterAt (11), param (2));
    pumpMessages();
    EXPECT_EQ (listener.mapChanges, 0);

    // The application attribute stands in for a missing name; a nameless map accepts all.
    auto byApplication = juce::parseXML ("<MidiControlMap application='pulsaret'/>");
    EXPECT_TRUE (map.loadMapXml (*byApplication));
    EXPECT_EQ (map.getNumAssigned(), 0);

    map.setName ({});
    EXPECT_TRUE (map.loadMapXml (*foreign));
    EXPECT_EQ (map.getParameterAt (1), param (0));
}
