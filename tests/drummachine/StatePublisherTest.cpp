#include "drummachine/StatePublisher.h"
#include "FakeStateOwner.h"
#include "framework/ParameterManager.h"
#include "sequencer/PulsaretSeq.h"
#include "tests/sequencer/FakeSequencerOwner.h"

#include <gtest/gtest.h>

namespace
{
struct PublisherFixture
{
    PublisherFixture()
    {
        owner.sequencer = &seq;
        publisher.registerParameters();
    }

    float value (int uid) const { return store.getValue (uid); }

    FakeSequencerOwner seqOwner;
    PulsaretSeq seq{seqOwner};
    FakeStateOwner owner;
    ParameterManager store;
    StatePublisher publisher{owner, store};
};

struct PublishingWatcher : Parameter::Listener
{
    explicit PublishingWatcher (const StatePublisher& p)
        : publisher (p)
    {
    }
    void parameterChanged (Parameter*) override { seenPublishing.push_back (publisher.isPublishing()); }

    const StatePublisher& publisher;
    std::vector<bool> seenPublishing;
};
} // namespace

TEST (StatePublisher, RegistersEveryInternalParameterUnderItsName)
{
    PublisherFixture f;

    // Between the step states and the blinking steps lie uids that name nothing.
    for (int uid = StatePublisher::internalSequencerStateUid; uid <= StatePublisher::lastInternalParameterUid; ++uid)
        EXPECT_EQ (f.store.getParameter (uid) != nullptr, uid < 3062 || uid >= StatePublisher::stepBlinkingUid) << uid;

    const std::pair<int, const char*> names[] = {
        {3000, "Internal Sequencer State"}, {3014, "Native Mode Ready State"}, {3015, "Instrument Selection"}, {3016, "Instrument Selection With Accent First"}, {3018, "Clipboard Pattern State"}, {3019, "Pattern Scale 6 SPB State"}, {3022, "Pattern Scale 4 SPB State"}, {3024, "Pattern Name"}, {3029, "Pattern Flam"}, {3030, "Step 01 Length State"}, {3061, "Step 16 State"}, {3093, "Step 16 Blinking"}};

    for (auto& [uid, name] : names)
        EXPECT_EQ (f.store.getParameterName (uid), name) << uid;

    EXPECT_EQ (f.store.getParameter (3094), nullptr);
}

TEST (StatePublisher, PatternNumberAndWriteStatesFollowTheModes)
{
    struct Case
    {
        bool intSeq, host, write, nativeRunning;
        float number;
        bool writeState, writeActivity, nativeReady;
    };

    const Case cases[] = {
        {false, false, false, false, 0.0f, false, false, false},
        {true, false, false, false, 6.0f, false, true, true},
        {true, false, false, true, 6.0f, false, true, false},
        {true, false, true, false, 10.0f, true, true, false},
        {true, true, false, false, 21.0f, true, false, false},
    };

    for (auto& c : cases)
    {
        PublisherFixture f;
        f.seq.setNativePatternIndex (5);
        f.seq.setEditedPatternIndex (9);
        f.owner.intSeq = c.intSeq;
        f.owner.host = c.host;
        f.owner.write = c.write;
        f.owner.nativeRunning = c.nativeRunning;

        f.publisher.updatePatternNumber();
        f.publisher.publishNativeModeReady();

        EXPECT_EQ (f.value (StatePublisher::patternNumberUid), c.number) << c.intSeq << c.host << c.write;
        EXPECT_EQ (f.value (StatePublisher::nativeModeReadyStateUid), c.nativeReady ? 1.0f : 0.0f);

        // The opposite first, so that only the update can set it.
        f.publisher.publishBool (StatePublisher::writeModeActivityUid, !c.writeActivity);
        f.publisher.updateWriteModeState();
        EXPECT_EQ (f.value (StatePublisher::writeModeStateUid), c.writeState ? 1.0f : 0.0f);
        EXPECT_EQ (f.value (StatePublisher::writeModeActivityUid), c.writeActivity ? 1.0f : 0.0f);
        EXPECT_EQ (f.value (StatePublisher::patternNameEditionStateUid), c.writeState ? 1.0f : 0.0f);
        EXPECT_GE (f.owner.selectionPublishes, 1);
    }
}

