#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

/** The few functions the voices evaluate every sample, written for the ranges they are
    used in: as accurate as the C library's (an ulp or two), but inline and without
    branches, so that a sample's work is one straight run of arithmetic. */
struct EngineMath
{
    /** Two doubles that the compiler keeps in one vector register and steps together. */
    using Pair = double __attribute__ ((vector_size (16)));

    /** a < b ? x : y, without a branch: for choices that follow the signal, which a
        branch predictor cannot learn. */
    static double selectIfLess (double a, double b, double x, double y) noexcept
    {
#if defined(__SSE2__)
        const __m128d mask = _mm_cmplt_sd (_mm_set_sd (a), _mm_set_sd (b));
        return _mm_cvtsd_f64 (_mm_or_pd (_mm_and_pd (mask, _mm_set_sd (x)), _mm_andnot_pd (mask, _mm_set_sd (y))));
#else
        return a < b ? x : y;
#endif
    }

    /** Lane by lane: a > b ? a : b, and a < b ? a : b. */
    static Pair maxOf (Pair a, Pair b) noexcept
    {
#if defined(__SSE2__)
        return (Pair) _mm_max_pd ((__m128d) a, (__m128d) b);
#else
        return a > b ? a : b;
#endif
    }

    static Pair minOf (Pair a, Pair b) noexcept
    {
#if defined(__SSE2__)
        return (Pair) _mm_min_pd ((__m128d) a, (__m128d) b);
#else
        return a < b ? a : b;
#endif
    }

    /** min (x, limit) and max (x, limit) for numbers, in the form the compiler turns into
        a single minsd or maxsd. */
    static double atMost (double x, double limit) noexcept
    {
        return x < limit ? x : limit;
    }
    static double atLeast (double x, double limit) noexcept
    {
        return x > limit ? x : limit;
    }

    /** sin x for |x| <= pi / 6, where the state-variable filters' frequency factors live
        (their frequency is kept below a sixth of the rate): the Taylor series to x^11,
        whose first omitted term is below 1e-13 of sin x there, and far below an ulp at the
        pitches the voices sweep through at common rates. */
    template <typename Value>
    static Value sineOfSmallAngle (Value x) noexcept
    {
        const Value x2 = x * x;
        Value p = x2 * -2.5052108385441720e-08 + 2.7557319223985893e-06; // -1 / 11!, 1 / 9!
        p = p * x2 - 1.9841269841269841e-04;                              // -1 / 7!
        p = p * x2 + 8.3333333333333333e-03;                            // 1 / 5!
        p = p * x2 - 1.6666666666666667e-01;                            // -1 / 3!
        return x + x * (x2 * p);
    }

    /** e^x for any x, within about an ulp of the C library's: e^x = 2^k * 2^(j/64) * e^r
        with |r| <= ln 2 / 128
        and e^r by its Taylor series to r^6. Below -708 and above 709 the argument is clamped, which keeps
        the result finite and normal (the diode's quotient is then -x or 0 all the same). */
    static double exponential (double x) noexcept
    {
        x = atMost (atLeast (x, -708.0), 709.0);

        // Rounds x * 64 / ln 2 to an integer n with the 1.5 * 2^52 trick; n = 64 k + j.
        constexpr double shifter = 6755399441055744.0;
        const double shifted = x * 92.33248261689366 + shifter; // 64 / ln 2
        const double n = shifted - shifter;
        int64_t bits;
        std::memcpy (&bits, &shifted, sizeof (bits));
        const auto ni = (int32_t) (uint32_t) bits;

        // ln 2 / 64 in two parts; the first has trailing zeros so n times it is exact.
        const double r = (x - n * 0.010830424667801708) - n * 2.8447437476627285e-11;
        const double p = r + r * r * (0.5 + r * (1.6666666666666666e-01 + r * (4.1666666666666664e-02 + r * (8.3333333333333332e-03 + r * 1.388888888888889e-03))));

        const double scale = twoToThe (ni >> 6);
        const double t = tableOfPowers[ni & 63];
        return scale * (t + t * p);
    }

    /** exponential, lane by lane. */
    static Pair exponential (Pair x) noexcept
    {
        x = minOf (maxOf (x, Pair{-708.0, -708.0}), Pair{709.0, 709.0});

        constexpr double shifter = 6755399441055744.0;
        const Pair shifted = x * 92.33248261689366 + shifter;
        const Pair n = shifted - shifter;
        int64_t bits[2];
        std::memcpy (bits, &shifted, sizeof (bits));
        const auto n0 = (int32_t) (uint32_t) bits[0];
        const auto n1 = (int32_t) (uint32_t) bits[1];

        const Pair r = (x - n * 0.010830424667801708) - n * 2.8447437476627285e-11;
        const Pair p = r + r * r * (0.5 + r * (1.6666666666666666e-01 + r * (4.1666666666666664e-02 + r * (8.3333333333333332e-03 + r * 1.388888888888889e-03))));

        const Pair scale = {twoToThe (n0 >> 6), twoToThe (n1 >> 6)};
        const Pair t = {tableOfPowers[n0 & 63], tableOfPowers[n1 & 63]};
        return scale * (t + t * p);
    }

    /** x^n for n >= 0 by squaring: within a few ulps of the product of n factors. */
    static double integerPower (double x, int n) noexcept
    {
        double result = 1.0;
        for (; n > 0; n >>= 1, x *= x)
            if ((n & 1) != 0)
                result *= x;
        return result;
    }

private:
    /** 2^k for -1022 <= k <= 1023, from its bits. */
    static double twoToThe (int32_t k) noexcept
    {
        const uint64_t bits = (uint64_t) (k + 1023) << 52;
        double result;
        std::memcpy (&result, &bits, sizeof (result));
        return result;
    }

    static const double tableOfPowers[64]; // 2^(j / 64)
};
