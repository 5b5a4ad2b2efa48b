#pragma once

// What the floor program shows, for the benchmark that waits for it.
namespace vantrel::bench {

inline constexpr wchar_t kFloorWindowClass[] = L"VantrelBenchFloor";
inline constexpr int kFloorListId = 100;

}  // namespace vantrel::bench
