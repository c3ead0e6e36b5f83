#pragma once

#include <cstdint>

/** Constants derived from the sample rate, embedded by the engine and every voice.

    smoothing (K) scales every one-pole smoother so that its time constant is the
    same at any rate: a smoother with coefficient c * K behaves at every rate as
    one with coefficient c does at 44100 Hz. */
struct SampleRateCoefficients
{
    SampleRateCoefficients() noexcept;

    /** Recomputes every entry; the rate index changes only for the rates it knows. */
    void setSampleRate (double rate) noexcept;

    double sampleRate = 0.0;
    float sampleRateFloat = 0.0f;
    int32_t rateIndex = 0; // 44100, 48000, 88200, 96000, 192000 -> 0..4
    double inverseRate = 0.0;
    float inverseRateFloat = 0.0f;
    double halfInverseRate = 0.0;
    double rateRatio = 0.0; // rate / 44100
    float rateRatioFloat = 0.0f;
    double smoothing = 0.0; // K = (1 - 0.5^(44100 / rate)) * 2
    float smoothingFloat = 0.0f;
    double inverseRateRatio = 0.0; // 44100 / rate
    double smoothingCubed = 0.0;
    float smoothingCubedFloat = 0.0f;
    double halfRate = 0.0;
    double levelSmoothing = 0.0; // K * 0.002
    float levelSmoothingFloat = 0.0f;
    float smoothingTimes0005Float = 0.0f;  // K * 0.005
    float smoothingTimes00001Float = 0.0f; // K * 0.0001
};
