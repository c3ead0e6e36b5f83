#include "PulsaretTestHost.h"
#include "tests/MessagePump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

// Every heap allocation of this test program goes through here; only those made on a
// thread that counts are counted.
namespace
{
thread_local bool countAllocations = false;
std::atomic<int> allocationCount{0};

void* allocate (std::size_t size)
{
    if (countAllocations)
        ++allocationCount;

    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
}
} // namespace

void* operator new (std::size_t size)
{
    return allocate (size);
}
void* operator new[] (std::size_t size)
{
    return allocate (size);
}
void operator delete (void* p) noexcept
{
    std::free (p);
}
void operator delete[] (void* p) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::size_t) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, std::size_t) noexcept
{
    std::free (p);
}

// JUCE's containers call the C allocator itself. The sanitizer brings its own, so it is left alone there.
#if !defined(__SANITIZE_ADDRESS__)
extern "C"
{
    void* __libc_malloc (size_t size);
    void* __libc_calloc (size_t count, size_t size);
    void* __libc_realloc (void* p, size_t size);

    void* malloc (size_t size)
    {
        if (countAllocations)
            ++allocationCount;

        return __libc_malloc (size);
    }

    void* calloc (size_t count, size_t size)
    {
        if (countAllocations)
            ++allocationCount;

        return __libc_calloc (count, size);
    }

    void* realloc (void* p, size_t size)
    {
        if (countAllocations)
            ++allocationCount;

        return __libc_realloc (p, size);
    }
}
#endif

namespace
{
int countedBlock (PulsaretTestHost& host, const juce::MidiBuffer& events, int numSamples = PulsaretTestHost::blockSize)
{
    host.midi.clear();
    host.midi.addEvents (events, 0, -1, 0);
    host.buffer.setSize (host.buffer.getNumChannels(), numSamples, false, false, true);

    const juce::ScopedLock sl (host.plugin->getCallbackLock());
    allocationCount = 0;
    countAllocations = true;
    host.plugin->processBlock (host.buffer, host.midi);
    countAllocations = false;
    return allocationCount.load();
}

juce::MidiBuffer busyEvents (int block)
{
    juce::MidiBuffer events;
    events.addEvent (juce::MidiMessage::noteOn (1, 12 + (block / 8) % 3, (juce::uint8) 100), 3);
    events.addEvent (juce::MidiMessage::noteOn (2, 36, (juce::uint8) 90), 40);
    events.addEvent (juce::MidiMessage::noteOff (1, 12 + (block / 8) % 3), 300);
    events.addEvent (juce::MidiMessage::controllerEvent (1, 21, block % 128), 100);
    events.addEvent (juce::MidiMessage::pitchWheel (1, 9000), 200);

    if (block % 10 == 9)
        events.addEvent (juce::MidiMessage::allNotesOff (1), 450);

    if (block % 10 == 5)
        events.addEvent (juce::MidiMessage::programChange (1, block % 4), 20);

    const juce::uint8 sysex[] = {0xf0, 0x7e, 0x7f, 0x06, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xf7};
    events.addEvent (sysex, (int) sizeof (sysex), 10);
    return events;
}
} // namespace

