#include "framework/ParameterManager.h"
#include "framework/BoolParameter.h"
#include "framework/EnumParameter.h"
#include "framework/FloatParameter.h"
#include "framework/IntParameter.h"
#include "framework/NoteParameter.h"
#include "framework/StringParameter.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
std::unique_ptr<juce::XmlElement> parse (const char* text)
{
    auto xml = juce::parseXML (juce::String (text));
    EXPECT_NE (xml, nullptr);
    return xml;
}

struct CountingListener : Parameter::Listener
{
    void parameterChanged (Parameter*) override { ++calls; }
    int calls = 0;
};
} // namespace

TEST (ParameterManager, EmbeddedDescriptionHoldsTheEightySixParameters)
{
    ParameterManager store;
    store.loadParametersFromResource ("parameters.xml");
    ASSERT_EQ (store.getNumParameters(), 86);

    const juce::StringArray voices{"Bass Drum", "Snare Drum", "Low Tom", "Hi Tom", "Cymbal", "Open Hi Hat", "Closed Hi Hat"};
    auto withAccent = voices;
    withAccent.add ("Accent");

    juce::StringArray names;
    juce::Array<float> defaults;

    auto add = [&] (const juce::String& name, float value)
    {
        names.add (name);
        defaults.add (value);
    };

    for (auto& v : voices)
        add (v + " Level", 0.5f);
    add ("Accent Level", 0.5f);
    add ("Bass Drum Tune", 0.5f);
    add ("Bass Drum Attack", 1.0f);
    add ("Bass Drum Decay", 0.5f);
    add ("Snare Drum Tune", 0.5f);
    add ("Snare Drum Tone", 0.5f);
    add ("Snare Drum Snappy", 1.0f);
    add ("Low Tom Tune", 0.5f);
    add ("Low Tom Decay", 0.5f);
    add ("Hi Tom Tune", 0.5f);
    add ("Hi Tom Decay", 0.5f);
    add ("Cymbal Tone", 1.0f);
    add ("Cymbal Decay", 1.0f);
    add ("Open Hi Hat Decay", 0.5f);
    add ("Closed Hi Hat Decay", 0.5f);
    add ("Toms Link Mode", 1.0f);
    add ("Hi Hats Link Mode", 1.0f);
    add ("Main Volume", 0.5f);
    for (auto& v : voices)
        add (v + " Mute", 0.0f);
    for (auto& v : voices)
        add (v + " Solo", 0.0f);
    for (auto& v : withAccent)
        add (v + " Rand Threshold", 0.2f);
    for (auto& v : voices)
        add (v + " Output Number", 1.0f);
    for (auto& suffix : {" Activity", " Rand State", " Selection", " Rand Selection"})
        for (auto& v : withAccent)
            add (v + suffix, 0.0f);

    ASSERT_EQ (names.size(), 86);

    for (int uid = 0; uid < 86; ++uid)
    {
        auto* p = store.getParameter (uid);
        ASSERT_NE (p, nullptr) << uid;
        EXPECT_EQ (store.getParameterAt (uid), p);
        EXPECT_EQ (p->getName(), names[uid]) << uid;
        EXPECT_EQ (store.getParameter (names[uid]), p);
        EXPECT_EQ (p->getValue(), defaults[uid]) << uid;
        EXPECT_EQ (p->isAuto(), uid < 47) << uid;

        if (uid >= 47 && uid <= 53)
        {
            auto* ip = dynamic_cast<IntParameter*> (p);
            ASSERT_NE (ip, nullptr) << uid;
            EXPECT_EQ (ip->getMinimum(), 1);
            EXPECT_EQ (ip->getMaximum(), 8);
        }
        else
        {
            auto* fp = dynamic_cast<FloatParameter*> (p);
            ASSERT_NE (fp, nullptr) << uid;
            EXPECT_EQ (fp->getMinimum(), 0.0f);
            EXPECT_EQ (fp->getMaximum(), 1.0f);
        }
    }

    EXPECT_EQ (store.getText (39), "0.200000003");
    EXPECT_EQ (store.getText (47), "1");
}

