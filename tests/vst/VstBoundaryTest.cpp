#include "vst/host/OfflineHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

// The test plug-in through the real entry point, seen only as a host sees it.
namespace
{
using vst::EffectOpcode::getOutputProperties;
using Event = OfflineHost::MidiEvent;

Event noteOn (int64_t sample, uint8_t key, uint8_t velocity = 127)
{
    return {sample, {0x90, key, velocity}};
}

struct LoadedPlugin
{
    OfflineHost host;

    explicit LoadedPlugin (double rate = 48000.0, int32_t block = 512)
    {
        if (host.load (PULSARET_TEST_PLUGIN))
            host.start (rate, block);
    }

    bool loaded() const { return host.getEffect() != nullptr; }
};

int64_t firstNonZero (const std::vector<float>& channel, size_t from = 0)
{
    for (size_t i = from; i < channel.size(); ++i)
        if (channel[i] != 0.0f)
            return (int64_t) i;

    return -1;
}

double peak (const std::vector<float>& channel, size_t from, size_t to)
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
} // namespace

TEST (VstBoundary, IdentityFlagsAndStrings)
{
    LoadedPlugin p;
    ASSERT_TRUE (p.loaded()) << p.host.getError();
    auto* e = p.host.getEffect();

    EXPECT_EQ (e->magic, 0x56737450);
    EXPECT_EQ (e->uniqueID, vst::fourChars ('Z', 'r', '4', 'k'));
    EXPECT_EQ (e->version, 0x10501);
    EXPECT_EQ (e->numInputs, 0);
    EXPECT_EQ (e->numOutputs, 16);
    EXPECT_EQ (e->numParams, 3);
    EXPECT_EQ (e->numPrograms, 0);
    EXPECT_EQ (e->flags & 0x331, 0x131); // editor, replacing, chunks, synth; no "no sound in stop"
    EXPECT_EQ (e->ioRatio, 1.0f);

    EXPECT_EQ (p.host.getString (vst::EffectOpcode::getEffectName), "Pulsaret Test");
    EXPECT_EQ (p.host.getString (vst::EffectOpcode::getProductString), "Pulsaret Test");
    EXPECT_EQ (p.host.getString (vst::EffectOpcode::getVendorString), "Pulsaret Audio");
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::getVendorVersion), 0x10501);
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::getPlugCategory), vst::PlugCategory::synth);
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::getVstVersion), 2400);
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::identify), vst::fourChars ('N', 'v', 'E', 'f'));

    for (auto* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents", "sendVstEvents", "sendVstMidiEvent",
                      "sendVstMidiEvents", "receiveVstTimeInfo", "conformsToWindowRules"})
        EXPECT_EQ (p.host.canDo (yes), 1) << yes;

    EXPECT_EQ (p.host.canDo ("openCloseAnyThread"), -1);
    EXPECT_EQ (p.host.canDo ("receiveVstEvent"), 0);
    EXPECT_EQ (p.host.canDo ("ReceiveVstEvents"), 0);
    EXPECT_EQ (p.host.canDo (""), 0);
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::canDo, 0, 0, nullptr), 0);
}

