#include "engine/SampleRateCoefficients.h"

#include <gtest/gtest.h>

TEST (SampleRateCoefficients, TableAgainstHandComputedValues)
{
    struct Row
    {
        double rate, k, rateRatio, inverseRateRatio, kCubed;
        int rateIndex;
    };

    // K = (1 - 0.5^(44100/rate)) * 2, worked out independently.
    const Row rows[] = {
        {44100.0, 1.0, 1.0, 1.0, 1.0, 0},
        {48000.0, 0.942065726224875, 1.08843537414966, 0.91875, 0.836071869465855, 1},
        {88200.0, 0.5857864376269049, 2.0, 0.5, 0.2010101267766692, 2},
        {96000.0, 0.5453974606270446, 2.17687074829932, 0.459375, 0.16223305058007595, 3},
        {192000.0, 0.2943608005366696, 4.35374149659864, 0.2296875, 0.0255058573286687, 4},
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.rate);
        SampleRateCoefficients c;
        c.setSampleRate (row.rate);
        EXPECT_EQ (c.sampleRate, row.rate);
        EXPECT_EQ (c.rateIndex, row.rateIndex);
        EXPECT_NEAR (c.smoothing, row.k, 1e-14);
        EXPECT_NEAR (c.levelSmoothing, row.k * 0.002, 1e-16);
        EXPECT_NEAR (c.rateRatio, row.rateRatio, 1e-13);
        EXPECT_NEAR (c.inverseRateRatio, row.inverseRateRatio, 1e-15);
        EXPECT_NEAR (c.smoothingCubed, row.kCubed, 1e-14);
        EXPECT_EQ (c.inverseRate, 1.0 / row.rate);
        EXPECT_EQ (c.halfInverseRate, 1.0 / (2.0 * row.rate));
        EXPECT_EQ (c.halfRate, row.rate / 2.0);
        EXPECT_EQ (c.smoothingFloat, (float) c.smoothing);
    }
}

TEST (SampleRateCoefficients, UnknownRateKeepsTheIndexAndStartsAt44100)
{
    SampleRateCoefficients c;
    EXPECT_EQ (c.sampleRate, 44100.0);
    EXPECT_EQ (c.smoothing, 1.0);

    c.setSampleRate (96000.0);
    c.setSampleRate (22050.0);
    EXPECT_EQ (c.rateIndex, 3);
    EXPECT_EQ (c.smoothing, 1.5);
    EXPECT_EQ (c.levelSmoothing, 0.003);
    EXPECT_EQ (c.rateRatio, 0.5);
}
