#pragma once

#include <ole2.h>

#include <functional>

#include "app/DroppedFiles.h"

namespace vantrel::app {

// Text1's OLE drop target: file lists are welcome (copy, else link), anything
// else shows the no-drop cursor. A drop hands a copy of the file list to
// `onDrop`, which must return without waiting on the user: the drag source
// waits in its drag loop until the drop returns.
class Text1DropTarget final : public IDropTarget {
  public:
    explicit Text1DropTarget(std::function<void(DroppedFiles)> onDrop)
        : onDrop_(std::move(onDrop)) {}
    virtual ~Text1DropTarget() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override;

  private:
    DWORD Effect(DWORD allowed) const;

    LONG references_ = 1;
    bool carriesFiles_ = false;
    std::function<void(DroppedFiles)> onDrop_;
};

}  // namespace vantrel::app