TEST (VstBoundary, ParametersPinsAndKeyNames)
{
    LoadedPlugin p;
    ASSERT_TRUE (p.loaded());

    EXPECT_EQ (p.host.getString (vst::EffectOpcode::getParamName, 0), "Level");
    EXPECT_EQ (p.host.getString (vst::EffectOpcode::getParamName, 2), "Decay");
    EXPECT_EQ (p.host.getString (vst::EffectOpcode::getParamName, 3), "");
    EXPECT_EQ (p.host.getString (vst::EffectOpcode::getParamName, -1), "");
    p.host.setParameter (1, 0.25f);
    EXPECT_EQ (p.host.getParameter (1), 0.25f);
    EXPECT_EQ (p.host.getString (vst::EffectOpcode::getParamDisplay, 1), "0.25");
    EXPECT_TRUE (p.host.automation.empty()) << "a host change is not echoed back";

    // A change made inside the instance reaches the host as automation.
    p.host.render (512, 512, { { 5, { 0xb0, 7, 127 } } }, {});
    ASSERT_EQ (p.host.automation.size(), 1u);
    EXPECT_EQ (p.host.automation[0].index, 0);
    EXPECT_EQ (p.host.automation[0].value, 1.0f);
    EXPECT_EQ (p.host.getParameter (0), 1.0f);
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::canBeAutomated, 2), 1);
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::canBeAutomated, 3), 0);
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::canBeAutomated, -5), 0);

    for (int ch = 0; ch < 16; ++ch)
    {
        vst::VstPinProperties pin;
        std::memset (&pin, 0x55, sizeof (pin));
        ASSERT_EQ (p.host.dispatch (getOutputProperties, ch, 0, &pin), 1);
        EXPECT_STREQ (pin.label, ("PX" + std::to_string (ch / 2 + 1)).c_str());
        EXPECT_EQ (pin.flags, vst::PinFlags::isActive | vst::PinFlags::isStereo);
    }

    vst::VstPinProperties pin{};
    EXPECT_EQ (p.host.dispatch (getOutputProperties, 16, 0, &pin), 0);
    EXPECT_EQ (p.host.dispatch (getOutputProperties, -1, 0, &pin), 0);
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::getInputProperties, 0, 0, &pin), 0);
    EXPECT_EQ (p.host.dispatch (getOutputProperties, 0, 0, nullptr), 0);

    for (int key : {36, 35, -1, 128, 100000})
    {
        vst::MidiKeyName name{};
        name.thisKeyNumber = key;
        std::memset (name.keyName, 'x', sizeof (name.keyName));
        EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::getMidiKeyName, 0, 0, &name), 1);
        EXPECT_STREQ (name.keyName, key == 36 ? "Bass Drum" : (key == 35 ? "---" : "")) << key;
    }
}

TEST (VstBoundary, NotesAreSampleAccurateAndMidiPassesThrough)
{
    LoadedPlugin p;
    ASSERT_TRUE (p.loaded());
    const std::vector<Event> events{noteOn (100, 60), noteOn (812, 62), {900, {0x80, 60, 0}}};
    const auto out = p.host.render (2048, 512, events, {});

    ASSERT_EQ (out.size(), 16u);
    EXPECT_EQ (firstNonZero (out[0]), 101) << "sin (0) at the note's own sample, sound from the next";
    EXPECT_GT (peak (out[0], 100, 812), 0.1);
    EXPECT_EQ (out[0], out[1]);

    for (size_t ch = 2; ch < 16; ++ch)
        EXPECT_EQ (peak (out[ch], 0, 2048), 0.0) << "channel " << ch << " is cleared";

    ASSERT_EQ (p.host.midiOut.size(), 3u);
    EXPECT_EQ (p.host.midiOut[0].sample, 100);
    EXPECT_EQ (p.host.midiOut[1].sample, 812);
    EXPECT_EQ (p.host.midiOut[2].sample, 900);
    EXPECT_EQ (p.host.midiOut[2].bytes[0], 0x80);
}

