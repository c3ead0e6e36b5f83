#include "engine/PulsaretCore.h"
#include "framework/EmbeddedResources.h"
#include "framework/ParameterManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

// Renders every kit of the embedded factory bank and checks that each sounds as its
// name promises: lengths, levels and pitches measured from the engine's output.
namespace
{
enum Voice
{
    bassDrum,
    snareDrum,
    lowTom,
    hiTom,
    cymbal,
    openHat,
    closedHat,
    numVoices
};

struct Sound
{
    double peak = 0.0;      // absolute
    double length = 0.0;    // ms until the level stays 40 dB below the peak
    double pitch = 0.0;     // Hz, by autocorrelation; 0 when none stands out
    double crossings = 0.0; // zero crossings per second / 2 over the first 100 ms: brightness
};

constexpr double rate = 44100.0;
constexpr float velocity = 0.755f; // a strong step without accent

Sound measure (const std::vector<double>& x)
{
    Sound s;

    for (auto v : x)
        s.peak = std::max (s.peak, std::abs (v));

    const size_t block = (size_t) (rate * 0.005);

    for (size_t b = 0; b + block <= x.size(); b += block)
    {
        double m = 0.0;
        for (size_t i = 0; i < block; ++i)
            m = std::max (m, std::abs (x[b + i]));
        if (m >= s.peak * 0.01)
            s.length = (double) (b + block) / rate * 1000.0;
    }

    const int start = (int) (rate * 0.01), length = (int) (rate * 0.08);
    const int minLag = (int) (rate / 1000), maxLag = (int) (rate / 25);
    std::vector<double> r ((size_t) maxLag + 2, 0.0);
    double best = 0.0;

    for (int lag = minLag; lag <= maxLag; ++lag)
    {
        double sum = 0.0, e1 = 0.0, e2 = 0.0;
        for (int i = start; i < start + length; ++i)
        {
            const double a = x[(size_t) i], b = x[(size_t) (i + lag)];
            sum += a * b;
            e1 += a * a;
            e2 += b * b;
        }
        r[(size_t) lag] = sum / std::sqrt (e1 * e2 + 1e-30);
        best = std::max (best, r[(size_t) lag]);
    }

    // The shortest lag near the best guards against octave errors.
    for (int lag = minLag + 1; lag < maxLag; ++lag)
    {
        if (r[(size_t) lag] >= 0.85 * best && r[(size_t) lag] >= r[(size_t) lag - 1] && r[(size_t) lag] >= r[(size_t) lag + 1])
        {
            s.pitch = rate / lag;
            break;
        }
    }

    int crossings = 0;
    for (size_t i = 1; i < (size_t) (rate * 0.1); ++i)
        crossings += (x[i - 1] < 0.0) != (x[i] < 0.0) ? 1 : 0;
    s.crossings = crossings / 0.1 / 2.0;
    return s;
}

struct Kit
{
    float values[PulsaretCore::numSoundParameters] = {};
    Sound sounds[numVoices];
};

std::map<juce::String, Kit> renderFactoryKits()
{
    ParameterManager store;
    store.loadParametersFromResource ("parameters.xml");
    auto bank = juce::parseXML (loadXmlResource ("default.PXprsb"));
    std::map<juce::String, Kit> kits;

    if (bank == nullptr || bank->getChildElement (0) == nullptr)
        return kits;

    for (auto* preset : bank->getChildElement (0)->getChildIterator())
    {
        Kit kit;
        kit.values[24] = 0.5f; // main volume is not part of a preset

        for (auto* param : preset->getChildIterator())
            if (auto* parameter = store.getParameter (param->getStringAttribute ("name")))
                kit.values[parameter->getUid()] = (float) param->getDoubleAttribute ("value");

        for (int voice = 0; voice < numVoices; ++voice)
        {
            PulsaretCore core;
            for (int i = 0; i < PulsaretCore::numSoundParameters; ++i)
                core.setParameter (i, kit.values[i]);
            core.setSampleRate ((float) rate);

            double out[DrumMachineCore::numInstruments];
            for (int i = 0; i < 30000; ++i) // the level smoothers settle
                core.renderSample (out);

            core.triggerInstrument (voice, velocity);

            // Linked toms and hats sound in the low tom's and the open hat's slot.
            const bool tomsLinked = kit.values[22] >= 0.5f, hatsLinked = kit.values[23] >= 0.5f;
            const int slot = voice == hiTom && tomsLinked ? lowTom : voice == closedHat && hatsLinked ? openHat
                                                                                                      : voice;

            std::vector<double> x ((size_t) (rate * 2.5));
            for (auto& sample : x)
            {
                core.renderSample (out);
                sample = out[slot];
            }

            kit.sounds[voice] = measure (x);
        }

        kits[preset->getStringAttribute ("name")] = kit;
    }

    return kits;
}

const std::map<juce::String, Kit>& kits()
{
    static const auto rendered = renderFactoryKits();
    return rendered;
}

const Sound& sound (const char* kit, Voice voice)
{
    return kits().at (kit).sounds[voice];
}

double loudness (const char* kit)
{
    double sum = 0.0;
    for (auto& s : kits().at (kit).sounds)
        sum += s.peak;
    return sum;
}
} // namespace

