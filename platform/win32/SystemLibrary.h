#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace vantrel::win32 {

// A system DLL that only some clicks need, loaded by the first of them rather than
// at start: from the System32 folder only, and kept until the program ends.
class SystemLibrary {
  public:
    // Throws when the DLL cannot be loaded.
    explicit SystemLibrary(const wchar_t* name);

    // The DLL's function `name`, declared as `Function`; throws when it is missing.
    template <typename Function>
    Function* Get(const char* name) const {
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(Procedure(name)));
    }

  private:
    struct Freer {
        void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
    };

    FARPROC Procedure(const char* name) const;

    std::unique_ptr<std::remove_pointer_t<HMODULE>, Freer> module_;
};

}  // namespace vantrel::win32