TEST (VstBoundary, OnlyMidiEventsAreReadAsMidi)
{
    LoadedPlugin p;
    ASSERT_TRUE (p.loaded());

    // A SysEx record whose bytes would read as a loud note-on if taken for a MIDI event.
    vst::VstEvent sysEx{};
    sysEx.type = vst::EventType::sysEx;
    sysEx.byteSize = 48;
    unsigned char fake[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0x90, 60, 127, 0};
    std::memcpy (sysEx.data, fake, sizeof (fake));
    vst::VstMidiEvent running{}; // a data byte where the status belongs
    running.type = vst::EventType::midi;
    running.byteSize = sizeof (running);
    running.midiData[0] = 60;

    alignas (vst::VstEvents) unsigned char memory[sizeof (vst::VstEvents) + 2 * sizeof (void*)]{};
    auto* list = reinterpret_cast<vst::VstEvents*> (memory);
    list->numEvents = 3;
    list->events[0] = &sysEx;
    list->events[1] = reinterpret_cast<vst::VstEvent*> (&running);
    list->events[2] = nullptr;
    p.host.dispatch (vst::EffectOpcode::processEvents, 0, 0, list);
    p.host.dispatch (vst::EffectOpcode::processEvents, 0, 0, nullptr);

    std::vector<std::vector<float>> out (16, std::vector<float> (512));
    p.host.processBlock (512, {}, out, 0);
    EXPECT_EQ (peak (out[0], 0, 512), 0.0);
    EXPECT_TRUE (p.host.midiOut.empty());
}

TEST (VstBoundary, HostTransportAndTempoReachTheInstance)
{
    LoadedPlugin p (48000.0, 256);
    ASSERT_TRUE (p.loaded());
    OfflineHost::Transport transport;
    transport.tempo = 120.0;              // 24000 samples a beat
    transport.playing = {{24000, 71000}}; // the host reports per block of 250
    const auto out = p.host.render (96000, 250, {}, transport);

    // Clicks on beats 1 and 2 while playing.
    EXPECT_EQ (firstNonZero (out[4]), 24000);
    EXPECT_EQ (firstNonZero (out[4], 25000), 48000);
    EXPECT_EQ (firstNonZero (out[4], 49000), -1) << "no click once the transport stopped";

    ASSERT_FALSE (p.host.timeRequests.empty());
    const int32_t asked = p.host.timeRequests.back();
    EXPECT_NE (asked & vst::TimeInfoFlags::tempoValid, 0);
    EXPECT_NE (asked & vst::TimeInfoFlags::ppqPosValid, 0);

    // Without time info from the host the instance sees no position and plays no clicks.
    LoadedPlugin q (48000.0, 256);
    q.host.giveTimeInfo = false;
    const auto silent = q.host.render (48000, 256, {}, transport);
    EXPECT_EQ (firstNonZero (silent[4]), -1);
}

TEST (VstBoundary, SuspendResumeAndSampleRateChanges)
{
    LoadedPlugin p (48000.0, 512);
    ASSERT_TRUE (p.loaded());
    EXPECT_GE (p.host.wantMidiCalls, 1) << "resume asks the host for MIDI";

    const auto at48 = p.host.render (9600, 512, {noteOn (0, 60)}, {});
    const double f48 = zeroCrossingFrequency (at48[0], 0, 4800, 48000.0);
    EXPECT_NEAR (f48, 600.0, 25.0); // 200 + 0.5 * 800 Hz

    // Suspended: every output is cleared, whatever the host's buffers held.
    p.host.dispatch (vst::EffectOpcode::mainsChanged, 0, 0);
    std::vector<std::vector<float>> out (16, std::vector<float> (512, 0.0f));
    p.host.processBlock (512, {noteOn (0, 60)}, out, 0);

    for (const auto& ch : out)
        EXPECT_EQ (peak (ch, 0, 512), 0.0);

    p.host.dispatch (vst::EffectOpcode::setSampleRate, 0, 0, nullptr, 96000.0f);
    p.host.dispatch (vst::EffectOpcode::mainsChanged, 0, 1);
    const auto at96 = p.host.render (19200, 512, {noteOn (0, 60)}, {});
    EXPECT_NEAR (zeroCrossingFrequency (at96[0], 0, 9600, 96000.0), f48, 5.0) << "the pitch does not follow the rate";

    // Nonsense rates and sizes are refused; the instance keeps running at 96 kHz.
    p.host.dispatch (vst::EffectOpcode::mainsChanged, 0, 0);
    p.host.dispatch (vst::EffectOpcode::setSampleRate, 0, 0, nullptr, std::nanf (""));
    p.host.dispatch (vst::EffectOpcode::setSampleRate, 0, 0, nullptr, -48000.0f);
    p.host.dispatch (vst::EffectOpcode::setBlockSize, 0, -1);
    p.host.dispatch (vst::EffectOpcode::mainsChanged, 0, 1);
    const auto again = p.host.render (19200, 512, {noteOn (0, 60)}, {});
    EXPECT_NEAR (zeroCrossingFrequency (again[0], 0, 9600, 96000.0), f48, 5.0);
}

