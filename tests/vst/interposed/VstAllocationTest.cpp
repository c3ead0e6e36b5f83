#include "../PluginCopy.h"
#include "vst/host/OfflineHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>
#include <unistd.h>

// This program replaces the C allocator, operator new and write for the whole process, the plug-in
// loaded with dlopen included; what happens on a thread while it counts is counted.
extern "C"
{
    void* __libc_malloc (size_t size);
    void* __libc_calloc (size_t count, size_t size);
    void* __libc_realloc (void* p, size_t size);
    void* __libc_memalign (size_t alignment, size_t size);
    void __libc_free (void* p);
    ssize_t __write (int fd, const void* data, size_t size);
}

namespace
{
thread_local bool counting = false;
std::atomic<int> allocations{0}, writes{0};

void count() noexcept
{
    if (counting)
        ++allocations;
}

void* allocateOrThrow (std::size_t size)
{
    count();

    if (void* p = __libc_malloc (size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
}

void* alignedOrThrow (std::size_t size, std::align_val_t alignment)
{
    count();

    if (void* p = __libc_memalign ((size_t) alignment, size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
}
} // namespace

extern "C"
{
    void* malloc (size_t size)
    {
        count();
        return __libc_malloc (size);
    }

    void* calloc (size_t n, size_t size)
    {
        count();
        return __libc_calloc (n, size);
    }

    void* realloc (void* p, size_t size)
    {
        count();
        return __libc_realloc (p, size);
    }

    void free (void* p)
    {
        __libc_free (p);
    }

    void* memalign (size_t alignment, size_t size)
    {
        count();
        return __libc_memalign (alignment, size);
    }

    void* aligned_alloc (size_t alignment, size_t size)
    {
        count();
        return __libc_memalign (alignment, size);
    }

    int posix_memalign (void** result, size_t alignment, size_t size)
    {
        count();

        if (alignment < sizeof (void*) || (alignment & (alignment - 1)) != 0)
            return EINVAL;

        void* p = __libc_memalign (alignment, size);

        if (p == nullptr)
            return ENOMEM;

        *result = p;
        return 0;
    }

    // A message posted to the message thread ends in a byte written to its socket.
    ssize_t write (int fd, const void* data, size_t size)
    {
        if (counting)
            ++writes;

        return __write (fd, data, size);
    }
}

void* operator new (std::size_t size)
{
    return allocateOrThrow (size);
}
void* operator new[] (std::size_t size)
{
    return allocateOrThrow (size);
}
void* operator new (std::size_t size, std::align_val_t alignment)
{
    return alignedOrThrow (size, alignment);
}
void* operator new[] (std::size_t size, std::align_val_t alignment)
{
    return alignedOrThrow (size, alignment);
}
void operator delete (void* p) noexcept
{
    __libc_free (p);
}
void operator delete[] (void* p) noexcept
{
    __libc_free (p);
}
void operator delete (void* p, std::size_t) noexcept
{
    __libc_free (p);
}
void operator delete[] (void* p, std::size_t) noexcept
{
    __libc_free (p);
}
void operator delete (void* p, std::align_val_t) noexcept
{
    __libc_free (p);
}
void operator delete[] (void* p, std::align_val_t) noexcept
{
    __libc_free (p);
}
void operator delete (void* p, std::size_t, std::align_val_t) noexcept
{
    __libc_free (p);
}
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept
{
    __libc_free (p);
}

namespace
{
using pulsaret_vst_test::PluginCopy;
using pulsaret_vst_test::Settings;
using Event = OfflineHost::MidiEvent;
namespace op = vst::EffectOpcode;

constexpr double sampleRate = 48000.0;
constexpr int32_t blockSize = 512;

void countInside (bool inside)
{
    counting = inside;
}

std::string chunkText (const std::vector<uint8_t>& chunk)
{
    uint32_t length = 0;

    if (chunk.size() > 8)
        std::memcpy (&length, chunk.data() + 4, 4);

    return chunk.size() >= 8 + (size_t) length ? std::string (chunk.begin() + 8, chunk.begin() + 8 + length) : std::string();
}

std::vector<uint8_t> chunkOf (const std::string& xml)
{
    std::vector<uint8_t> chunk{'V', 'C', '2', '!', 0, 0, 0, 0};
    const auto length = (uint32_t) xml.size();
    std::memcpy (chunk.data() + 4, &length, 4);
    chunk.insert (chunk.end(), xml.begin(), xml.end());
    chunk.push_back (0);
    chunk.push_back (0);
    return chunk;
}

// Controller 7 learned for "Bass Drum Level", so controller messages move a reported parameter.
void learnController (OfflineHost& host)
{
    auto text = chunkText (host.getChunk());
    const std::string emptyMap = "<MidiControlMap name=\"Pulsaret\"/>";
    ASSERT_NE (text.find (emptyMap), std::string::npos);
    text.replace (text.find (emptyMap), emptyMap.size(),
                  "<MidiControlMap name=\"Pulsaret\"><assign CC=\"7\" param=\"Bass Drum Level\"/></MidiControlMap>");
    host.setChunk (chunkOf (text));
}

// Notes on the drum map's keys, pattern keys (12 and up) held and let go, and the learned controller.
std::vector<Event> busyEvents (int64_t from, int64_t length)
{
    std::vector<Event> events;

    for (int64_t t = from; t < from + length; t += 3000)
    {
        const auto n = t / 3000;
        events.push_back ({t, {0x90, (uint8_t) (36 + n % 12), (uint8_t) (40 + n % 80)}});
        events.push_back ({t + 700, {0x80, (uint8_t) (36 + n % 12), 0}});
        events.push_back ({t + 100, {0xb0, 7, (uint8_t) (n % 128)}});

        if (n % 8 == 0)
            events.push_back ({t + 5, {0x90, (uint8_t) (12 + (n / 8) % 3), 100}});

        if (n % 8 == 6)
            events.push_back ({t + 5, {0x80, (uint8_t) (12 + (n / 8) % 3), 0}});
    }

    return events;
}
} // namespace

TEST (VstAllocation, TheCounterSeesTheCAllocatorAndWrites)
{
    countInside (true);
    void* p = std::malloc (24);
    p = std::realloc (p, 4000);
    const auto written = ::write (-1, "x", 1);
    countInside (false);
    std::free (p);
    EXPECT_EQ (written, -1);
    EXPECT_GE (allocations.exchange (0), 2);
    EXPECT_EQ (writes.exchange (0), 1);
}

TEST (VstAllocation, AudioCallbacksNeitherAllocateNorPostInSteadyState)
{
    struct Case
    {
        const char* name;
        Settings settings;
        bool transport;
    };

    const Case cases[] = {
        {"MIDI-played voices", {false, true, false}, true},
        {"sequencer on the host transport", {true, false, false}, true},
        {"host mode pattern keys", {true, true, true}, false},
    };

    for (const auto& c : cases)
    {
        const PluginCopy copy (c.settings);
        OfflineHost host;
        ASSERT_TRUE (host.load (copy.getPath().string())) << host.getError();
        host.start (sampleRate, blockSize);
        learnController (host);

        // What the host keeps of the plug-in's calls has its room already.
        host.midiOut.reserve (1 << 20);
        host.timeRequests.reserve (1 << 16);
        host.hostCalls.reserve (1 << 16);
        host.pluginAudioCall = countInside;

        OfflineHost::Transport transport;
        transport.tempo = 131.0;

        if (c.transport)
            transport.playing = {{0, 1 << 30}};

        // A host's own thread at the same time: parameter changes, texts, state and key names, the
        // last two with the instance's message thread held.
        std::atomic<bool> running{true};
        std::thread editor ([&]
                            {
                                for (int n = 0; running.load(); ++n)
                                {
                                    host.setParameter (25 + n % 14, (float) (n % 2));
                                    host.setParameter (n % 7, (float) (n % 10) / 10.0f);
                                    host.getString (op::getParamDisplay, n % 47);

                                    if (n % 20 == 0)
                                        host.setChunk (host.getChunk());

                                    vst::MidiKeyName name{};
                                    name.thisKeyNumber = 12 + n % 40;
                                    host.dispatch (op::getMidiKeyName, 0, 0, &name);
                                    std::this_thread::sleep_for (std::chrono::milliseconds (3));
                                } });

        const auto second = (int64_t) sampleRate;
        host.render (second, blockSize, busyEvents (0, second), transport, 0);
        allocations = 0;
        writes = 0;
        host.render (6 * second, blockSize, busyEvents (second, 6 * second), transport, second);
        running = false;
        editor.join();
        host.pluginAudioCall = nullptr;

        EXPECT_EQ (allocations.exchange (0), 0) << c.name;
        EXPECT_EQ (writes.exchange (0), 0) << c.name;
        EXPECT_FALSE (host.midiOut.empty() && c.settings.internalSequencer) << c.name << ": the sequencer played";
    }
}
