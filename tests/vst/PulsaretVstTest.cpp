#include "PluginCopy.h"
#include "tools/render/OfflineHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <tuple>
#include <unistd.h>

// The product, Pulsaret.so, through its entry point, seen only as a host sees it. Each instance runs from
// a private copy of the library with its own settings file beside it, as an installed plug-in does.
namespace
{
namespace fs = std::filesystem;
namespace op = vst::EffectOpcode;
using Event = OfflineHost::MidiEvent;
using pulsaret_vst_test::PluginCopy;
using pulsaret_vst_test::Settings;

constexpr int bassDrumKey = 36, snareKey = 38;

// The voices leave values far below hearing (denormal guards); a struck voice starts above onsetLevel on
// its first sample.
constexpr double silence = 1.0e-6, onsetLevel = 1.0e-4;

// One instance, loaded and resumed.
class Pulsaret
{
public:
    explicit Pulsaret (const Settings& settings = {}, double rate = 48000.0, int32_t block = 512)
        : Pulsaret (std::make_shared<PluginCopy> (settings), rate, block)
    {
    }

    explicit Pulsaret (std::shared_ptr<PluginCopy> library, double rate = 48000.0, int32_t block = 512)
        : copy (std::move (library))
    {
        if (host.load (copy->getPath().string()))
            host.start (rate, block);
    }

    bool loaded() const { return host.getEffect() != nullptr; }
    vst::AEffect& effect() const { return *host.getEffect(); }

    std::string keyName (int key)
    {
        vst::MidiKeyName name{};
        name.thisKeyNumber = key;
        std::memset (name.keyName, 'x', sizeof (name.keyName));
        host.dispatch (op::getMidiKeyName, 0, 0, &name);
        return std::string (name.keyName, strnlen (name.keyName, sizeof (name.keyName)));
    }

private:
    std::shared_ptr<PluginCopy> copy; // outlives the host, which unloads the library first

public:
    OfflineHost host;
};

Event noteOn (int64_t sample, int key, int velocity = 127)
{
    return {sample, {0x90, (uint8_t) key, (uint8_t) velocity}};
}

int64_t firstAbove (const std::vector<float>& channel, double level, size_t from = 0, size_t to = SIZE_MAX)
{
    for (size_t i = from; i < channel.size() && i < to; ++i)
        if (std::abs (channel[i]) > level)
            return (int64_t) i;

    return -1;
}

double peak (const std::vector<float>& channel, size_t from = 0, size_t to = SIZE_MAX)
{
    double p = 0.0;

    for (size_t i = from; i < to && i < channel.size(); ++i)
        p = std::max (p, (double) std::abs (channel[i]));

    return p;
}

double zeroCrossingFrequency (const std::vector<float>& channel, size_t from, size_t to, double rate)
{
    int crossings = 0;

    for (size_t i = from + 1; i < to; ++i)
        if ((channel[i - 1] < 0.0f) != (channel[i] < 0.0f))
            ++crossings;

    return crossings / 2.0 / ((double) (to - from) / rate);
}

std::vector<int64_t> noteOnSamples (const std::vector<Event>& events, int key)
{
    std::vector<int64_t> samples;

    for (const auto& e : events)
        if ((e.bytes[0] & 0xf0) == 0x90 && e.bytes[1] == key && e.bytes[2] > 0)
            samples.push_back (e.sample);

    return samples;
}

std::string chunkText (const std::vector<uint8_t>& chunk)
{
    uint32_t length = 0;

    if (chunk.size() > 8)
        std::memcpy (&length, chunk.data() + 4, 4);

    return chunk.size() >= 8 + (size_t) length ? std::string (chunk.begin() + 8, chunk.begin() + 8 + length) : std::string();
}

std::vector<uint8_t> withLength (std::vector<uint8_t> chunk, uint32_t length)
{
    std::memcpy (chunk.data() + 4, &length, 4);
    return chunk;
}

// A state chunk around the given document text, in the framing the plug-in writes.
std::vector<uint8_t> chunkOf (const std::string& xml)
{
    std::vector<uint8_t> chunk{'V', 'C', '2', '!', 0, 0, 0, 0};
    chunk.insert (chunk.end(), xml.begin(), xml.end());
    chunk.push_back (0);
    chunk.push_back (0);
    return withLength (chunk, (uint32_t) xml.size());
}
} // namespace

