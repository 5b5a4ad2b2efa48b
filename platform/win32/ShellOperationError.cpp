#include "platform/win32/ShellOperationError.h"

#include <algorithm>
#include <iterator>

namespace vantrel::win32 {
namespace {

struct Translation {
    int shellCode;
    DWORD systemCode;
};

// The codes SHFileOperationW documents for a delete; the rest are Win32 codes already.
constexpr Translation kTranslations[] = {
    {0x74, ERROR_ACCESS_DENIED},         // DE_ROOTDIR
    {0x75, ERROR_CANCELLED},             // DE_OPCANCELLED
    {0x78, ERROR_ACCESS_DENIED},         // DE_ACCESSDENIEDSRC
    {0x79, ERROR_FILENAME_EXCED_RANGE},  // DE_PATHTOODEEP
    {0x7C, ERROR_FILE_NOT_FOUND},        // DE_INVALIDFILES
    {0x81, ERROR_FILENAME_EXCED_RANGE},  // DE_FILENAMETOOLONG
    {0x86, ERROR_WRITE_PROTECT},         // DE_SRC_IS_CDROM
    {0x87, ERROR_WRITE_PROTECT},         // DE_SRC_IS_DVD
    {0xB7, ERROR_FILENAME_EXCED_RANGE},  // DE_ERROR_MAX
    {0x402, ERROR_GEN_FAILURE},          // an unknown error
    {0x10000, ERROR_GEN_FAILURE},        // ERRORONDEST
};

}  // namespace

DWORD ShellOperationError(int result) {
    const auto found =
        std::find_if(std::begin(kTranslations), std::end(kTranslations),
                     [result](const Translation& t) { return t.shellCode == result; });
    return found != std::end(kTranslations) ? found->systemCode : static_cast<DWORD>(result);
}

}  // namespace vantrel::win32
