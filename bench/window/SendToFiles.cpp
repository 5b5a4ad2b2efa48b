#include "bench/window/SendToFiles.h"

namespace vantrel::bench {
namespace {

constexpr wchar_t kSendToBelowAppData[] = L"Microsoft\\Windows\\SendTo";

}  // namespace

SendToFiles::SendToFiles(int count) : count_(count) {
    for (int i = 0; i < count; ++i) {
        appData_.AddFile(std::wstring(kSendToBelowAppData) + L"\\Program " + std::to_wstring(i) +
                         L".lnk");
    }
}

std::wstring SendToFiles::Folder() const {
    return appData_.path() + L"\\" + kSendToBelowAppData;
}

}  // namespace vantrel::bench