TEST (PulsaretVst, IdentityFlagsChannelsAndPins)
{
    Pulsaret p;
    ASSERT_TRUE (p.loaded()) << p.host.getError();
    auto& e = p.effect();

    EXPECT_EQ (e.magic, 0x56737450);
    EXPECT_EQ (e.uniqueID, vst::fourChars ('Z', 'r', '4', 'k'));
    EXPECT_EQ (e.version, 0x10501);
    EXPECT_EQ (e.numPrograms, 0);
    EXPECT_EQ (e.numParams, 47);
    EXPECT_EQ (e.numInputs, 0);
    EXPECT_EQ (e.numOutputs, 16);
    EXPECT_EQ (e.flags & 0x331, 0x131); // editor, replacing, chunks, synth; no "no sound in stop"
    EXPECT_EQ (e.initialDelay, 0);

    // Read into buffers of the size hosts give, with a guard behind each.
    for (const auto& [opcode, size, text] : {std::tuple{op::getEffectName, 32, "Pulsaret"}, std::tuple{op::getProductString, 64, "Pulsaret"},
                                             std::tuple{op::getVendorString, 64, "Pulsaret Audio"}})
    {
        char buffer[80];
        std::memset (buffer, '#', sizeof (buffer));
        p.host.dispatch (opcode, 0, 0, buffer);
        EXPECT_STREQ (buffer, text);
        EXPECT_EQ (buffer[size], '#');
    }

    EXPECT_EQ (p.host.dispatch (op::getVendorVersion), 0x10501);
    EXPECT_EQ (p.host.dispatch (op::getPlugCategory), vst::PlugCategory::synth);
    EXPECT_EQ (p.host.dispatch (op::getVstVersion), 2400);
    EXPECT_EQ (p.host.dispatch (op::identify), vst::fourChars ('N', 'v', 'E', 'f'));

    for (auto* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents", "sendVstEvents", "sendVstMidiEvent",
                      "sendVstMidiEvents", "receiveVstTimeInfo", "conformsToWindowRules"})
        EXPECT_EQ (p.host.canDo (yes), 1) << yes;

    EXPECT_EQ (p.host.canDo ("openCloseAnyThread"), -1);
    EXPECT_EQ (p.host.canDo ("receiveVstMidiEventsX"), 0);
    EXPECT_EQ (p.host.canDo ("bypass"), 0);

    // Stereo outputs: eight pairs, both channels of a pair named after its output.
    for (int ch = 0; ch < 16; ++ch)
    {
        vst::VstPinProperties pin;
        std::memset (&pin, 0x55, sizeof (pin));
        ASSERT_EQ (p.host.dispatch (op::getOutputProperties, ch, 0, &pin), 1);
        EXPECT_STREQ (pin.label, ("PX" + std::to_string (ch / 2 + 1)).c_str());
        EXPECT_EQ (pin.flags, vst::PinFlags::isActive | vst::PinFlags::isStereo);
    }

    vst::VstPinProperties pin{};
    EXPECT_EQ (p.host.dispatch (op::getOutputProperties, 16, 0, &pin), 0);
    EXPECT_EQ (p.host.dispatch (op::getOutputProperties, -1, 0, &pin), 0);
    EXPECT_EQ (p.host.dispatch (op::getInputProperties, 0, 0, &pin), 0);

    // Mono outputs: eight single channels.
    Pulsaret mono ({true, true, false, true});
    ASSERT_TRUE (mono.loaded());
    EXPECT_EQ (mono.effect().numOutputs, 8);
    EXPECT_EQ (mono.effect().numInputs, 0);

    for (int ch = 0; ch < 8; ++ch)
    {
        ASSERT_EQ (mono.host.dispatch (op::getOutputProperties, ch, 0, &pin), 1);
        EXPECT_STREQ (pin.label, ("PX" + std::to_string (ch + 1)).c_str());
        EXPECT_EQ (pin.flags, vst::PinFlags::isActive);
    }

    EXPECT_EQ (mono.host.dispatch (op::getOutputProperties, 8, 0, &pin), 0);
}

TEST (PulsaretVst, ParameterNamesTextsAndKeyNames)
{
    Pulsaret p ({false});
    ASSERT_TRUE (p.loaded());

    // Every host parameter by its name, written into 64 bytes at most.
    std::ifstream description (std::string (PULSARET_RESOURCES_DIR) + "/parameters.xml");
    std::stringstream xml;
    xml << description.rdbuf();
    const std::string text = xml.str();
    int checked = 0;

    for (int index = 0; index < 47; ++index)
    {
        const auto at = text.find ("index=\"" + std::to_string (index) + "\" name=\"");
        ASSERT_NE (at, std::string::npos) << index;
        const auto nameStart = text.find ("name=\"", at) + 6;
        const auto name = text.substr (nameStart, text.find ('"', nameStart) - nameStart);

        char buffer[80];
        std::memset (buffer, '#', sizeof (buffer));
        p.host.dispatch (op::getParamName, index, 0, buffer);
        EXPECT_EQ (std::string (buffer), name) << index;
        EXPECT_EQ (buffer[64], '#');

        std::memset (buffer, '#', sizeof (buffer));
        p.host.dispatch (op::getParamDisplay, index, 0, buffer);
        EXPECT_GT (std::strlen (buffer), 0u) << index;
        EXPECT_EQ (buffer[64], '#');
        EXPECT_EQ (p.host.dispatch (op::canBeAutomated, index), 1);
        ++checked;
    }

    EXPECT_EQ (checked, 47);
    EXPECT_EQ (p.host.getString (op::getParamName, 47), "");
    EXPECT_EQ (p.host.getString (op::getParamDisplay, -1), "");
    EXPECT_EQ (p.host.dispatch (op::canBeAutomated, 47), 0);

    // Texts as the instrument gives them.
    p.host.setParameter (10, 0.25f);
    EXPECT_FLOAT_EQ (p.host.getParameter (10), 0.25f);
    EXPECT_EQ (p.host.getString (op::getParamDisplay, 10), "0.250");
    p.host.setParameter (25, 1.0f);
    EXPECT_EQ (p.host.getString (op::getParamDisplay, 25), "On");
    EXPECT_EQ (p.host.getString (op::getParamDisplay, 26), "Off");
    p.host.setParameter (39, 0.35f);
    EXPECT_EQ (p.host.getString (op::getParamDisplay, 39), "35%");
    EXPECT_TRUE (p.host.getAutomation().empty()) << "a host change is not echoed back";

    // Key names: the drum map's voices while MIDI notes play them.
    EXPECT_EQ (p.keyName (35), "Bass Drum");
    EXPECT_EQ (p.keyName (36), "Bass Drum");
    EXPECT_EQ (p.keyName (42), "Closed Hi Hat");
    EXPECT_EQ (p.keyName (60), "---");

    for (int key : {-1, 128, 100000})
        EXPECT_EQ (p.keyName (key), "") << key;

    EXPECT_EQ (p.host.dispatch (op::getMidiKeyName, 0, 0, nullptr), 0);

    // Pattern names in host mode; nothing while the native sequencer plays.
    Pulsaret hostMode ({true, true, true});
    ASSERT_TRUE (hostMode.loaded());
    EXPECT_EQ (hostMode.keyName (11), "---");
    EXPECT_NE (hostMode.keyName (12), "---");
    EXPECT_NE (hostMode.keyName (12), "");
    EXPECT_EQ (hostMode.keyName (108), "---");

    Pulsaret native;
    ASSERT_TRUE (native.loaded());
    EXPECT_EQ (native.keyName (36), "");
}

