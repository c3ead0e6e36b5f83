#include "drummachine/OutputRouting.h"
#include "FakeStateOwner.h"
#include "framework/BoolParameter.h"
#include "framework/IntParameter.h"
#include "framework/ParameterManager.h"
#include "framework/XmlDocuments.h"

#include <gtest/gtest.h>

namespace
{
struct RoutingFixture
{
    RoutingFixture()
    {
        for (int i = 0; i < OutputRouting::numInstruments; ++i)
            store.addParameter (std::make_unique<IntParameter> (OutputRouting::firstOutputNumberUid + i, "Out " + juce::String (i), 1, 8, 1));
    }

    std::array<int, OutputRouting::numInstruments> outputs() const
    {
        std::array<int, OutputRouting::numInstruments> result{};

        for (int i = 0; i < OutputRouting::numInstruments; ++i)
            result[(size_t) i] = routing.getOutputNumber (i);

        return result;
    }

    FakeStateOwner owner;
    ParameterManager store;
    OutputRouting routing{owner, store};
};

void setSwitch (OutputRouting& routing, int uid, bool on)
{
    BoolParameter parameter (uid, "switch", BoolParameter::onOff);
    parameter.setBoolValue (on, false);
    EXPECT_TRUE (routing.takeParameter (uid, parameter)) << uid;
}
} // namespace

TEST (OutputRouting, SoloOverridesMuteAndOnlyItsOwnParametersAreTaken)
{
    RoutingFixture f;
    const int mute = OutputRouting::firstMuteUid, solo = OutputRouting::firstSoloUid;

    setSwitch (f.routing, mute + 1, true);
    const bool afterMute[] = {true, false, true, true, true, true, true};

    for (int i = 0; i < 7; ++i)
        EXPECT_EQ (f.routing.isInstrumentAudible (i), afterMute[i]) << i;

    setSwitch (f.routing, solo + 1, true);
    setSwitch (f.routing, solo + 6, true);

    for (int i = 0; i < 7; ++i)
        EXPECT_EQ (f.routing.isInstrumentAudible (i), i == 1 || i == 6) << i;

    setSwitch (f.routing, solo + 1, false);
    setSwitch (f.routing, solo + 6, false);
    EXPECT_FALSE (f.routing.isInstrumentAudible (1));
    EXPECT_FALSE (f.routing.isInstrumentAudible (7));

    IntParameter output (OutputRouting::firstOutputNumberUid + 6, "out", 1, 8, 5);
    EXPECT_TRUE (f.routing.takeParameter (OutputRouting::firstOutputNumberUid + 6, output));
    EXPECT_EQ (f.routing.getOutputNumber (6), 5);

    // The randomizer thresholds between them, and whatever follows the outputs, are not the routing's.
    for (int uid : {OutputRouting::firstMuteUid - 1, OutputRouting::firstRandThresholdUid, OutputRouting::firstOutputNumberUid - 1,
                    OutputRouting::firstOutputNumberUid + 7})
        EXPECT_FALSE (f.routing.takeParameter (uid, output)) << uid;
}

TEST (OutputRouting, TriggerAndDefaultOutputsStayWithinTheOutputs)
{
    RoutingFixture f;
    f.routing.resetOutputAssignments();
    EXPECT_EQ (f.routing.getTriggerOutput(), 8);

    for (int output : {0, 9, -1})
        f.routing.setTriggerOutput (output);

    EXPECT_EQ (f.routing.getTriggerOutput(), 8);
    f.routing.setTriggerOutput (3);
    EXPECT_EQ (f.routing.getTriggerOutput(), 3);

    f.routing.setDefaultOutputNumber (2, 9);
    f.routing.setDefaultOutputNumber (7, 4);
    f.routing.setDefaultOutputNumber (2, 6);
    EXPECT_EQ (f.routing.getDefaultOutputNumber (2), 6);
    EXPECT_EQ (f.routing.getDefaultOutputNumber (7), 0);

    f.routing.applyDefaultOutputAssignments();
    EXPECT_EQ (f.outputs(), (std::array<int, 7>{1, 1, 6, 1, 1, 1, 1}));
    EXPECT_EQ (f.store.getIntValue (OutputRouting::firstOutputNumberUid + 2), 6);
}

TEST (OutputRouting, StateDocumentRoundTripsAndDamagedOnesChangeNothing)
{
    RoutingFixture f;
    f.routing.setTriggerOutput (5);
    f.routing.readStateXml (*parseXmlText ("<AudioOutputSettings><OutAssignations><BD out=\"2\"/><CH out=\"7\"/>"
                                           "<SD out=\"12\"/></OutAssignations></AudioOutputSettings>"));

    EXPECT_EQ (f.outputs(), (std::array<int, 7>{2, 1, 1, 1, 1, 1, 7}));
    EXPECT_EQ (f.store.getIntValue (OutputRouting::firstOutputNumberUid + 6), 7);
    EXPECT_EQ (f.routing.getTriggerOutput(), 8); // saved before the trigger's output was stored

    EXPECT_EQ (f.routing.createStateXml()->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<AudioOutputSettings><TriggerOut state=\"off\" instrument=\"BD\" out=\"8\"/><OutAssignations>"
               "<BD out=\"2\"/><SD out=\"1\"/><LT out=\"1\"/><HT out=\"1\"/><CY out=\"1\"/><OH out=\"1\"/><CH out=\"7\"/>"
               "</OutAssignations></AudioOutputSettings>");

    EXPECT_FALSE (f.routing.readStateXml (*parseXmlText ("<OutputSettings><OutAssignations><BD out=\"3\"/></OutAssignations></OutputSettings>")));
    EXPECT_EQ (f.routing.getOutputNumber (0), 2);

    EXPECT_TRUE (f.routing.readSettingsXml (*parseXmlText ("<AudioOutputSettings><OutCharacteristics type=\"mono\"/>"
                                                           "<OutAssignations><HT out=\"4\"/></OutAssignations></AudioOutputSettings>")));
    EXPECT_EQ (f.routing.getDefaultOutputMode(), OutputSettings::monoOutputs);
    EXPECT_EQ (f.routing.getDefaultOutputNumber (3), 4);
    EXPECT_EQ (f.routing.getOutputNumber (3), 1); // defaults apply to the next instance
}
