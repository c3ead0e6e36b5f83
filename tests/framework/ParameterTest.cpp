#include "framework/BoolParameter.h"
#include "framework/EnumParameter.h"
#include "framework/FloatParameter.h"
#include "framework/IntParameter.h"
#include "framework/NoteParameter.h"
#include "framework/NumberText.h"
#include "framework/StringParameter.h"
#include "tests/MessagePump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
struct CountingListener : Parameter::Listener
{
    void parameterChanged (Parameter* p) override
    {
        ++calls;
        lastText = p->getText();
    }

    void parameterChangeGestureBegin (Parameter*) override { ++gestureBegins; }
    void parameterChangeGestureEnd (Parameter*) override { ++gestureEnds; }

    int calls = 0, gestureBegins = 0, gestureEnds = 0;
    juce::String lastText;
};

struct OrderListener : Parameter::Listener
{
    OrderListener (juce::StringArray& logToUse, const juce::String& nameToUse)
        : log (logToUse)
        , name (nameToUse)
    {
    }
    void parameterChanged (Parameter*) override { log.add (name); }

    juce::StringArray& log;
    juce::String name;
};

void pumpMessages()
{
    pumpPendingMessages();
}

const float notANumber = std::numeric_limits<float>::quiet_NaN();
} // namespace

TEST (NumberText, NineDecimalsRoundHalfAwayFromZero)
{
    const struct
    {
        float value;
        const char* text;
    } table[] = {
        {0.0f, "0.000000000"},
        {-0.0f, "0.000000000"},
        {0.5f, "0.500000000"},
        {1.0f, "1.000000000"},
        {165.0f, "165.000000000"},
        {-2.25f, "-2.250000000"},
        {0.2f, "0.200000003"},
        {0.1f, "0.100000001"},
        // Exact ties at the tenth decimal: printf would round these to even.
        {0.0009765625f, "0.000976563"},
        {-0.0009765625f, "-0.000976563"},
        {0.0029296875f, "0.002929688"},
        {1.0e-12f, "0.000000000"},
        {9.99999999e-10f, "0.000000001"},
        {123456789.0f, "123456792.000000000"},
        {1.0e19f, "9999999980506447872.000000000"},
        {1.0e21f, "1.00000002e+21"},
        {-1.0e21f, "-1.00000002e+21"},
        {std::numeric_limits<float>::infinity(), "inf"},
    };

    for (auto& row : table)
        EXPECT_EQ (formatNineDecimals (row.value), juce::String (row.text)) << row.value;

    EXPECT_EQ (formatGeneralNumber (0.5), "0.5");
    EXPECT_EQ (formatGeneralNumber (0.2f), "0.200000003");
    EXPECT_EQ (formatGeneralNumber (1234567890.0), "1.23456789e+09");
}