TEST (PulsaretVst, MidiNotesStrikeVoicesAtTheirOwnSample)
{
    Pulsaret p ({false});
    ASSERT_TRUE (p.loaded());
    const std::vector<Event> events{noteOn (700, bassDrumKey), {800, {0x80, bassDrumKey, 0}}, noteOn (40100, snareKey, 100)};
    const auto out = p.host.render (48000, 512, events, {});

    ASSERT_EQ (out.size(), 16u);
    EXPECT_LT (peak (out[0], 0, 700), silence);
    EXPECT_EQ (firstAbove (out[0], onsetLevel), 700) << "heard from the note's own sample, not the block's start";
    EXPECT_GT (peak (out[0], 700, 6100), 0.1);
    EXPECT_LT (peak (out[0], 35000, 40100), silence);
    EXPECT_EQ (firstAbove (out[0], onsetLevel, 35000), 40100);
    EXPECT_EQ (out[0], out[1]) << "a stereo output's two channels";

    for (size_t ch = 2; ch < 16; ++ch)
        EXPECT_EQ (peak (out[ch]), 0.0) << "channel " << ch;

    // With the internal sequencer off the host's MIDI comes back unchanged.
    ASSERT_EQ (p.host.midiOut.size(), 3u);

    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ (p.host.midiOut[i].sample, events[i].sample);
        EXPECT_EQ (p.host.midiOut[i].bytes, events[i].bytes);
    }

    // A SysEx record whose bytes read as a loud note-on if taken for a MIDI event strikes nothing.
    Pulsaret q ({false});
    ASSERT_TRUE (q.loaded());
    vst::VstEvent sysEx{};
    sysEx.type = vst::EventType::sysEx;
    sysEx.byteSize = 48;
    const unsigned char fake[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0x90, bassDrumKey, 127, 0};
    std::memcpy (sysEx.data, fake, sizeof (fake));
    vst::VstMidiEvent running{}; // a data byte where the status belongs
    running.type = vst::EventType::midi;
    running.byteSize = sizeof (running);
    running.midiData[0] = bassDrumKey;
    running.midiData[1] = 127;
    alignas (vst::VstEvents) unsigned char memory[sizeof (vst::VstEvents) + 2 * sizeof (void*)]{};
    auto* list = reinterpret_cast<vst::VstEvents*> (memory);
    list->numEvents = 3;
    list->events[0] = &sysEx;
    list->events[1] = reinterpret_cast<vst::VstEvent*> (&running);
    list->events[2] = nullptr;
    q.host.dispatch (op::processEvents, 0, 0, list);
    const auto after = q.host.render (4800, 512, {}, {});
    EXPECT_LT (peak (after[0]), silence);
    EXPECT_TRUE (q.host.midiOut.empty());
}