TEST (StatePublisher, StepStatesShowTheValueCommonToTheSelectedTracks)
{
    PublisherFixture f;
    f.owner.write = true;
    f.owner.selection[0] = f.owner.selection[2] = true;
    f.seq.setEditedPatternLength (4);

    const int accent = DrumMachineSeq::accentStepValue, normal = DrumMachineSeq::normalStepValue;
    const int track0[] = {accent, normal, accent, 0, accent};
    const int track2[] = {accent, normal, normal, 0, accent};
    const float expected[] = {1.0f, 0.5f, 0.0f, 0.0f, 0.0f}; // the last lies past the length

    for (int n = 0; n < 5; ++n)
    {
        f.seq.setStep (0, n, track0[n]);
        f.seq.setStep (2, n, track2[n]);
        f.seq.setStep (1, n, normal); // not selected
    }

    f.publisher.publishSelectedStepStates();

    for (int n = 0; n < 5; ++n)
        EXPECT_EQ (f.value (StatePublisher::stepStateUid + n), expected[n]) << n;

    f.owner.lengthMode = true;
    f.publisher.publishSelectedStepStates();
    EXPECT_EQ (f.value (StatePublisher::stepStateUid + 15), 1.0f);

    f.owner.lengthMode = false;
    f.owner.write = false;
    f.publisher.publishSelectedStepStates();
    EXPECT_EQ (f.value (StatePublisher::stepStateUid), 0.0f);
}

TEST (StatePublisher, TempoAndScaleShowTheEditedPatternOnlyWhileEditing)
{
    PublisherFixture f;
    f.seq.setEditedPatternIndex (3);
    f.seq.setEditedPatternTempo (140.0);
    f.seq.setEditedPatternScale (8);

    f.owner.write = true;
    f.publisher.updateTempoState();
    f.publisher.updateScaleStates();
    EXPECT_EQ (f.value (StatePublisher::patternTempoUid), 140.0f);
    EXPECT_EQ (f.value (StatePublisher::patternTempoStateUid), 1.0f);

    for (int i = 0; i < StatePublisher::numScales; ++i)
        EXPECT_EQ (f.value (StatePublisher::patternScale6StateUid + i), i == 2 ? 1.0f : 0.0f) << i;

    f.owner.intSeq = false;
    f.publisher.updateTempoState();
    f.publisher.updateScaleStates();
    EXPECT_EQ (f.value (StatePublisher::patternTempoUid), 30.0f); // the range's lowest: shown as off
    EXPECT_EQ (f.value (StatePublisher::patternTempoStateUid), 0.0f);
    EXPECT_EQ (f.value (StatePublisher::patternScale6StateUid + 2), 0.0f);
}

TEST (StatePublisher, ListenersSeeThePublishingWhileItNotifies)
{
    PublisherFixture f;
    PublishingWatcher watcher (f.publisher);
    f.store.addListener (StatePublisher::patternNameUid, &watcher);
    f.store.addListener (StatePublisher::patternNumberUid, &watcher);

    f.publisher.publishText (StatePublisher::patternNameUid, "Groove");
    f.publisher.publish (StatePublisher::patternNumberUid, 4.0f);
    f.store.setIntValue (StatePublisher::patternNumberUid, 5);

    EXPECT_EQ (watcher.seenPublishing, (std::vector<bool>{true, true, false}));
    EXPECT_FALSE (f.publisher.isPublishing());
    EXPECT_EQ (f.store.getText (StatePublisher::patternNameUid), "Groove");
}
