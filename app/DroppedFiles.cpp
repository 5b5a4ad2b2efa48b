#include "app/DroppedFiles.h"

#include <shellapi.h>

#include "platform/win32/SystemError.h"
#include "platform/win32/SystemLibrary.h"

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

std::vector<std::wstring> ReadFileList(IDataObject* data) {
    static const win32::SystemLibrary shell32(L"shell32.dll");
    static const auto queryFile = shell32.Get<decltype(DragQueryFileW)>("DragQueryFileW");

    FORMATETC format = FileListFormat();
    UniqueMedium medium;
    win32::ThrowIfFailed(data->GetData(&format, medium.get()));
    const auto drop = static_cast<HDROP>(medium.get()->hGlobal);

    std::vector<std::wstring> paths(queryFile(drop, 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < paths.size(); ++i) {
        std::wstring& path = paths[i];
        path.resize(queryFile(drop, i, nullptr, 0) + 1);
        path.resize(queryFile(drop, i, path.data(), static_cast<UINT>(path.size())));
    }
    return paths;
}

}  // namespace

DroppedFiles::DroppedFiles(IDataObject* data) : fileList_(CarryFileList(data)) {
    if (!fileList_) return;
    try {
        paths_ = ReadFileList(data);
    } catch (const Error& e) {
        failure_ = e;
    }
}

bool DroppedFiles::CarryFileList(IDataObject* data) {
    FORMATETC format = FileListFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

bool DroppedFiles::GetFormat(int format) const {
    return format == CF_HDROP && fileList_;
}

std::wstring DroppedFiles::Files(int index) const {
    if (failure_) throw Error(failure_->Message(), failure_->SystemCode());
    if (index < 1 || static_cast<std::size_t>(index) > paths_.size()) {
        win32::ThrowSystemError(ERROR_INVALID_INDEX);
    }
    return paths_[static_cast<std::size_t>(index) - 1];
}

}  // namespace vantrel::app