TEST (PulsaretVst, SequencerFollowsTheHostTransportAndSendsTriggerNotes)
{
    // The host's tempo rules: 120 BPM at 48 kHz is 6000 samples a sixteenth.
    Pulsaret p ({true, false});
    ASSERT_TRUE (p.loaded());
    OfflineHost::Transport transport;
    transport.tempo = 120.0;
    transport.playing = {{24000, 120000}, {192000, 240000}};
    const auto out = p.host.render (264000, 500, {}, transport);

    EXPECT_LT (peak (out[0], 0, 24000), silence) << "silent until the transport starts";
    EXPECT_GT (peak (out[0], 24000, 120000), 0.1);

    // The first factory pattern has its bass drum on steps 0, 2, 10 and 13; its shuffle delays the odd
    // steps. Every trigger note on such a step, the first on the transport's start; none while it stands.
    const auto bassDrum = noteOnSamples (p.host.midiOut, bassDrumKey);
    ASSERT_FALSE (bassDrum.empty());
    EXPECT_EQ (bassDrum.front(), 24000);
    bool secondRun = false;

    for (const auto sample : bassDrum)
    {
        const bool firstRun = sample >= 24000 && sample < 120000;
        secondRun = secondRun || sample == 192000;
        EXPECT_TRUE (firstRun || (sample >= 192000 && sample < 240000)) << sample;
        const auto fromStart = sample - (firstRun ? 24000 : 192000);
        const auto step = fromStart / 6000 % 16;
        EXPECT_TRUE (step == 0 || step == 2 || step == 10 || step == 13) << sample;

        if (step % 2 == 0)
        {
            EXPECT_EQ (fromStart % 6000, 0) << sample;
        }
    }

    EXPECT_EQ (bassDrum.size(), 4u + 2u);
    EXPECT_TRUE (secondRun) << "a restarted transport starts the pattern over";
    EXPECT_EQ (noteOnSamples (p.host.midiOut, 35), bassDrum) << "every key of the drum map";

    // The sound lines up with the notes.
    EXPECT_EQ (firstAbove (out[0], onsetLevel, 23000), 24000);
    EXPECT_LT (peak (out[0], 180000, 192000), silence);
    EXPECT_EQ (firstAbove (out[0], onsetLevel, 180000), 192000);

    ASSERT_FALSE (p.host.timeRequests.empty());
    EXPECT_NE (p.host.timeRequests.back() & vst::TimeInfoFlags::tempoValid, 0);
    EXPECT_NE (p.host.timeRequests.back() & vst::TimeInfoFlags::ppqPosValid, 0);

    // The same pattern at another host tempo: 100 BPM is 7200 samples a sixteenth.
    Pulsaret slower ({true, false});
    transport.tempo = 100.0;
    transport.playing = {{0, 115000}};
    slower.host.render (115000, 512, {}, transport);
    const auto slowerNotes = noteOnSamples (slower.host.midiOut, bassDrumKey);
    ASSERT_FALSE (slowerNotes.empty());

    ASSERT_EQ (slowerNotes.size(), 4u);

    for (size_t i = 0; i < slowerNotes.size(); ++i)
        EXPECT_NEAR ((double) slowerNotes[i], (double) (bassDrum[i] - 24000) * 1.2, 1.0);

    // Without time info from the host nothing starts.
    Pulsaret blind ({true, false});
    blind.host.giveTimeInfo = false;
    const auto silent = blind.host.render (48000, 512, {}, transport);
    EXPECT_LT (peak (silent[0]), silence);
    EXPECT_TRUE (blind.host.midiOut.empty());
}

TEST (PulsaretVst, TheHostIsAskedForItsTimeOnceAndARefusalLeavesTheOwnClocks)
{
    for (const int32_t answer : {1, 0, -1})
    {
        const bool sends = answer >= 0;
        const PluginCopy copy ({true, false});
        OfflineHost host;
        host.canDoTimeInfo = answer;
        ASSERT_TRUE (host.load (copy.getPath().string()));
        host.start (48000.0, 512);
        OfflineHost::Transport transport;
        transport.playing = {{0, 48000}};
        host.render (48000, 512, {}, transport);
        host.stop();
        host.start (48000.0, 512);
        host.render (4800, 512, {}, transport);

        const auto& calls = host.hostCalls;
        const auto asked = std::find (calls.begin(), calls.end(), "canDo sendVstTimeInfo");
        EXPECT_EQ (std::count (calls.begin(), calls.end(), "canDo sendVstTimeInfo"), 1) << answer;
        EXPECT_LT (asked - calls.begin(), std::find (calls.begin(), calls.end(), "getTime") - calls.begin()) << answer;
        EXPECT_EQ (std::count (calls.begin(), calls.end(), "getTime") > 0, sends) << answer;

        // Only the host's transport starts the sequencer here: without it nothing plays.
        EXPECT_EQ (noteOnSamples (host.midiOut, bassDrumKey).empty(), !sends) << answer;
    }
}

TEST (PulsaretVst, SuspendResumeAndSampleRateChanges)
{
    Pulsaret p ({false}, 48000.0, 512);
    ASSERT_TRUE (p.loaded());
    EXPECT_GE (p.host.wantMidiCalls, 1) << "resume asks the host for MIDI";

    const auto at48 = p.host.render (24000, 512, {noteOn (0, bassDrumKey)}, {});
    const double f48 = zeroCrossingFrequency (at48[0], 100, 4900, 48000.0);
    EXPECT_GT (f48, 30.0);
    EXPECT_LT (f48, 200.0);

    // Suspended: every output is cleared, whatever the host's buffers held, and notes strike nothing.
    p.host.dispatch (op::mainsChanged, 0, 0);
    std::vector<std::vector<float>> out (16, std::vector<float> (512, 0.0f));
    p.host.processBlock (512, {noteOn (0, bassDrumKey)}, out, 0);

    for (const auto& ch : out)
        EXPECT_EQ (peak (ch), 0.0) << "cleared";

    p.host.dispatch (op::setSampleRate, 0, 0, nullptr, 96000.0f);
    p.host.dispatch (op::mainsChanged, 0, 1);
    const auto at96 = p.host.render (48000, 512, {noteOn (300, bassDrumKey)}, {});
    EXPECT_LT (peak (at96[0], 0, 300), silence) << "nothing left over from the suspended block";
    EXPECT_EQ (firstAbove (at96[0], onsetLevel), 300);
    EXPECT_NEAR (zeroCrossingFrequency (at96[0], 500, 10100, 96000.0), f48, f48 * 0.03) << "the pitch does not follow the rate";

    // The sequencer's steps follow the rate: 12000 samples a sixteenth at 120 BPM.
    Pulsaret seq ({true, false}, 96000.0, 512);
    OfflineHost::Transport transport;
    transport.playing = {{0, 190000}};
    seq.host.render (190000, 512, {}, transport);
    const auto notes = noteOnSamples (seq.host.midiOut, bassDrumKey);
    ASSERT_FALSE (notes.empty());

    ASSERT_EQ (notes.size(), 4u);
    EXPECT_EQ (notes[0], 0);
    EXPECT_NEAR ((double) notes[1], 2 * 12000, 1.0);
    EXPECT_NEAR ((double) notes[2], 10 * 12000, 1.0);
    EXPECT_GT (notes[3], 13 * 12000);
    EXPECT_LT (notes[3], 14 * 12000);

    // Nonsense rates and sizes are refused; the instance keeps running at 96 kHz.
    p.host.dispatch (op::mainsChanged, 0, 0);
    p.host.dispatch (op::setSampleRate, 0, 0, nullptr, std::nanf (""));
    p.host.dispatch (op::setSampleRate, 0, 0, nullptr, -48000.0f);
    p.host.dispatch (op::setSampleRate, 0, 0, nullptr, 0.0f);
    p.host.dispatch (op::setBlockSize, 0, -1);
    p.host.dispatch (op::mainsChanged, 0, 1);
    const auto again = p.host.render (48000, 512, {noteOn (0, bassDrumKey)}, {});
    EXPECT_NEAR (zeroCrossingFrequency (again[0], 200, 9800, 96000.0), f48, f48 * 0.03);
}

