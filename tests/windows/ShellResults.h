#pragma once

#include <windows.h>

#include <shlobj.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace vantrel::testing {

// A failed shell or COM call ends the test's step with what failed and its code.
inline void Check(HRESULT result, const char* what) {
    if (FAILED(result)) {
        throw std::runtime_error(std::string(what) +
                                 " failed: " + std::to_string(static_cast<unsigned long>(result)));
    }
}

struct ItemListFreer {
    void operator()(ITEMIDLIST* list) const noexcept { CoTaskMemFree(list); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFreer>;

}  // namespace vantrel::testing
