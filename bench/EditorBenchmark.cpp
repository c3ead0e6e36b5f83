// Loads the plug-in into our offline host, opens its editor in an X11 window and prints what the
// panel costs while the transport plays: the plug-in's message thread's share of one core (the
// refresh should repaint only what changed), beside the same with the editor closed, and the
// longest audio callback. Needs a display: run it under tests/vst/with_xvfb.sh.
//
//   bash tests/vst/with_xvfb.sh build/pulsaret_editor_bench build/Pulsaret.so

#include "vst/host/OfflineHost.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr double measureSeconds = 5.0;

/** CPU seconds a thread of this process has used, found by its name; negative when not found. */
double threadCpuSeconds (const std::string& name)
{
    for (const auto& task : std::filesystem::directory_iterator ("/proc/self/task"))
    {
        std::ifstream comm (task.path() / "comm");
        std::string threadName;
        std::getline (comm, threadName);

        if (threadName != name)
            continue;

        std::ifstream statFile (task.path() / "stat");
        std::string stat;
        std::getline (statFile, stat);

        // After the name in parentheses, utime and stime are the 12th and 13th fields.
        std::istringstream fields (stat.substr (stat.rfind (')') + 2));
        std::string field;
        long ticks = 0;

        for (int i = 1; i <= 13 && (fields >> field); ++i)
            if (i >= 12)
                ticks += std::stol (field);

        return (double) ticks / (double) sysconf (_SC_CLK_TCK);
    }

    return -1.0;
}

struct AudioThread
{
    explicit AudioThread (OfflineHost& h)
        : host (h)
    {
        transport.playing = {{0, INT64_MAX}};
        thread = std::thread ([this]
                              {
            const auto blockTime = std::chrono::duration_cast<std::chrono::steady_clock::duration> (
                std::chrono::duration<double> (blockSize / sampleRate));
            auto next = std::chrono::steady_clock::now();

            while (running)
            {
                const auto start = std::chrono::steady_clock::now();
                host.render (blockSize, blockSize, {}, transport, position);
                longestMs = std::max (longestMs.load(), std::chrono::duration<double, std::milli> (std::chrono::steady_clock::now() - start).count());
                position += blockSize;
                next += blockTime;
                std::this_thread::sleep_until (next);
            } });
    }

    ~AudioThread()
    {
        running = false;
        thread.join();
    }

    OfflineHost& host;
    OfflineHost::Transport transport;
    int64_t position = 0;
    std::atomic<double> longestMs{0.0};
    std::atomic<bool> running{true};
    std::thread thread;
};

/** The message thread's share of one core over the measuring time, in percent. */
double messageThreadShare()
{
    const double before = threadCpuSeconds ("Pulsaret msgs");
    std::this_thread::sleep_for (std::chrono::duration<double> (measureSeconds));
    const double after = threadCpuSeconds ("Pulsaret msgs");
    return before < 0.0 || after < 0.0 ? -1.0 : 100.0 * (after - before) / measureSeconds;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf (stderr, "usage: %s Pulsaret.so (with a display)\n", argv[0]);
        return 2;
    }

    Display* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::fprintf (stderr, "no X display\n");
        return 1;
    }

    const int screen = DefaultScreen (display);
    const Window window = XCreateSimpleWindow (display, RootWindow (display, screen), 0, 0, 1000, 800, 0, BlackPixel (display, screen),
                                               WhitePixel (display, screen));
    XMapWindow (display, window);
    XSync (display, False);

    OfflineHost host;

    if (!host.load (argv[1]))
    {
        std::fprintf (stderr, "%s\n", host.getError().c_str());
        return 1;
    }

    host.start (sampleRate, blockSize);

    {
        AudioThread audio (host);
        std::this_thread::sleep_for (std::chrono::milliseconds (500));
        const double closed = messageThreadShare();

        host.dispatch (vst::EffectOpcode::editOpen, 0, 0, reinterpret_cast<void*> ((uintptr_t) window));
        std::this_thread::sleep_for (std::chrono::milliseconds (500));
        audio.longestMs = 0.0;
        const double open = messageThreadShare();
        const double longest = audio.longestMs;
        host.dispatch (vst::EffectOpcode::editClose);

        std::printf ("Message thread, transport playing: %.2f %% of a core with the editor open (target < 3 %%), %.2f %% closed\n",
                     open, closed);
        std::printf ("Longest audio callback with the editor open: %.2f ms (block %.2f ms)\n", longest, 1000.0 * blockSize / sampleRate);
    }

    host.unload();
    XDestroyWindow (display, window);
    XCloseDisplay (display);
    return 0;
}
