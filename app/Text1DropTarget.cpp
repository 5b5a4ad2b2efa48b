#include "app/Text1DropTarget.h"

#include <exception>

namespace vantrel::app {

HRESULT Text1DropTarget::QueryInterface(REFIID id, void** object) {
    if (!object) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Text1DropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG Text1DropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

DWORD Text1DropTarget::Effect(DWORD allowed) const {
    if (!carriesFiles_) return DROPEFFECT_NONE;
    if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    return allowed & DROPEFFECT_LINK;
}

HRESULT Text1DropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    carriesFiles_ = DroppedFiles::CarryFileList(data);
    *effect = Effect(*effect);
    return S_OK;
}

HRESULT Text1DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = Effect(*effect);
    return S_OK;
}

HRESULT Text1DropTarget::DragLeave() {
    carriesFiles_ = false;
    return S_OK;
}

HRESULT Text1DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect || !data) return E_INVALIDARG;
    carriesFiles_ = DroppedFiles::CarryFileList(data);
    *effect = Effect(*effect);
    carriesFiles_ = false;
    try {
        onDrop_(DroppedFiles(data));
    } catch (const std::exception&) {
        return E_OUTOFMEMORY;  // copying the list is all that can fail here
    } catch (...) {
        return E_UNEXPECTED;  // nothing may unwind into OLE's drag loop
    }
    return S_OK;
}

}  // namespace vantrel::app
