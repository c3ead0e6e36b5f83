#pragma once

#include <chrono>
#include <thread>

namespace testsupport
{
/** Waits for what another thread makes true, looking every 10 ms; false when the time ran out first. */
template <typename Condition>
bool waitFor (Condition&& condition, int ms = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (ms);

    while (!condition())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }

    return true;
}
} // namespace testsupport