TEST (FactoryKits, EveryKitRendersEveryVoice)
{
    ASSERT_EQ (kits().size(), 17u);

    for (auto& [name, kit] : kits())
        for (int voice = 0; voice < numVoices; ++voice)
        {
            EXPECT_GT (kit.sounds[voice].peak, 0.03) << name << " " << voice;
            EXPECT_LT (kit.sounds[voice].peak, 1.0) << name << " " << voice;
            EXPECT_GT (kit.sounds[voice].length, 20.0) << name << " " << voice;
        }
}

TEST (FactoryKits, LengthsMatchTheNames)
{
    // Short triplets are short everywhere; the open ballad rings.
    for (int voice = 0; voice < numVoices; ++voice)
        EXPECT_LT (sound ("Short Triplets", (Voice) voice).length, 0.6 * sound ("Open Ballad", (Voice) voice).length) << voice;

    EXPECT_GT (sound ("Open Ballad", openHat).length, 3.0 * sound ("Native Kit", openHat).length);
    EXPECT_GT (sound ("Open Ballad", cymbal).length, 2000.0);
    EXPECT_GT (sound ("Open Ballad", snareDrum).length, 4.0 * sound ("Native Kit", snareDrum).length);

    // Brushes: a long, noisy snare wash over a long ride.
    EXPECT_GT (sound ("Jazzy Brushes", snareDrum).length, 400.0);
    EXPECT_GT (sound ("Jazzy Brushes", snareDrum).crossings, 3000.0);
    EXPECT_GT (sound ("Jazzy Brushes", cymbal).length, 1500.0);

    // Sticks click: the shortest kick of the bank, a dry tonal snare.
    for (auto& [name, kit] : kits())
    {
        if (name != "Sticker")
        {
            EXPECT_LT (sound ("Sticker", bassDrum).length, kit.sounds[bassDrum].length) << name;
        }
    }
    EXPECT_LT (sound ("Sticker", snareDrum).length, 80.0);
    EXPECT_LT (sound ("Sticker", snareDrum).crossings, 1000.0);

    // Modular tones ring long on their own outputs.
    EXPECT_GT (sound ("Modular function", lowTom).length, 600.0);
    EXPECT_GT (sound ("Modular function", hiTom).length, 400.0);
    EXPECT_LT (kits().at ("Modular function").values[22], 0.5f);
    EXPECT_LT (kits().at ("Modular function").values[23], 0.5f);

    // Techno: a tight closed hat; shakers: short hats.
    EXPECT_LE (sound ("TeXnow", closedHat).length, 40.0);
    EXPECT_LT (sound ("Shakey Rhumba", openHat).length, 400.0);
}