TEST (NumberText, IntegerParsingSaturates)
{
    EXPECT_EQ (parseDecimalInteger ("12"), 12);
    EXPECT_EQ (parseDecimalInteger ("  -7x"), -7);
    EXPECT_EQ (parseDecimalInteger ("12.9"), 12);
    EXPECT_EQ (parseDecimalInteger ("abc"), 0);
    EXPECT_EQ (parseDecimalInteger (""), 0);
    EXPECT_EQ (parseDecimalInteger ("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ (parseDecimalInteger ("99999999999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ (parseDecimalInteger ("-99999999999999999999"), std::numeric_limits<int>::min());
}

TEST (NumberText, DocumentNumbersAreWholeTextsOrNone)
{
    const std::optional<int> noInteger;
    const struct
    {
        const char* text;
        std::optional<int> value;
    } integers[] = {
        {"12", 12}, {" +7 ", 7}, {"-0", 0}, {"-2147483648", std::numeric_limits<int>::min()}, {"2147483647", std::numeric_limits<int>::max()},
        {"2147483648", noInteger}, {"-2147483649", noInteger}, {"99999999999999999999", noInteger}, {"", noInteger}, {" ", noInteger},
        {"-", noInteger}, {"x1", noInteger}, {"1x", noInteger}, {"1 2", noInteger}, {"12.0", noInteger}, {"1e3", noInteger}, {"0x10", noInteger},
    };

    for (const auto& row : integers)
        EXPECT_EQ (readIntegerText (row.text), row.value) << row.text;

    const std::optional<double> noNumber;
    const double huge = std::numeric_limits<double>::infinity();
    const struct
    {
        const char* text;
        std::optional<double> value;
        double prefix; // parseDecimalNumber, for typed text
    } numbers[] = {
        {"0.5", 0.5, 0.5}, {" -1.25e2 ", -125.0, -125.0}, {"+.5", 0.5, 0.5}, {"5.", 5.0, 5.0}, {"1E-3", 0.001, 0.001}, {"0.200000003", 0.200000003, 0.200000003},
        {"1e-99999", 0.0, 0.0}, {"0.0000001e-320", 0.0, 0.0}, {"1e308", 1e308, 1e308},
        {"1e9999999999", noNumber, huge}, {"-1e309", noNumber, -huge}, {"0.01e311", noNumber, huge}, {"0.001e311", 1e308, 1e308},
        {"", noNumber, 0.0}, {".", noNumber, 0.0}, {"e5", noNumber, 0.0}, {"x1", noNumber, 0.0}, {"1x", noNumber, 1.0}, {"1e", noNumber, 1.0},
        {"1e+", noNumber, 1.0}, {"1,5", noNumber, 1.0}, {"0x1p3", noNumber, 0.0}, {"inf", noNumber, huge}, {"-INF", noNumber, -huge},
    };

    for (const auto& row : numbers)
    {
        EXPECT_EQ (readNumberText (row.text), row.value) << row.text;
        EXPECT_EQ (parseDecimalNumber (row.text), row.prefix) << row.text;
    }

    EXPECT_TRUE (std::isnan (parseDecimalNumber ("nan")));
    EXPECT_EQ (readNumberText ("nan"), noNumber);
}

TEST (FloatParameter, Conversions)
{
    FloatParameter p (1, "Tempo", 30.0f, 300.0f, 500.0f);
    EXPECT_EQ (p.getValue(), 300.0f); // the constructor clamps

    p.setNormalisedValue (0.5f, false);
    EXPECT_EQ (p.getValue(), 165.0f);
    EXPECT_EQ (p.getText(), "165.000000000");
    EXPECT_FLOAT_EQ (p.getNormalisedValue(), 0.5f);
    EXPECT_EQ (p.getIntValue(), 165);
    EXPECT_TRUE (p.getBoolValue()); // exactly half way counts as near max

    p.setNormalisedValue (2.0f, false);
    EXPECT_EQ (p.getValue(), 300.0f);
    EXPECT_TRUE (p.getBoolValue());
    p.setNormalisedValue (-1.0f, false);
    EXPECT_EQ (p.getValue(), 30.0f);

    p.setValue (99.99f, false);
    EXPECT_EQ (p.getIntValue(), 99);
    p.setValue (1000.0f, false);
    EXPECT_EQ (p.getValue(), 300.0f);
    p.setIntValue (-5, false);
    EXPECT_EQ (p.getValue(), 30.0f);
    p.setBoolValue (true, false);
    EXPECT_EQ (p.getValue(), 300.0f);
    p.setBoolValue (false, false);
    EXPECT_EQ (p.getValue(), 30.0f);
    p.setText ("120.5", false);
    EXPECT_EQ (p.getValue(), 120.5f);
    p.setText ("nonsense", false);
    EXPECT_EQ (p.getValue(), 30.0f);

    // Nearer max than min, or exactly half way, reads as true.
    p.setValue (165.0f, false);
    EXPECT_TRUE (p.getBoolValue());
    p.setValue (164.9f, false);
    EXPECT_FALSE (p.getBoolValue());

    FloatParameter negative (2, "Offset", -1.0f, 1.0f, -0.25f);
    EXPECT_EQ (negative.getText(), "-0.250000000");
    EXPECT_EQ (negative.getIntValue(), 0);

    IntParameter source (3, "Source", 0, 1000, 77);
    p.copyValueFrom (source, false);
    EXPECT_EQ (p.getValue(), 77.0f);
}

TEST (FloatParameter, NaNAndEmptyRangeAreHarmless)
{
    FloatParameter p (1, "Level", 0.0f, 1.0f, 0.25f);
    CountingListener listener;
    p.addListener (&listener);

    p.setValue (notANumber, true);
    p.setNormalisedValue (notANumber, true);
    p.setText ("nan", true);
    EXPECT_EQ (p.getValue(), 0.25f);
    EXPECT_EQ (listener.calls, 0);
    p.removeListener (&listener);

    FloatParameter fromNan (2, "Fresh", 0.0f, 1.0f, notANumber);
    EXPECT_EQ (fromNan.getValue(), 0.0f);

    FloatParameter flat (3, "Flat", 2.0f, 2.0f, 2.0f);
    EXPECT_EQ (flat.getNormalisedValue(), 0.0f);
    flat.setNormalisedValue (1.0f, false);
    EXPECT_EQ (flat.getValue(), 2.0f);

    FloatParameter inverted (4, "Inverted", 1.0f, 0.0f, 0.5f);
    EXPECT_EQ (inverted.getNormalisedValue(), 0.0f);
    EXPECT_FALSE (std::isnan (inverted.getValue()));

    FloatParameter huge (5, "Huge", -1.0e30f, 1.0e30f, 1.0e30f);
    EXPECT_EQ (huge.getIntValue(), std::numeric_limits<int>::max());
    huge.setValue (-1.0e30f, false);
    EXPECT_EQ (huge.getIntValue(), std::numeric_limits<int>::min());
}

TEST (IntParameter, Conversions)
{
    IntParameter p (1, "Output", 1, 8, 0);
    EXPECT_EQ (p.getIntValue(), 1);

    p.setNormalisedValue (0.5f, false);
    EXPECT_EQ (p.getIntValue(), 5);
    EXPECT_EQ (p.getText(), "5");
    EXPECT_FLOAT_EQ (p.getNormalisedValue(), 4.0f / 7.0f);
    EXPECT_TRUE (p.getBoolValue());

    p.setValue (8.9f, false);
    EXPECT_EQ (p.getIntValue(), 8);
    p.setValue (-3.7f, false);
    EXPECT_EQ (p.getIntValue(), 1);
    p.setText ("12", false);
    EXPECT_EQ (p.getIntValue(), 8);
    p.setText ("3.9", false);
    EXPECT_EQ (p.getIntValue(), 3);
    p.setBoolValue (false, false);
    EXPECT_EQ (p.getIntValue(), 1);
    EXPECT_FALSE (p.getBoolValue());
    p.setBoolValue (true, false);
    EXPECT_EQ (p.getIntValue(), 8);
    EXPECT_EQ (p.getValue(), 8.0f);

    // Out-of-range floats are clamped before conversion, NaN is ignored.
    p.setValue (1.0e30f, false);
    EXPECT_EQ (p.getIntValue(), 8);
    p.setValue (-1.0e30f, false);
    EXPECT_EQ (p.getIntValue(), 1);
    p.setValue (notANumber, false);
    p.setNormalisedValue (notANumber, false);
    EXPECT_EQ (p.getIntValue(), 1);

    FloatParameter source (2, "Source", 0.0f, 10.0f, 6.7f);
    p.copyValueFrom (source, false);
    EXPECT_EQ (p.getIntValue(), 6);

    IntParameter wide (3, "Wide", std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0);
    wide.setNormalisedValue (1.0f, false);
    EXPECT_EQ (wide.getIntValue(), std::numeric_limits<int>::max());
    wide.setNormalisedValue (0.0f, false);
    EXPECT_EQ (wide.getIntValue(), std::numeric_limits<int>::min());
    EXPECT_EQ (wide.getNormalisedValue(), 0.0f);
}

TEST (BoolParameter, StylesAndKeywords)
{
    const char* texts[4][2] = {{"true", "false"}, {"on", "off"}, {"1", "0"}, {"yes", "no"}};

    for (int style = 0; style < 4; ++style)
    {
        BoolParameter p (1, "Switch", style);
        EXPECT_EQ (p.getText(), texts[style][1]);
        p.setBoolValue (true, false);
        EXPECT_EQ (p.getText(), texts[style][0]);
        EXPECT_EQ (p.getValue(), 1.0f);
        EXPECT_EQ (p.getNormalisedValue(), 1.0f);
        EXPECT_EQ (p.getIntValue(), 1);
    }

    BoolParameter p (1, "Switch", BoolParameter::onOff);
    const struct
    {
        const char* text;
        bool result;
    } keywords[] = {{"true", true}, {"false", false}, {"on", true}, {"off", false}, {"yes", true}, {"no", false}, {"1", true}, {"0", false}, {"0.7", true}, {"0.2", false}, {"On", false}, {"TRUE", false}, {"2", true}, {"-1", false}};

    for (auto& k : keywords)
    {
        p.setBoolValue (!k.result, false);
        p.setText (k.text, false);
        EXPECT_EQ (p.getBoolValue(), k.result) << k.text;
    }

    p.setNormalisedValue (0.5f, false);
    EXPECT_TRUE (p.getBoolValue());
    p.setNormalisedValue (0.49f, false);
    EXPECT_FALSE (p.getBoolValue());
    p.setNormalisedValue (1.5f, false);
    EXPECT_TRUE (p.getBoolValue());
    p.setNormalisedValue (notANumber, false);
    EXPECT_TRUE (p.getBoolValue());
    p.setValue (0.1f, false);
    EXPECT_TRUE (p.getBoolValue());
    p.setIntValue (0, false);
    EXPECT_FALSE (p.getBoolValue());

    FloatParameter nearMax (2, "Near", 0.0f, 1.0f, 0.8f);
    p.copyValueFrom (nearMax, false);
    EXPECT_TRUE (p.getBoolValue());
}

TEST (StringParameter, Conversions)
{
    StringParameter p (1, "Preset Name", "Init");
    EXPECT_EQ (p.getText(), "Init");
    EXPECT_EQ (p.getValue(), 0.0f);

    p.setValue (0.2f, false);
    EXPECT_EQ (p.getText(), "0.200000003");
    p.setIntValue (-42, false);
    EXPECT_EQ (p.getText(), "-42");
    EXPECT_EQ (p.getIntValue(), -42);
    EXPECT_EQ (p.getNormalisedValue(), 0.0f);
    p.setBoolValue (true, false);
    EXPECT_EQ (p.getText(), "true");
    EXPECT_TRUE (p.getBoolValue());
    p.setText ("3.5", false);
    EXPECT_EQ (p.getValue(), 3.5f);
    EXPECT_EQ (p.getNormalisedValue(), 1.0f);
    p.setNormalisedValue (0.25f, false);
    EXPECT_EQ (p.getText(), "0.25");
    p.setText ("no", false);
    EXPECT_FALSE (p.getBoolValue());

    BoolParameter b (2, "Switch", BoolParameter::yesNo);
    b.setBoolValue (true, false);
    p.copyValueFrom (b, false);
    EXPECT_EQ (p.getText(), "yes");
}

TEST (EnumParameter, ItemsAndText)
{
    EnumParameter p (1, "Mode", "Off;Slow;Fast;", "Slow");
    EXPECT_EQ (p.getItems().size(), 3);
    EXPECT_EQ (p.getMinimum(), 0);
    EXPECT_EQ (p.getMaximum(), 2);
    EXPECT_EQ (p.getIntValue(), 1);
    EXPECT_EQ (p.getText(), "Slow");

    p.setText ("Fast", false);
    EXPECT_EQ (p.getIntValue(), 2);
    p.setText ("Slow", false);
    EXPECT_EQ (p.getIntValue(), 1);
    p.setText ("SLOW", false); // no item: read as the number 0
    EXPECT_EQ (p.getIntValue(), 0);
    p.setText ("1", false); // a normalised 1 selects the last item
    EXPECT_EQ (p.getIntValue(), 2);
    p.setNormalisedValue (0.5f, false);
    EXPECT_EQ (p.getText(), "Slow");
    EXPECT_FLOAT_EQ (p.getNormalisedValue(), 0.5f);

    EnumParameter gap (2, "Gap", "A;;B", "");
    ASSERT_EQ (gap.getItems().size(), 3);
    EXPECT_EQ (gap.getItems()[1], "");
    EXPECT_EQ (gap.getIntValue(), 1); // the empty text matches the empty item

    // One item or none: nothing to divide by, and the text of nothing is empty.
    EnumParameter single (3, "Single", "Only", "Only");
    EXPECT_EQ (single.getNormalisedValue(), 0.0f);
    single.setNormalisedValue (1.0f, false);
    EXPECT_EQ (single.getIntValue(), 0);

    EnumParameter empty (4, "Empty", "", "x");
    EXPECT_EQ (empty.getItems().size(), 0);
    EXPECT_EQ (empty.getIntValue(), 0);
    EXPECT_EQ (empty.getText(), "");
    EXPECT_EQ (empty.getNormalisedValue(), 0.0f);
    empty.setNormalisedValue (1.0f, false);
    EXPECT_EQ (empty.getIntValue(), 0);
}

TEST (NoteParameter, NamesAndNumbers)
{
    NoteParameter p (1, "Key");
    EXPECT_EQ (p.getText(), "C-0");
    p.setText ("C-5", false);
    EXPECT_EQ (p.getIntValue(), 60);
    p.setText ("C#5", false);
    EXPECT_EQ (p.getText(), "C#5");
    p.setText ("1", false); // no note name: normalised 1 is the top note
    EXPECT_EQ (p.getIntValue(), 127);
    EXPECT_EQ (p.getText(), "G-X");
    p.setText ("c-5", false); // lower case is no note name; read as 0
    EXPECT_EQ (p.getIntValue(), 0);
    p.setIntValue (200, false);
    EXPECT_EQ (p.getIntValue(), 127);
}

TEST (Parameter, NotificationOrderAndCoalescing)
{
    FloatParameter p (1, "Level", 0.0f, 1.0f, 0.0f);
    CountingListener sync, async;
    p.addListener (&sync);
    p.addListener (&sync);
    p.addListener (nullptr);
    p.addAsyncListener (&async);
    EXPECT_EQ (p.getNumListeners(), 1);

    // Equal values notify nobody, even with notify on.
    p.setValue (0.0f, true);
    p.setValue (0.3f, false);
    p.setValue (0.3f, true);
    EXPECT_FALSE (p.isUpdatePending());
    pumpMessages();
    EXPECT_EQ (sync.calls, 0);
    EXPECT_EQ (async.calls, 0);

    for (int i = 1; i <= 10; ++i)
        p.setValue ((float) i / 20.0f, true);

    EXPECT_EQ (sync.calls, 10);
    EXPECT_EQ (async.calls, 0);
    pumpMessages();
    EXPECT_EQ (async.calls, 1);
    EXPECT_EQ (async.lastText, "0.500000000"); // the latest value, not each one

    p.beginChangeGesture();
    p.endChangeGesture();
    EXPECT_EQ (sync.gestureBegins, 1);
    EXPECT_EQ (sync.gestureEnds, 1);
    EXPECT_EQ (async.gestureBegins, 0);

    juce::StringArray log;
    OrderListener first (log, "first"), second (log, "second"), third (log, "third");
    IntParameter q (2, "Count", 0, 10, 0);
    q.addListener (&first);
    q.addListener (&second);
    q.addListener (&third);
    q.setIntValue (4, true);
    EXPECT_EQ (log.joinIntoString (","), "third,second,first");

    q.addAsyncListener (&first);
    auto copy = q.clone();
    EXPECT_EQ (copy->getNumListeners(), 0);
    EXPECT_EQ (copy->getNumAsyncListeners(), 0);
    pumpMessages();

    p.removeListener (&sync);
    p.removeAsyncListener (&async);
    q.removeListener (&first);
    q.removeListener (&second);
    q.removeListener (&third);
    q.removeAsyncListener (&first);
}

TEST (Parameter, CloneKeepsClassRangeValueAndAutoFlag)
{
    FloatParameter f (1, "F", -2.0f, 2.0f, 1.5f);
    f.setAuto (true);
    f.setFirstFlag (true);
    auto fc = f.clone();
    auto* fp = dynamic_cast<FloatParameter*> (fc.get());
    ASSERT_NE (fp, nullptr);
    EXPECT_EQ (fp->getUid(), 1);
    EXPECT_EQ (fp->getName(), "F");
    EXPECT_EQ (fp->getMinimum(), -2.0f);
    EXPECT_EQ (fp->getMaximum(), 2.0f);
    EXPECT_EQ (fp->getValue(), 1.5f);
    EXPECT_TRUE (fp->isAuto());
    EXPECT_FALSE (fp->getFirstFlag());

    EnumParameter e (2, "E", "A;B;C", "C");
    auto ec = e.clone();
    ASSERT_NE (dynamic_cast<EnumParameter*> (ec.get()), nullptr);
    EXPECT_EQ (ec->getText(), "C");
    EXPECT_FALSE (ec->isAuto());

    BoolParameter b (3, "B", BoolParameter::yesNo);
    b.setBoolValue (true, false);
    EXPECT_EQ (b.clone()->getText(), "yes");

    NoteParameter n (4, "N");
    n.setIntValue (61, false);
    auto nc = n.clone();
    ASSERT_NE (dynamic_cast<NoteParameter*> (nc.get()), nullptr);
    EXPECT_EQ (nc->getText(), "C#5");

    StringParameter s (5, "S", "hello");
    EXPECT_EQ (s.clone()->getText(), "hello");

    IntParameter i (6, "I", 1, 8, 6);
    auto ic = i.clone();
    EXPECT_EQ (dynamic_cast<IntParameter*> (ic.get())->getMaximum(), 8);
    EXPECT_EQ (ic->getIntValue(), 6);
}

TEST (StringParameter, SynchronousListenerReadsTheNewText)
{
    struct Reader : Parameter::Listener
    {
        void parameterChanged (Parameter* p) override { seen = p->getText(); }
        juce::String seen;
    } reader;

    StringParameter p (1, "Name", "a");
    p.addListener (&reader);
    p.setText ("a", true);
    EXPECT_EQ (reader.seen, "");
    p.setText ("b", true);
    EXPECT_EQ (reader.seen, "b");
    p.removeListener (&reader);
    pumpMessages();
}
