#pragma once

#include <ole2.h>

#include "sendto/DropData.h"

namespace vantrel::app {

// The drop handler's view of an OLE data object.
class DroppedFiles final : public DropData {
  public:
    explicit DroppedFiles(IDataObject* data) : data_(data) {}

    bool GetFormat(int format) const override;
    std::wstring Files(int index) const override;

    // Whether `data` carries a file list (CF_HDROP).
    static bool CarryFileList(IDataObject* data);

  private:
    IDataObject* data_;
};

}  // namespace vantrel::app