TEST (PulsaretVst, ChunksRoundTripAndDamagedChunksChangeNothing)
{
    // A state with the internal sequencer off and two parameters changed.
    Pulsaret a ({false});
    ASSERT_TRUE (a.loaded());
    a.host.setParameter (0, 0.125f);
    a.host.setParameter (10, 0.05f);
    const auto chunk = a.host.getChunk();
    ASSERT_GT (chunk.size(), 10u);
    EXPECT_EQ (std::string (chunk.begin(), chunk.begin() + 4), "VC2!");
    uint32_t length = 0;
    std::memcpy (&length, chunk.data() + 4, 4);
    EXPECT_EQ (length + 10, chunk.size());
    EXPECT_NE (chunkText (chunk).find ("<IntSeq state=\"off\"/>"), std::string::npos);

    // An instance whose settings start the internal sequencer: damaged chunks leave it as it is.
    Pulsaret b;
    ASSERT_TRUE (b.loaded());
    const auto fresh = b.host.getChunk();
    ASSERT_NE (fresh, chunk);

    auto wrongMagic = chunk;
    wrongMagic[0] = 'X';
    std::vector<uint8_t> garbage (300);

    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = (uint8_t) (i * 37 + 11);

    const std::vector<std::vector<uint8_t>> damaged{{'V', 'C', '2'},
                                                    std::vector<uint8_t> (chunk.begin(), chunk.begin() + 8),
                                                    wrongMagic,
                                                    withLength (chunk, 0),
                                                    std::vector<uint8_t> (chunk.begin(), chunk.begin() + (ptrdiff_t) chunk.size() / 2),
                                                    garbage,
                                                    chunkOf ("this is no XML"),
                                                    chunkOf ("<PluginState application=\"Another\"><InternalSequencer><IntSeq state=\"off\"/></InternalSequencer></PluginState>")};

    for (const auto& d : damaged)
    {
        // Refused, and said so: a host must not take the defaults for the restored state.
        EXPECT_EQ (b.host.setChunk (d), 0);
        EXPECT_EQ (b.host.setChunk (d, true), 0);
        EXPECT_EQ (b.host.getChunk(), fresh);
    }

    b.host.dispatch (op::setChunk, 0, 100, nullptr);
    b.host.dispatch (op::setChunk, 0, -5, const_cast<uint8_t*> (chunk.data()));
    b.host.dispatch (op::setChunk, 0, 0, const_cast<uint8_t*> (chunk.data()));
    EXPECT_EQ (b.host.getChunk(), fresh);

    // The whole state comes back, byte for byte, and with it the mode: notes play the voices again.
    EXPECT_EQ (b.host.setChunk (chunk), 1);
    EXPECT_EQ (b.host.getChunk(), chunk);
    EXPECT_FLOAT_EQ (b.host.getParameter (0), 0.125f);
    EXPECT_FLOAT_EQ (b.host.getParameter (10), 0.05f);
    EXPECT_EQ (b.keyName (36), "Bass Drum");
    const auto out = b.host.render (4800, 512, {noteOn (100, bassDrumKey)}, {});
    EXPECT_GT (peak (out[0]), 0.01);

    // The program chunk: the current preset as it plays, unstored edits included, its parameters alone,
    // no mode.
    const auto preset = a.host.getChunk (true);
    ASSERT_GT (preset.size(), 10u);
    EXPECT_NE (chunkText (preset).find ("<Preset"), std::string::npos);
    Pulsaret c;
    ASSERT_TRUE (c.loaded());
    c.host.setParameter (10, 0.3f);
    EXPECT_EQ (c.host.setChunk (chunkOf ("<Preset application=\"Another\"/>"), true), 0);
    EXPECT_FLOAT_EQ (c.host.getParameter (10), 0.3f);
    EXPECT_EQ (c.host.setChunk (preset, true), 1);
    EXPECT_FLOAT_EQ (c.host.getParameter (0), 0.125f);
    EXPECT_FLOAT_EQ (c.host.getParameter (10), 0.05f);
    EXPECT_EQ (c.host.getChunk (true), preset);
    EXPECT_EQ (c.keyName (36), "") << "the internal sequencer stays on";
}

