#pragma once

#include <ole2.h>

#include <optional>
#include <vector>

#include "platform/Error.h"
#include "sendto/DropData.h"

namespace vantrel::app {

// The file list of one drop, copied out of the OLE data object while the drop
// lasts, so that the drop handler can run once the drag source has let go. A
// failure to read the list is kept and raised when the handler asks for a file.
class DroppedFiles final : public DropData {
  public:
    explicit DroppedFiles(IDataObject* data);

    bool GetFormat(int format) const override;
    std::wstring Files(int index) const override;

    // Whether `data` carries a file list (CF_HDROP).
    static bool CarryFileList(IDataObject* data);

  private:
    bool fileList_;
    std::vector<std::wstring> paths_;
    std::optional<Error> failure_;
};

}  // namespace vantrel::app
