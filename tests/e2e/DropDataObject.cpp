#include "tests/e2e/DropDataObject.h"

#include <shlobj.h>

#include <cstring>

#include "tests/e2e/ComObject.h"

namespace vantrel::testing {
namespace {

// A fresh global block holding `bytes`, as GetData hands out: the caller frees it.
HGLOBAL GlobalCopy(const void* bytes, std::size_t size) {
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return nullptr;
    void* const place = GlobalLock(block);
    if (!place) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(place, bytes, size);
    GlobalUnlock(block);
    return block;
}

// DROPFILES followed by the paths, each ended by a null, then one more null.
std::string FileListBytes(const std::vector<std::wstring>& files) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::wstring paths;
    for (const auto& file : files) paths += file + L'\0';
    paths += L'\0';
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(paths.data()), paths.size() * sizeof(wchar_t));
    return bytes;
}

class DropDataObject final : public ComObject<IDataObject> {
  public:
    DropDataObject() : ComObject(IID_IDataObject) {}

    void Offer(CLIPFORMAT format, std::string bytes) {
        formats_.push_back({format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        contents_.push_back(std::move(bytes));
    }

    void FailReads() { failReads_ = true; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        if (failReads_) return E_UNEXPECTED;
        const int found = Find(*format);
        if (found < 0) return DV_E_FORMATETC;
        const std::string& bytes = contents_[static_cast<std::size_t>(found)];
        const HGLOBAL block = GlobalCopy(bytes.data(), bytes.size());
        if (!block) return E_OUTOFMEMORY;
        *medium = {};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format) return E_INVALIDARG;
        return Find(*format) < 0 ? DV_E_FORMATETC : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
        if (!formats) return E_INVALIDARG;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats_.size()), formats_.data(), formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

  private:
    int Find(const FORMATETC& format) const {
        for (std::size_t i = 0; i < formats_.size(); ++i) {
            if (formats_[i].cfFormat == format.cfFormat && (format.tymed & TYMED_HGLOBAL) &&
                format.dwAspect == DVASPECT_CONTENT) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    std::vector<FORMATETC> formats_;
    std::vector<std::string> contents_;
    bool failReads_ = false;
};

}  // namespace

Microsoft::WRL::ComPtr<IDataObject> MakeDropDataObject(const std::vector<std::wstring>& files) {
    Microsoft::WRL::ComPtr<IDataObject> object;
    auto* const data = new DropDataObject;
    object.Attach(data);
    data->Offer(CF_HDROP, FileListBytes(files));
    return object;
}

Microsoft::WRL::ComPtr<IDataObject> MakeUnreadableFileList() {
    Microsoft::WRL::ComPtr<IDataObject> object;
    auto* const data = new DropDataObject;
    object.Attach(data);
    data->Offer(CF_HDROP, FileListBytes({L"C:\\unread.exe"}));
    data->FailReads();
    return object;
}

}  // namespace vantrel::testing