TEST (PulsaretVst, CutAndDeeplyNestedChunksChangeNothing)
{
    // Another instance's state (sequencer off, two parameters changed) offered to one whose sequencer is on,
    // and a small document that would switch the sequencer on offered to one whose sequencer is off.
    Pulsaret off ({false}), on;
    ASSERT_TRUE (off.loaded() && on.loaded());
    off.host.setParameter (0, 0.125f);
    off.host.setParameter (10, 0.05f);
    const auto offState = off.host.getChunk(), onState = on.host.getChunk();
    const std::string small = "<PluginState application=\"Pulsaret\"><InternalSequencer><IntSeq state=\"on\"/>"
                              "<IntSync state=\"on\"/></InternalSequencer><ParametersState><param name=\"Bass Drum Level\" "
                              "value=\"0.75\"/></ParametersState></PluginState>";

    for (auto [target, text, own] : {std::tuple (&on, chunkText (offState), onState), std::tuple (&off, small, offState)})
    {
        // Every other cut falls inside a closing tag, where a parser may take the document as finished.
        for (int i = 0; i < 20; ++i)
        {
            const auto from = text.size() * (size_t) i / 20;
            const auto cut = i % 2 == 0 ? text.find ("</", from) + 3 : from + 7;
            ASSERT_LT (cut, text.size());
            const auto part = text.substr (0, cut);
            auto exact = chunkOf (part);
            auto oversized = withLength (std::vector<uint8_t> (exact.begin(), exact.end() - 2), (uint32_t) text.size() + 100);

            for (const auto& damaged : {withLength (exact, (uint32_t) cut - 5), exact, oversized})
            {
                target->host.setChunk (damaged);
                ASSERT_TRUE (target->host.getChunk() == own) << "cut at " << cut << ": " << part.substr (part.size() - 20);
            }
        }

        target->host.setChunk (chunkOf (text));
        EXPECT_NE (target->host.getChunk(), own) << "the whole document applies";
        target->host.setChunk (own);
        ASSERT_EQ (target->host.getChunk(), own);
    }

    // 30,000 nested elements inside a valid frame, and a document one level past the bound: refused, and the
    // instance keeps playing. One level less is read.
    auto nestedIn = [] (int levels, const std::string& inner)
    {
        std::string text = inner;

        for (int i = 0; i < levels; ++i)
            text = "<n>" + text + "</n>";

        return "<PluginState application=\"Pulsaret\">" + text + "<InternalSequencer><IntSeq state=\"on\"/></InternalSequencer></PluginState>";
    };
    std::string deep = "<PluginState application=\"Pulsaret\">";

    for (int i = 0; i < 30000; ++i)
        deep += "<a>";

    for (const auto& text : {deep, nestedIn (31, "<x/>")})
    {
        off.host.setChunk (chunkOf (text));
        off.host.setChunk (chunkOf (text), true);
        EXPECT_EQ (off.host.getChunk(), offState);
    }

    off.host.setChunk (chunkOf (nestedIn (30, "<x/>")));
    EXPECT_EQ (off.keyName (36), "") << "32 levels are read: the sequencer is on";
    off.host.setChunk (offState);
    EXPECT_EQ (off.host.getChunk(), offState);
    const auto out = off.host.render (4800, 512, {noteOn (100, bassDrumKey)}, {});
    EXPECT_GT (peak (out[0]), 0.01);
}

TEST (PulsaretVst, ChangesInsideTheInstanceReachTheHostAsAutomation)
{
    // Controller 7 learned for "Bass Drum Level", restored with the state.
    Pulsaret p ({false});
    ASSERT_TRUE (p.loaded());
    auto text = chunkText (p.host.getChunk());
    const std::string emptyMap = "<MidiControlMap name=\"Pulsaret\"/>";
    ASSERT_NE (text.find (emptyMap), std::string::npos);
    text.replace (text.find (emptyMap), emptyMap.size(),
                  "<MidiControlMap name=\"Pulsaret\"><assign CC=\"7\" param=\"Bass Drum Level\"/></MidiControlMap>");
    p.host.setChunk (chunkOf (text));

    // The audio thread leaves the report to the instance's message thread.
    p.host.render (512, 512, {{5, {0xb0, 7, 127}}}, {});
    const auto automation = p.host.getAutomation (1, 5000);
    ASSERT_EQ (automation.size(), 1u);
    EXPECT_EQ (automation[0].index, 0);
    EXPECT_EQ (automation[0].value, 1.0f);
    EXPECT_EQ (p.host.getParameter (0), 1.0f);
    EXPECT_EQ (p.host.getString (op::getParamDisplay, 0), "1.000");

    p.host.setParameter (0, 0.25f);
    EXPECT_EQ (p.host.getAutomation (2, 100).size(), 1u) << "a host change is not echoed back";
}

