#pragma once

#include <windows.h>

namespace vantrel::win32 {

// A system DLL that only some clicks need, loaded by the first of them rather than
// at start: from the System32 folder only. Never freed: the shell's worker threads
// may still run its code while the program ends, after OLE has been uninitialized.
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
    FARPROC Procedure(const char* name) const;

    HMODULE module_;
};

// The function `name` of `module`, a DLL every process has loaded (kernel32, user32, ntdll),
// as a `FunctionPointer`; null where this Windows lacks it.
template <typename FunctionPointer>
FunctionPointer LoadedFunction(const wchar_t* module, const char* name) {
    return reinterpret_cast<FunctionPointer>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

// From here on DLLs load from System32 only, never from the folder the exe was
// downloaded to nor the current one. Where the system lacks the search flags (Windows 7
// without KB2533623), the current folder alone is taken out.
void RestrictDllSearch();

}  // namespace vantrel::win32
