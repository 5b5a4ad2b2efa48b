#include "bench/window/BareListFill.h"

#include <stdexcept>

#include "bench/window/Samples.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::bench {

BareListFill::BareListFill() {
    window_.reset(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 822, 475, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    if (!window_) win32::ThrowLastError();
    list_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 24,
                        112, 769, 272, window_.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!list_) win32::ThrowLastError();
}

double BareListFill::Time(const std::wstring& folder, int expected) {
    const double milliseconds = MillisecondsOf([&] {
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
        WIN32_FIND_DATAW found;
        const HANDLE first =
            FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (first == INVALID_HANDLE_VALUE) win32::ThrowLastError();
        const win32::UniqueFindHandle search(first);
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
            }
        } while (FindNextFileW(search.get(), &found));
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    });
    if (testing::ListCount(list_) != expected) {
        throw std::runtime_error("the bare list box does not hold every file");
    }
    return milliseconds;
}

}  // namespace vantrel::bench