TEST (ParameterManager, LoaderTypesAndEdgeCases)
{
    ParameterManager store;
    store.loadParameters (*parse (R"(<pluginparameters>
        <param index="1" name="Float" min="-1" max="3" value="2.5" auto="yes"/>
        <param index="2" name="Int" type="int" min="-5" max="5" value="9"/>
        <param index="3" name="String" type="string" value="hello"/>
        <param index="4" name="Bool" type="bool" value="true"/>
        <param index="5" name="State" type="state" value="on"/>
        <param index="6" name="Enum" type="enum" enum="Off;Slow;Fast" value="Fast"/>
        <param index="7" name="Note" type="note" value="C-5"/>
        <param index="8" name="Bad Note" type="note" value="c-5"/>
        <PARAM INDEX="9" NAME="Upper Case Names" VALUE="0.25"/>
        <param index="-1" name="Minus One"/>
        <param name="No Index"/>
        <param index="10"/>
        <param index="11" name=""/>
        <param index="12" name="Capital" type="Float"/>
        <param index="13" name="Unknown" type="double"/>
        <param index="1" name="Same Uid"/>
        <param index="14" name="Float"/>
        <other index="15" name="Other Tag"/>
        <param index="16" name="Defaults"/>
        <param index="17" name="Int Defaults" type="int"/>
    </pluginparameters>)"));

    EXPECT_EQ (store.getNumParameters(), 11);

    auto* f = dynamic_cast<FloatParameter*> (store.getParameter (1));
    ASSERT_NE (f, nullptr);
    EXPECT_EQ (f->getName(), "Float");
    EXPECT_EQ (f->getMinimum(), -1.0f);
    EXPECT_EQ (f->getMaximum(), 3.0f);
    EXPECT_EQ (f->getValue(), 2.5f);
    EXPECT_TRUE (f->isAuto());

    auto* i = dynamic_cast<IntParameter*> (store.getParameter (2));
    ASSERT_NE (i, nullptr);
    EXPECT_EQ (i->getIntValue(), 5);
    EXPECT_EQ (i->getMinimum(), -5);
    EXPECT_FALSE (i->isAuto());

    ASSERT_NE (dynamic_cast<StringParameter*> (store.getParameter (3)), nullptr);
    EXPECT_EQ (store.getText (3), "hello");

    auto* b = dynamic_cast<BoolParameter*> (store.getParameter (4));
    ASSERT_NE (b, nullptr);
    EXPECT_EQ (b->getStyle(), BoolParameter::trueFalse);
    EXPECT_EQ (store.getText (4), "true");

    auto* s = dynamic_cast<BoolParameter*> (store.getParameter (5));
    ASSERT_NE (s, nullptr);
    EXPECT_EQ (s->getStyle(), BoolParameter::onOff);
    EXPECT_EQ (store.getText (5), "on");

    ASSERT_NE (dynamic_cast<EnumParameter*> (store.getParameter (6)), nullptr);
    EXPECT_EQ (store.getIntValue (6), 2);
    EXPECT_EQ (store.getText (6), "Fast");

    ASSERT_NE (dynamic_cast<NoteParameter*> (store.getParameter (7)), nullptr);
    EXPECT_EQ (store.getIntValue (7), 60);
    EXPECT_EQ (store.getIntValue (8), 0);

    EXPECT_EQ (store.getValue (9), 0.25f);

    for (int uid : {10, 11, 12, 13, 14, 15, -1})
        EXPECT_EQ (store.getParameter (uid), nullptr) << uid;

    EXPECT_EQ (store.getParameterName (1), "Float"); // the first of two with uid 1 stays
    EXPECT_EQ (store.getParameter ("Same Uid"), nullptr);

    auto* d = dynamic_cast<FloatParameter*> (store.getParameter (16));
    ASSERT_NE (d, nullptr);
    EXPECT_EQ (d->getMinimum(), 0.0f);
    EXPECT_EQ (d->getMaximum(), 1.0f);
    EXPECT_EQ (d->getValue(), 0.0f);

    auto* id = dynamic_cast<IntParameter*> (store.getParameter (17));
    ASSERT_NE (id, nullptr);
    EXPECT_EQ (id->getMaximum(), 1);

    // Loading again replaces everything.
    store.loadParameters (*parse (R"(<PluginParameters><param index="40" name="Only"/></PluginParameters>)"));
    EXPECT_EQ (store.getNumParameters(), 1);
    EXPECT_EQ (store.getParameter (1), nullptr);
}

TEST (ParameterManager, DamagedOrForeignDescriptionsLeaveTheStoreEmpty)
{
    ParameterManager store;
    store.loadParametersFromResource ("parameters.xml");
    ASSERT_EQ (store.getNumParameters(), 86);

    store.loadParameters (*parse (R"(<EventsMap><param index="1" name="A"/></EventsMap>)"));
    EXPECT_EQ (store.getNumParameters(), 0);

    store.loadParametersFromResource ("parameters.xml");
    store.loadParametersFromResource ("missing.xml");
    EXPECT_EQ (store.getNumParameters(), 0);

    // A truncated document parses to nothing.
    const auto text = juce::String (R"(<PluginParameters><param index="1" name="A"/><param ind)");
    EXPECT_EQ (juce::parseXML (text), nullptr);

    // Absurd numbers neither wrap nor overflow.
    store.loadParameters (*parse (R"(<PluginParameters>
        <param index="99999999999999" name="Huge Uid"/>
        <param index="-2147483648" name="Lowest Uid" type="int" min="-99999999999" max="99999999999" value="-99999999999"/>
        <param index="5" name="Wide" min="-1e39" max="1e39" value="1e39"/>
    </PluginParameters>)"));
    EXPECT_NE (store.getParameter (std::numeric_limits<int>::max()), nullptr);
    auto* lowest = dynamic_cast<IntParameter*> (store.getParameter (std::numeric_limits<int>::min()));
    ASSERT_NE (lowest, nullptr);
    EXPECT_EQ (lowest->getIntValue(), std::numeric_limits<int>::min());
    EXPECT_EQ (lowest->getMaximum(), std::numeric_limits<int>::max());
    EXPECT_NE (store.getParameter (5), nullptr);
}

TEST (ParameterManager, AddingLookingUpAndUnknownUids)
{
    ParameterManager store;
    auto* first = new FloatParameter (5, "Five", 0.0f, 1.0f, 0.5f);
    EXPECT_TRUE (store.addParameter (first));

    // The same pointer again is refused but must stay alive: the store owns it.
    EXPECT_FALSE (store.addParameter (first));
    EXPECT_EQ (store.getParameter (5), first);
    EXPECT_EQ (first->getName(), "Five");

    EXPECT_FALSE (store.addParameter (std::make_unique<IntParameter> (5, "Other Name", 0, 1, 0)));
    EXPECT_FALSE (store.addParameter (std::make_unique<IntParameter> (6, "Five", 0, 1, 0)));
    EXPECT_FALSE (store.addParameter (nullptr));
    EXPECT_TRUE (store.addParameter (std::make_unique<IntParameter> (std::numeric_limits<int>::min(), "Lowest", 0, 1, 0)));
    EXPECT_TRUE (store.addParameter (std::make_unique<IntParameter> (-7, "Negative", 0, 1, 0)));
    EXPECT_TRUE (store.addParameter (std::make_unique<IntParameter> (7, "Positive", 0, 1, 0)));
    EXPECT_EQ (store.getNumParameters(), 4);
    EXPECT_EQ (store.getParameterName (std::numeric_limits<int>::min()), "Lowest");
    EXPECT_EQ (store.getParameterName (-7), "Negative");
    EXPECT_EQ (store.getParameterName (7), "Positive");
    EXPECT_EQ (store.getParameter ("five"), nullptr); // names are case-sensitive

    EXPECT_EQ (store.getValue (99), 0.0f);
    EXPECT_EQ (store.getNormalisedValue (99), 0.0f);
    EXPECT_FALSE (store.getBoolValue (99));
    EXPECT_EQ (store.getText (99), "");
    EXPECT_EQ (store.getParameterName (99), "");
    EXPECT_EQ (store.getParameter (99), nullptr);
    store.setValue (99, 1.0f);
    store.setNormalisedValue (99, 1.0f);
    store.setIntValue (99, 1);
    store.setBoolValue (99, true);
    store.setText (99, "1");
    EXPECT_EQ (store.getNumParameters(), 4);

    CountingListener sync, async;
    store.addListenerToAll (&sync);
    store.addListenerToAll (&sync);
    store.addListenerToAll (nullptr);
    store.addAsyncListenerToAll (&async);
    EXPECT_EQ (first->getNumListeners(), 1);

    store.setNormalisedValue (5, 1.0f);
    EXPECT_EQ (first->getValue(), 1.0f);
    EXPECT_EQ (sync.calls, 1);
    store.setText (5, "0.25");
    store.setBoolValue (5, true);
    store.setIntValue (5, 0);
    store.setValue (5, 0.75f);
    EXPECT_EQ (sync.calls, 5);

    sync.calls = 0;
    store.triggerAllUpdates();
    EXPECT_EQ (sync.calls, 4);
    EXPECT_TRUE (first->isUpdatePending());

    store.removeAsyncListenerFromAll (&async);
    EXPECT_EQ (first->getNumAsyncListeners(), 0);
    store.addAsyncListener (5, &async);
    EXPECT_EQ (first->getNumAsyncListeners(), 1);
    store.removeAsyncListener (5, &async);
    EXPECT_EQ (first->getNumAsyncListeners(), 0);
    store.addListener (7, &async);
    EXPECT_EQ (store.getParameter (7)->getNumListeners(), 2);

    for (int n = 0; n < store.getNumParameters(); ++n)
    {
        store.getParameterAt (n)->removeListener (&sync);
        store.getParameterAt (n)->removeListener (&async);
    }

    store.clear();
    EXPECT_EQ (store.getNumParameters(), 0);
    EXPECT_EQ (store.getParameter (5), nullptr);
}

TEST (ParameterManager, HashesStayInRange)
{
    ParameterManager::UidHash uidHash;
    EXPECT_EQ (uidHash.generateHash (std::numeric_limits<int>::min(), 10000), (int) (2147483648u % 10000u));
    EXPECT_EQ (uidHash.generateHash (-7, 101), 7);
    EXPECT_EQ (uidHash.generateHash (7, 101), 7);

    ParameterManager::NameHash nameHash;
    EXPECT_EQ (nameHash.generateHash ("ab", 10000), (31 * 'a' + 'b') % 10000);
    const auto h = nameHash.generateHash ("A very long parameter name that overflows the hash", 10000);
    EXPECT_GE (h, 0);
    EXPECT_LT (h, 10000);
}
