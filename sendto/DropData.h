#pragma once

#include <string>

namespace vantrel {

// The data of one drop, as the drop handler needs it.
class DropData {
  public:
    static constexpr int kFileListFormat = 15;  // CF_HDROP

    virtual ~DropData() = default;
    virtual bool GetFormat(int format) const = 0;
    // The dropped paths, counted from 1.
    virtual std::wstring Files(int index) const = 0;
};

}  // namespace vantrel
