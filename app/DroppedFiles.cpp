#include "app/DroppedFiles.h"

#include <shellapi.h>

#include "platform/win32/SystemError.h"

namespace vantrel::app {
namespace {

FORMATETC FileListFormat() {
    return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

class UniqueMedium {
  public:
    UniqueMedium() = default;
    ~UniqueMedium() { ReleaseStgMedium(&medium_); }
    UniqueMedium(const UniqueMedium&) = delete;
    UniqueMedium& operator=(const UniqueMedium&) = delete;

    STGMEDIUM* get() { return &medium_; }

  private:
    STGMEDIUM medium_{};
};

}  // namespace

bool DroppedFiles::CarryFileList(IDataObject* data) {
    FORMATETC format = FileListFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

bool DroppedFiles::GetFormat(int format) const {
    return format == CF_HDROP && CarryFileList(data_);
}

std::wstring DroppedFiles::Files(int index) const {
    FORMATETC format = FileListFormat();
    UniqueMedium medium;
    win32::ThrowIfFailed(data_->GetData(&format, medium.get()));
    const auto drop = static_cast<HDROP>(medium.get()->hGlobal);

    const UINT position = static_cast<UINT>(index - 1);
    if (index < 1 || position >= DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0)) {
        win32::ThrowSystemError(ERROR_INVALID_INDEX);
    }
    std::wstring path(DragQueryFileW(drop, position, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, position, path.data(), static_cast<UINT>(path.size())));
    return path;
}

}  // namespace vantrel::app