TEST (VstBoundary, ChunksRoundTripAndDamagedChunksChangeNothing)
{
    LoadedPlugin a;
    ASSERT_TRUE (a.loaded());
    a.host.setParameter (0, 0.75f);
    a.host.setParameter (2, 0.125f);
    a.host.render (512, 512, {{10, {0xc0, 1, 0}}}, {}); // program change: mode 1
    const auto chunk = a.host.getChunk();
    const auto preset = a.host.getChunk (true);
    ASSERT_FALSE (chunk.empty());
    ASSERT_FALSE (preset.empty());

    LoadedPlugin b;
    ASSERT_TRUE (b.loaded());
    const auto fresh = b.host.getChunk();
    EXPECT_NE (fresh, chunk);

    std::vector<uint8_t> truncated (chunk.begin(), chunk.begin() + (ptrdiff_t) chunk.size() / 2);
    std::vector<uint8_t> garbage (300);

    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = (uint8_t) (i * 37 + 11);

    for (const auto& damaged : {std::vector<uint8_t>{}, std::vector<uint8_t>{'V', 'C', '2'}, truncated, garbage})
    {
        b.host.setChunk (damaged);
        b.host.setChunk (damaged, true);
        EXPECT_EQ (b.host.getChunk(), fresh);
    }

    b.host.dispatch (vst::EffectOpcode::setChunk, 0, 100, nullptr);
    b.host.dispatch (vst::EffectOpcode::setChunk, 0, -5, const_cast<uint8_t*> (chunk.data()));
    EXPECT_EQ (b.host.getChunk(), fresh);

    b.host.setChunk (chunk);
    EXPECT_EQ (b.host.getChunk(), chunk);
    EXPECT_EQ (b.host.getParameter (0), 0.75f);

    // The mode came back: notes sound upside down.
    const auto out = b.host.render (1024, 512, {noteOn (0, 60)}, {});
    EXPECT_LT (out[0][1], 0.0f);

    LoadedPlugin c;
    ASSERT_TRUE (c.loaded());
    c.host.setChunk (preset, true);
    EXPECT_EQ (c.host.getParameter (0), 0.75f);
    const auto outC = c.host.render (1024, 512, {noteOn (0, 60)}, {});
    EXPECT_GT (outC[0][1], 0.0f) << "a program chunk carries no mode";
}

TEST (VstBoundary, BadCallsNeitherCrashNorChangeState)
{
    LoadedPlugin p (48000.0, 512);
    ASSERT_TRUE (p.loaded());
    const auto before = p.host.getChunk();

    p.host.setParameter (-1, 0.3f);
    p.host.setParameter (3, 0.3f);
    p.host.setParameter (1000000, 0.3f);
    p.host.setParameter (0, std::nanf (""));
    p.host.setParameter (0, INFINITY);
    EXPECT_EQ (p.host.getParameter (-1), 0.0f);
    EXPECT_EQ (p.host.getParameter (3), 0.0f);
    EXPECT_EQ (p.host.getChunk(), before);

    char small[8];
    std::memset (small, 0, sizeof (small));
    p.host.dispatch (vst::EffectOpcode::getParamName, 0, 0, nullptr);
    p.host.dispatch (vst::EffectOpcode::getMidiKeyName, 0, 0, nullptr);
    p.host.dispatch (vst::EffectOpcode::getChunk, 0, 0, nullptr);
    p.host.dispatch (vst::EffectOpcode::editGetRect, 0, 0, nullptr);
    p.host.dispatch (vst::EffectOpcode::setProgram, 0, 5);
    p.host.dispatch (12345, 1, 2, small, 3.0f);
    EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::getProgram), 0);

    // A zero-length block; then a block ten times the prepared size, with a note late in it.
    std::vector<std::vector<float>> none (16);
    p.host.processBlock (0, {noteOn (0, 60)}, none, 0);
    std::vector<std::vector<float>> big (16, std::vector<float> (5120));
    p.host.processBlock (5120, {noteOn (3000, 60)}, big, 0);
    EXPECT_EQ (firstNonZero (big[0]), 3001);
    EXPECT_EQ (firstNonZero (big[4]), -1);
    ASSERT_EQ (p.host.midiOut.size(), 1u);
    EXPECT_EQ (p.host.midiOut[0].sample, 3000);
    EXPECT_EQ (p.host.getChunk(), before);
}

