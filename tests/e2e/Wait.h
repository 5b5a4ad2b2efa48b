#pragma once

#include <windows.h>

#include <chrono>

namespace vantrel::testing {

// How long a test waits for another process or for the window system.
inline constexpr std::chrono::milliseconds kPatience{15000};

// Polls every `interval` until `condition` holds; false when the time runs out first.
template <typename Condition>
bool WaitUntil(Condition&& condition, std::chrono::milliseconds timeout = kPatience,
               std::chrono::milliseconds interval = std::chrono::milliseconds{10}) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        Sleep(static_cast<DWORD>(interval.count()));
    }
}

}  // namespace vantrel::testing