TEST (DrumMachineAllocation, NoHeapAllocationWhileProcessingInSteadyState)
{
    // The counter sees what it should.
    allocationCount = 0;
    countAllocations = true;
    auto probe = std::make_unique<juce::MemoryBlock> (16);
    countAllocations = false;
    ASSERT_GE (allocationCount.load(), 1);
    probe.reset();

    PulsaretTestHost host;
    auto& plugin = *host.plugin;

    // Every voice on every step of three patterns, tapping and a learned controller.
    for (int pattern = 0; pattern < 3; ++pattern)
    {
        host.seq().setEditedPatternIndex (pattern);

        for (int track = 0; track < 8; ++track)
            for (int step = 0; step < 16; ++step)
                host.seq().setStep (track, step, 1 + (step + track) % 2);
    }

    plugin.getMidiControl().assign (21, plugin.getParameterManager().getParameter (3), false);
    plugin.getCore()->setTriggerOutEnabled (true);
    plugin.setHostMode (true);
    plugin.setNoteOffMode (true);
    host.playHead.playing = true;

    auto runBlocks = [&] (int first, int count)
    {
        int total = 0;

        for (int block = first; block < first + count; ++block)
        {
            if (block % 7 == 3)
            {
                host.plugin->tapTrack (block % 8, 2);
                host.plugin->tapTrack ((block + 1) % 8, 1);
            }

            host.playHead.ppq = block * 512.0 * 2.0 / PulsaretTestHost::sampleRate;
            total += countedBlock (host, busyEvents (block));
        }

        return total;
    };

    runBlocks (0, 40);
    EXPECT_EQ (runBlocks (40, 200), 0);

    // The native sequencer following the host's tempo and position, with the panel's requests.
    plugin.setHostMode (false);
    plugin.setInternalSync (false);
    runBlocks (240, 40);
    EXPECT_EQ (runBlocks (280, 200), 0);

    host.playHead.playing = false;
    plugin.handleEvent (DrumMachine::startEvent);
    runBlocks (480, 40);
    plugin.handleEvent (DrumMachine::stopEvent);
    runBlocks (520, 5);
    plugin.handleEvent (DrumMachine::startEvent);
    EXPECT_EQ (runBlocks (525, 100), 0);

    // Without the sequencer: the host's MIDI passes through, notes from the drum map.
    plugin.setInternalSequencer (false);
    runBlocks (625, 20);
    EXPECT_EQ (runBlocks (645, 100), 0);

    // The transport starting and stopping, the sequencer switched on and off, the host
    // releasing and preparing again: each ends or starts notes, none allocates.
    int transitions = 0;

    for (int round = 0; round < 6; ++round)
    {
        plugin.setInternalSequencer (round % 2 == 0);
        host.playHead.playing = round % 3 != 0;
        transitions += runBlocks (745 + round * 10, 10);

        if (round == 3)
        {
            plugin.releaseResources();
            plugin.prepareToPlay (PulsaretTestHost::sampleRate, PulsaretTestHost::blockSize);
        }
    }

    EXPECT_EQ (transitions, 0);

    // Small and empty blocks.
    EXPECT_EQ (countedBlock (host, busyEvents (1), 1), 0);
    EXPECT_EQ (countedBlock (host, {}, 0), 0);
}

TEST (DrumMachineAllocation, NoHeapAllocationOnTheAudioThreadWhileThePanelEdits)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;
    plugin.setPatternWriteMode (true);
    plugin.setInternalSync (false);
    host.playHead.playing = true;

    // The audio thread plays the native sequencer on the host transport, with MIDI; after its first
    // second it counts.
    constexpr int warmUpBlocks = (int) (PulsaretTestHost::sampleRate / PulsaretTestHost::blockSize) + 1;
    std::atomic<int> blocks{0}, counted{0};
    std::atomic<bool> editing{true};

    std::thread audio ([&]
                       {
                           for (int block = 0; editing.load() || block < 2 * warmUpBlocks; ++block)
                           {
                               host.playHead.ppq = block * 512.0 * 2.0 / PulsaretTestHost::sampleRate;
                               const int n = countedBlock (host, busyEvents (block));

                               if (block >= warmUpBlocks)
                                   counted += n;

                               ++blocks;
                           } });

    // Meanwhile the panel taps and edits steps on the message thread, which publishes what the
    // audio thread handed over.
    for (int n = 0; blocks.load() < 4 * warmUpBlocks; ++n)
    {
        plugin.tapTrack (n % 8, 1 + n % 2);
        plugin.handleEvent (DrumMachine::pressStepEvent + n % 16);
        pumpPendingMessages();
        std::this_thread::sleep_for (std::chrono::microseconds (300));
    }

    editing = false;
    audio.join();
    EXPECT_EQ (counted.load(), 0);
}
