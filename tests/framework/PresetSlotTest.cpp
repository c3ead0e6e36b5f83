#include "framework/PresetSlot.h"

#include <gtest/gtest.h>

TEST (PresetSlot, ValueTextIsTheSinglePrecisionProductRoundedHalfToEven)
{
    const struct
    {
        float value;
        const char* text;
    } table[] = {
        {0.0f, "0"},
        {1.0f, "1"},
        {0.5f, "0.5"},
        {0.776f, "0.776"},
        {0.1234567f, "0.123457"},
        {0.2f, "0.2"},
        {0.0000005f, "0"},        // 0.5 after the product: even is 0
        {0.0000015f, "0.000002"}, // 1.5: even is 2
        {0.0000025f, "0.000002"}, // 2.5: even is 2
        {0.1000005f, "0.1"},      // 100000.5 in single precision (double would give 100001)
        {0.1000015f, "0.100002"}, // 100001.5
        {0.999999f, "0.999999"},
        {0.9999996f, "1"},
        {2.25f, "2.25"},
        {-0.25f, "-0.25"},
        {-0.0000001f, "0"},
    };

    for (auto& row : table)
        EXPECT_EQ (PresetSlot::formatValue (row.value), juce::String (row.text)) << row.value;

    EXPECT_EQ (PresetSlot::formatValue (std::numeric_limits<float>::quiet_NaN()), "0");
    EXPECT_EQ (PresetSlot::formatValue (std::numeric_limits<float>::infinity()), "0");
}

TEST (PresetSlot, ValuesOutsideTheSlotReadAsZeroAndAreNotWritten)
{
    PresetSlot slot ("Kick", 24, 7);
    EXPECT_EQ (slot.getName(), "Kick");
    EXPECT_EQ (slot.getIndex(), 7);
    EXPECT_EQ (slot.getNumValues(), 24);

    for (int i = 0; i < 24; ++i)
        EXPECT_EQ (slot.getValue (i), 0.0f);

    slot.setValue (23, 0.75f);
    slot.setValue (24, 0.5f);
    slot.setValue (-1, 0.5f);
    EXPECT_EQ (slot.getValue (23), 0.75f);
    EXPECT_EQ (slot.getValue (24), 0.0f);
    EXPECT_EQ (slot.getValue (-1), 0.0f);

    PresetSlot shorter ("Short", 3, -1);
    shorter.setValue (0, 0.25f);
    shorter.setValue (2, 0.5f);
    slot.copyValuesFrom (shorter);
    EXPECT_EQ (slot.getValue (0), 0.25f);
    EXPECT_EQ (slot.getValue (2), 0.5f);
    EXPECT_EQ (slot.getValue (23), 0.0f); // the shorter slot has no value there

    slot.copyFrom (shorter);
    EXPECT_EQ (slot.getName(), "Short");
    EXPECT_EQ (slot.getIndex(), 7); // a slot keeps its own index
}

TEST (PresetSlot, ConcurrentWritesAndRenamesNeverTearAValueOrName)
{
    PresetSlot slot ("aaaaaaaaaaaaaaaa", 24, 0);
    std::atomic<bool> stop{false};

    std::thread writer ([&]
                        {
        for (int n = 0; ! stop.load(); ++n)
        {
            for (int i = 0; i < 24; ++i)
                slot.setValue (i, (n & 1) ? 0.25f : 0.75f);

            slot.setName ((n & 1) ? "aaaaaaaaaaaaaaaa" : "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb");
        } });

    for (int n = 0; n < 20000; ++n)
    {
        const float v = slot.getValue (n % 24);
        ASSERT_TRUE (v == 0.25f || v == 0.75f || v == 0.0f);
        const auto name = slot.getName();
        ASSERT_TRUE (name == "aaaaaaaaaaaaaaaa" || name == "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb") << name;
    }

    stop = true;
    writer.join();
}