TEST (VstBoundary, EntryRefusesHostsWithoutVersionAndInstancesCoexist)
{
    OfflineHost refused;
    refused.hostVersion = 0;
    EXPECT_FALSE (refused.load (PULSARET_TEST_PLUGIN));

    // Several instances share the message thread; closing one leaves the others working, and a new
    // instance after the last one closed starts it again.
    for (int round = 0; round < 2; ++round)
    {
        auto first = std::make_unique<LoadedPlugin>();
        LoadedPlugin second;
        ASSERT_TRUE (first->loaded());
        ASSERT_TRUE (second.loaded());
        first.reset();
        const auto out = second.host.render (1024, 512, {noteOn (0, 60)}, {});
        EXPECT_GT (peak (out[0], 0, 1024), 0.1);
    }
}

TEST (VstBoundary, InstanceWorksWithoutDisplay)
{
    const char* display = std::getenv ("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    unsetenv ("DISPLAY");

    {
        LoadedPlugin p;
        ASSERT_TRUE (p.loaded());
        vst::ERect* rect = nullptr;
        EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::editGetRect, 0, 0, &rect), 1);
        ASSERT_NE (rect, nullptr);
        EXPECT_EQ (rect->right - rect->left, 320);
        EXPECT_EQ (rect->bottom - rect->top, 200);
        EXPECT_EQ (p.host.dispatch (vst::EffectOpcode::editOpen, 0, 0, reinterpret_cast<void*> ((intptr_t) 0x1234)), 0);
        p.host.dispatch (vst::EffectOpcode::editIdle);
        p.host.dispatch (vst::EffectOpcode::editClose);
        const auto out = p.host.render (1024, 512, {noteOn (0, 60)}, {});
        EXPECT_GT (peak (out[0], 0, 1024), 0.1);
    }

    if (!saved.empty())
        setenv ("DISPLAY", saved.c_str(), 1);
}

namespace
{
int countThreadsNamed (const std::string& prefix)
{
    int count = 0;

    for (const auto& entry : std::filesystem::directory_iterator ("/proc/self/task"))
    {
        std::ifstream comm (entry.path() / "comm");
        std::string name;
        std::getline (comm, name);
        count += name.rfind (prefix, 0) == 0 ? 1 : 0;
    }

    return count;
}
} // namespace

TEST (VstBoundary, MessageThreadEndsWithTheLastInstance)
{
    const std::string threadName = "Pulsaret msgs";
    ASSERT_EQ (countThreadsNamed (threadName), 0);

    auto first = std::make_unique<LoadedPlugin>();
    auto second = std::make_unique<LoadedPlugin>();
    ASSERT_TRUE (first->loaded() && second->loaded());
    EXPECT_EQ (countThreadsNamed (threadName), 1) << "one message thread for all instances";

    first.reset();
    EXPECT_EQ (countThreadsNamed (threadName), 1);
    second.reset();
    EXPECT_EQ (countThreadsNamed (threadName), 0) << "gone before the library is unloaded";
}