TEST (FactoryKits, KicksSnaresAndTomsMatchTheNames)
{
    // Hip-hop: the deepest and longest kick of the bank; techno: the loudest.
    for (auto& [name, kit] : kits())
    {
        if (name != "HipHope")
        {
            EXPECT_LT (sound ("HipHope", bassDrum).pitch, kit.sounds[bassDrum].pitch) << name;
            EXPECT_GT (sound ("HipHope", bassDrum).length, kit.sounds[bassDrum].length) << name;
        }

        if (name != "TeXnow")
        {
            EXPECT_GT (sound ("TeXnow", bassDrum).peak, kit.sounds[bassDrum].peak) << name;
        }

        if (name != "Cuttin' Edge")
        {
            EXPECT_GT (sound ("Cuttin' Edge", cymbal).crossings, kit.sounds[cymbal].crossings) << name;
        }

        if (name != "Ughlympic")
        {
            EXPECT_GT (loudness ("Ughlympic"), loudness (name.toRawUTF8())) << name;
        }
    }

    // The cutting snare leads its kit, short and bright.
    for (int voice = 0; voice < numVoices; ++voice)
    {
        if (voice != snareDrum)
        {
            EXPECT_GT (sound ("Cuttin' Edge", snareDrum).peak, sound ("Cuttin' Edge", (Voice) voice).peak) << voice;
        }
    }
    EXPECT_LE (sound ("Cuttin' Edge", snareDrum).length, 70.0);

    // Two beats only: kick and snare stand 10 dB over the rest.
    for (int voice = lowTom; voice < numVoices; ++voice)
    {
        EXPECT_GT (sound ("Two Beats Only", bassDrum).peak, 3.16 * sound ("Two Beats Only", (Voice) voice).peak) << voice;
        EXPECT_GT (sound ("Two Beats Only", snareDrum).peak, 3.16 * sound ("Two Beats Only", (Voice) voice).peak) << voice;
    }

    // Tribal: low, long toms over everything but the kick.
    for (int voice : {snareDrum, cymbal, openHat, closedHat})
    {
        EXPECT_GT (sound ("Tribal", lowTom).peak, sound ("Tribal", (Voice) voice).peak) << voice;
        EXPECT_GT (sound ("Tribal", hiTom).peak, sound ("Tribal", (Voice) voice).peak) << voice;
    }
    EXPECT_GT (sound ("Tribal", lowTom).length, 2.0 * sound ("Native Kit", lowTom).length);
    EXPECT_LT (sound ("Tribal", lowTom).pitch, sound ("Native Kit", lowTom).pitch);

    // A melody needs toms a wide interval apart; a twist turns them upside down.
    EXPECT_GT (sound ("Action Melody", hiTom).pitch, 1.6 * sound ("Action Melody", lowTom).pitch);
    EXPECT_LT (sound ("Mind Twist", hiTom).pitch, sound ("Mind Twist", lowTom).pitch);

    // Lazy and ballad kits play soft; the shaker kit puts its hats over the kick.
    EXPECT_LT (loudness ("Lazy Kit"), 0.8 * loudness ("Native Kit"));
    EXPECT_LT (kits().at ("Lazy Kit").values[7], kits().at ("Native Kit").values[7]);
    EXPECT_GT (sound ("Shakey Rhumba", closedHat).peak, sound ("Shakey Rhumba", bassDrum).peak);

    // The welcome kit is balanced with the kick on top; the native kit stays near the defaults.
    for (int voice = snareDrum; voice < numVoices; ++voice)
        EXPECT_GT (sound ("Warm Welcome", bassDrum).peak, sound ("Warm Welcome", (Voice) voice).peak) << voice;

    const float defaults[] = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 0.5f, 0.5f,
                              0.5f, 1.0f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 1.0f, 0.5f, 0.5f, 1.0f, 1.0f};
    for (int uid = 0; uid < 24; ++uid)
        EXPECT_NEAR (kits().at ("Native Kit").values[uid], defaults[uid], 0.25f) << uid;
}
