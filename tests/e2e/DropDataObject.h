#pragma once

#include <ole2.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace vantrel::testing {

// A data object as a file manager hands it over: a file list (CF_HDROP with wide paths).
Microsoft::WRL::ComPtr<IDataObject> MakeDropDataObject(const std::vector<std::wstring>& files);
// A file list that is offered but cannot be read, as from a failing drag source.
Microsoft::WRL::ComPtr<IDataObject> MakeUnreadableFileList();

}  // namespace vantrel::testing
