#pragma once

// What the floor programs show, for the benchmark that waits for them.
namespace vantrel::bench {

inline constexpr wchar_t kFloorWindowClass[] = L"VantrelBenchFloor";
inline constexpr int kFloorListId = 100;

// The same-job floor's main window; its list box has List1's id.
inline constexpr wchar_t kSameJobFloorWindowClass[] = L"VantrelBenchSameJobFloor";

}  // namespace vantrel::bench