TEST (PulsaretVst, StatesProgramsAndProgramChangesFromTheHostAreNotReportedBack)
{
    // Another instance's state: other values and controller 7 learned for "Bass Drum Level".
    Pulsaret other ({false});
    ASSERT_TRUE (other.loaded());
    other.host.setParameter (0, 0.125f);
    other.host.setParameter (10, 0.05f);
    other.host.setParameter (25, 1.0f);
    auto text = chunkText (other.host.getChunk());
    const std::string emptyMap = "<MidiControlMap name=\"Pulsaret\"/>";
    ASSERT_NE (text.find (emptyMap), std::string::npos);
    text.replace (text.find (emptyMap), emptyMap.size(),
                  "<MidiControlMap name=\"Pulsaret\"><assign CC=\"7\" param=\"Bass Drum Level\"/></MidiControlMap>");

    Pulsaret p ({false});
    ASSERT_TRUE (p.loaded());
    p.host.setChunk (chunkOf (text));
    EXPECT_EQ (p.host.getParameter (0), 0.125f);
    EXPECT_EQ (p.host.getParameter (25), 1.0f);
    p.host.setChunk (other.host.getChunk (true), true);

    // A MIDI program change is applied by the message thread: wait until some value moved.
    std::vector<float> before;

    for (int32_t index = 0; index < 47; ++index)
        before.push_back (p.host.getParameter (index));

    p.host.render (512, 512, {{10, {0xc0, 5, 0}}}, {});
    bool changed = false;

    for (int attempt = 0; attempt < 500 && !changed; ++attempt)
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (10));

        for (int32_t index = 0; index < 47; ++index)
            changed = changed || p.host.getParameter (index) != before[(size_t) index];
    }

    EXPECT_TRUE (changed);
    EXPECT_TRUE (p.host.getAutomation (1, 200).empty());

    // A learned controller is the player's own move: it is reported.
    p.host.render (512, 512, {{5, {0xb0, 7, 64}}}, {});
    const auto automation = p.host.getAutomation (1, 5000);
    ASSERT_EQ (automation.size(), 1u);
    EXPECT_EQ (automation[0].index, 0);
}

TEST (PulsaretVst, BadCallsNeitherCrashNorChangeState)
{
    Pulsaret p ({false}, 48000.0, 512);
    ASSERT_TRUE (p.loaded());
    const auto before = p.host.getChunk();

    for (int index : {-1, 47, 1000000})
    {
        p.host.setParameter (index, 0.3f);
        EXPECT_EQ (p.host.getParameter (index), 0.0f);
    }

    const float level = p.host.getParameter (0);
    p.host.setParameter (0, std::nanf (""));
    p.host.setParameter (0, INFINITY);
    p.host.setParameter (0, -INFINITY);
    EXPECT_EQ (p.host.getParameter (0), level);
    EXPECT_EQ (p.host.getChunk(), before);

    char small[8] = {};
    p.host.dispatch (op::getParamName, 0, 0, nullptr);
    p.host.dispatch (op::getParamDisplay, 0, 0, nullptr);
    p.host.dispatch (op::getEffectName, 0, 0, nullptr);
    p.host.dispatch (op::getMidiKeyName, 0, 0, nullptr);
    p.host.dispatch (op::getChunk, 0, 0, nullptr);
    p.host.dispatch (op::editGetRect, 0, 0, nullptr);
    p.host.dispatch (op::getOutputProperties, 0, 0, nullptr);
    p.host.dispatch (op::canDo, 0, 0, nullptr);
    p.host.dispatch (op::processEvents, 0, 0, nullptr);
    p.host.dispatch (op::setProgram, 0, 5);
    p.host.dispatch (12345, 1, 2, small, 3.0f);
    EXPECT_EQ (p.host.dispatch (op::getProgram), 0);

    // Events with nonsense in them: a negative delta plays at the block's start, one far past the block's
    // end on its last sample (not hours later), a null entry is passed over.
    vst::VstMidiEvent early{};
    early.type = vst::EventType::midi;
    early.byteSize = sizeof (early);
    early.deltaFrames = -100;
    early.midiData[0] = (char) 0x90;
    early.midiData[1] = snareKey;
    early.midiData[2] = 100;
    vst::VstMidiEvent late = early;
    late.deltaFrames = 1 << 30;
    alignas (vst::VstEvents) unsigned char memory[sizeof (vst::VstEvents) + sizeof (void*)]{};
    auto* list = reinterpret_cast<vst::VstEvents*> (memory);
    list->numEvents = 2;
    list->events[0] = reinterpret_cast<vst::VstEvent*> (&early);
    list->events[1] = nullptr;
    p.host.dispatch (op::processEvents, 0, 0, list);
    p.host.render (4800, 512, {}, {}); // voice levels settle after resume
    std::vector<std::vector<float>> block (16, std::vector<float> (512));
    p.host.processBlock (512, {}, block, 0);
    EXPECT_EQ (firstAbove (block[0], onsetLevel), 0);

    list->events[0] = reinterpret_cast<vst::VstEvent*> (&late);
    p.host.render (48000, 512, {}, {}, 512); // the snare dies away
    p.host.dispatch (op::processEvents, 0, 0, list);
    p.host.processBlock (512, {}, block, 0);
    EXPECT_LT (peak (block[0], 0, 511), silence);
    const auto next = p.host.render (512, 512, {}, {});
    EXPECT_GT (peak (next[0]), 0.01) << "the late note sounds in the next block";

    // A zero-length block; then a block ten times the prepared size, with a note late in it.
    std::vector<std::vector<float>> none (16);
    p.host.processBlock (0, {noteOn (0, bassDrumKey)}, none, 0);
    // A flood of events far beyond what a block holds: the first ones play, the rest are dropped.
    std::vector<Event> flood;

    for (int i = 0; i < 20000; ++i)
        flood.push_back ({0, {(uint8_t) (i == 0 ? 0x90 : 0xa0), bassDrumKey, 100}});

    p.host.render (48000, 512, {}, {}); // the snare dies away
    std::vector<std::vector<float>> flooded (16, std::vector<float> (512));
    p.host.midiOut.clear();
    p.host.processBlock (512, flood, flooded, 0);
    EXPECT_GT (peak (flooded[0]), 0.001);
    EXPECT_GT (p.host.midiOut.size(), 1000u) << "passed through";
    EXPECT_LT (p.host.midiOut.size(), flood.size());
    p.host.render (48000, 512, {}, {}); // the bass drum dies away
    p.host.midiOut.clear();
    const auto big = p.host.render (5120, 5120, {noteOn (3000, bassDrumKey)}, {});
    EXPECT_LT (peak (big[0], 0, 3000), silence);
    EXPECT_EQ (firstAbove (big[0], onsetLevel), 3000);
    ASSERT_EQ (noteOnSamples (p.host.midiOut, bassDrumKey).size(), 1u);
    EXPECT_EQ (noteOnSamples (p.host.midiOut, bassDrumKey)[0], 3000);
    EXPECT_EQ (p.host.getChunk(), before);
}

