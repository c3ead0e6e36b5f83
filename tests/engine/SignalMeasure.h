#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

/** Measurements of rendered audio for the engine tests. */
struct SignalMeasure
{
    static std::vector<double> render (int numSamples, const std::function<double()>& nextSample)
    {
        std::vector<double> samples ((size_t) numSamples);
        for (auto& s : samples)
            s = nextSample();
        return samples;
    }

    /** Lets a noise-fed voice settle for a second, strikes it, and renders what follows. The noise is
        a fixed linear congruential sequence, so a seed gives the same hit every time. */
    template <typename Voice>
    static std::vector<double> strikeWithNoise (Voice& voice, double rate, double velocity, unsigned seed, double seconds)
    {
        uint32_t state = seed;
        auto noise = [&]
        {
            state = state * 1664525u + 1013904223u;
            return (double) (int32_t) state * 2.3283064365386963e-10;
        };
        render ((int) rate, [&]
                { return voice.renderWithInput (noise()); });
        voice.trigger (velocity);
        return render ((int) (rate * seconds), [&]
                       { return voice.renderWithInput (noise()); });
    }

    static double peak (const std::vector<double>& x, size_t from = 0, size_t to = (size_t) -1)
    {
        double p = 0.0;
        for (size_t i = from; i < std::min (to, x.size()); ++i)
            p = std::max (p, std::abs (x[i]));
        return p;
    }

    static double rms (const std::vector<double>& x, size_t from = 0, size_t to = (size_t) -1)
    {
        to = std::min (to, x.size());
        double sum = 0.0;
        for (size_t i = from; i < to; ++i)
            sum += x[i] * x[i];
        return to > from ? std::sqrt (sum / (double) (to - from)) : 0.0;
    }

    static bool allFinite (const std::vector<double>& x)
    {
        return std::all_of (x.begin(), x.end(), [] (double s)
                            { return std::isfinite (s); });
    }

    /** Pitch by autocorrelation over [from, to), searching lags for minHz..maxHz. Normalised by
        the window's energy, so a decaying tone favours its first period over its multiples. */
    static double frequency (const std::vector<double>& x, size_t from, size_t to, double rate, double minHz, double maxHz)
    {
        to = std::min (to, x.size());
        const int minLag = (int) std::floor (rate / maxHz);
        const int maxLag = (int) std::ceil (rate / minHz);
        std::vector<double> r ((size_t) maxLag + 2, 0.0);
        double energy = 0.0;
        for (size_t i = from; i < to; ++i)
            energy += x[i] * x[i];
        for (int lag = std::max (1, minLag - 1); lag <= maxLag + 1; ++lag)
        {
            double sum = 0.0;
            for (size_t i = from; i + (size_t) lag < to; ++i)
                sum += x[i] * x[i + (size_t) lag];
            r[(size_t) lag] = sum / (energy + 1e-300);
        }
        // Leave the lobe around lag 0 first, then take the highest peak.
        int start = std::max (1, minLag);
        while (start < maxLag && r[(size_t) start + 1] <= r[(size_t) start])
            ++start;
        int best = start;
        for (int lag = start; lag <= maxLag; ++lag)
            if (r[(size_t) lag] > r[(size_t) best])
                best = lag;
        // Parabolic interpolation around the best lag.
        const double a = r[(size_t) best - 1], b = r[(size_t) best], c = r[(size_t) best + 1];
        const double denominator = a - 2.0 * b + c;
        const double shift = denominator != 0.0 ? 0.5 * (a - c) / denominator : 0.0;
        return rate / ((double) best + shift);
    }

    /** Samples from the peak until the level, in windows of the given size, stays below peak * ratio. */
    static size_t decayLength (const std::vector<double>& x, double ratio, size_t window = 64)
    {
        const double p = peak (x);
        size_t peakIndex = 0;
        for (size_t i = 0; i < x.size(); ++i)
            if (std::abs (x[i]) == p)
            {
                peakIndex = i;
                break;
            }
        size_t lastLoud = peakIndex;
        for (size_t start = peakIndex; start < x.size(); start += window)
            if (peak (x, start, start + window) >= p * ratio)
                lastLoud = start + window;
        return lastLoud - peakIndex;
    }
};