TEST (PulsaretVst, EntryRefusesHostsWithoutVersionAndInstancesCoexist)
{
    // Ask the entry point directly, as a host that gives no version does.
    OfflineHost refused;
    refused.hostVersion = 0;
    EXPECT_FALSE (refused.load (PULSARET_PLUGIN));

    // Several instances share the message thread; closing one leaves the others working.
    for (int round = 0; round < 2; ++round)
    {
        auto first = std::make_unique<Pulsaret> (Settings{false});
        Pulsaret second ({false});
        ASSERT_TRUE (first->loaded());
        ASSERT_TRUE (second.loaded());
        first.reset();
        const auto out = second.host.render (4800, 512, {noteOn (0, bassDrumKey)}, {});
        EXPECT_GT (peak (out[0]), 0.05);
    }
}

TEST (PulsaretVst, InstancesShareTheMessageThreadAndCloseCleanly)
{
    // One library: its instances share one message thread, which the last one to close stops. Before each
    // close every open instance restores and saves its state, so the message thread still has their
    // notifications to deliver while the instance closes.
    auto library = std::make_shared<PluginCopy> (Settings{false});

    for (int count : {1, 2, 8})
    {
        for (int round = 0; round < 3; ++round)
        {
            std::vector<std::unique_ptr<Pulsaret>> instances;

            for (int i = 0; i < count; ++i)
            {
                instances.push_back (std::make_unique<Pulsaret> (library));
                ASSERT_TRUE (instances.back()->loaded());
            }

            const auto state = instances[0]->host.getChunk();

            while (!instances.empty())
            {
                for (auto& p : instances)
                    for (int i = 0; i < 4; ++i)
                        p->host.setChunk (state);

                const auto out = instances.back()->host.render (2048, 512, {noteOn (0, bassDrumKey)}, {});
                EXPECT_GT (peak (out[0]), 0.05);
                instances.pop_back();
            }
        }
    }
}

TEST (PulsaretVst, InstanceWorksWithoutDisplay)
{
    const char* display = std::getenv ("DISPLAY");
    const std::string saved = display != nullptr ? display : "";

    // No display at all (scanners, CI), and one named that no server answers.
    for (const char* name : {(const char*) nullptr, ":97"})
    {
        SCOPED_TRACE (name != nullptr ? name : "no DISPLAY");

        if (name != nullptr)
            setenv ("DISPLAY", name, 1);
        else
            unsetenv ("DISPLAY");

        Pulsaret p ({false});
        ASSERT_TRUE (p.loaded());
        vst::ERect* rect = nullptr;
        EXPECT_EQ (p.host.dispatch (op::editGetRect, 0, 0, &rect), 1);
        ASSERT_NE (rect, nullptr);
        // The skin's background and the status bar below it.
        EXPECT_EQ (rect->right - rect->left, 790);
        EXPECT_EQ (rect->bottom - rect->top, 652);
        EXPECT_EQ (p.host.dispatch (op::editOpen, 0, 0, reinterpret_cast<void*> ((intptr_t) 0x1234)), 0);
        p.host.dispatch (op::editIdle);
        p.host.dispatch (op::editClose);
        const auto out = p.host.render (4800, 512, {noteOn (0, bassDrumKey)}, {});
        EXPECT_GT (peak (out[0]), 0.05);
    }

    if (!saved.empty())
        setenv ("DISPLAY", saved.c_str(), 1);
    else
        unsetenv ("DISPLAY");
}

namespace
{
int countThreadsNamed (const std::string& prefix)
{
    int count = 0;

    for (const auto& entry : fs::directory_iterator ("/proc/self/task"))
    {
        std::ifstream comm (entry.path() / "comm");
        std::string name;
        std::getline (comm, name);
        count += name.rfind (prefix, 0) == 0 ? 1 : 0;
    }

    return count;
}
} // namespace

TEST (PulsaretVst, OneMessageThreadEndsWithTheLastInstance)
{
    const std::string threadName = "Pulsaret msgs";
    ASSERT_EQ (countThreadsNamed (threadName), 0);

    // Two instances of one library, as a host loads them.
    const auto library = std::make_shared<PluginCopy> (Settings{});
    auto first = std::make_unique<Pulsaret> (library);
    auto second = std::make_unique<Pulsaret> (library);
    ASSERT_TRUE (first->loaded() && second->loaded());
    EXPECT_EQ (countThreadsNamed (threadName), 1) << "one message thread for all instances";

    first.reset();
    EXPECT_EQ (countThreadsNamed (threadName), 1);
    second.reset();
    EXPECT_EQ (countThreadsNamed (threadName), 0) << "gone before the library is unloaded";
}
