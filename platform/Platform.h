#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantrel {

// A late-bound automation object, called by member name.
class AutomationObject {
  public:
    virtual ~AutomationObject() = default;
    virtual std::wstring CallForText(const std::wstring& member, const std::wstring& argument) = 0;
    virtual std::unique_ptr<AutomationObject> CallForObject(const std::wstring& member,
                                                            const std::wstring& argument) = 0;
    virtual void PutText(const std::wstring& property, const std::wstring& value) = 0;
    virtual void Call(const std::wstring& member) = 0;
};

// How a delete ended that did not fail.
enum class DeleteOutcome : std::uint8_t {
    Deleted,
    KeptByUser,  // the user answered No to the system's own question
};

// Everything the Send To logic asks of the operating system. Every operation
// reports failure by throwing vantrel::Error.
class Platform {
  public:
    virtual ~Platform() = default;

    // The process environment as NAME=value entries, in the environment's own order.
    virtual std::vector<std::wstring> EnvironmentEntries() const = 0;

    // Bare names of the folder's files as the user should see them: no subfolders,
    // no hidden or system files, in display order.
    virtual std::vector<std::wstring> ListFiles(const std::wstring& folder) const = 0;

    // True when the path names an existing file or folder as Explorer, which follows a
    // shortcut, sees it: a 32-bit process on 64-bit Windows looks past its own redirection.
    virtual bool Exists(const std::wstring& path) const = 0;

    // Moves one file (never a folder) to the Recycle Bin where its volume has one.
    // Where it has none, the system asks the user first, who may keep the file.
    virtual DeleteOutcome RecycleFile(const std::wstring& path) = 0;

    // A modal box with an OK button only, no icon, captioned with the application title.
    virtual void ShowMessage(const std::wstring& text) = 0;

    // Starts the system's file manager, minimized with focus, with one argument.
    virtual void StartExplorer(const std::wstring& argument) = 0;

    // Creates an automation object from its programmatic identifier.
    virtual std::unique_ptr<AutomationObject> CreateObject(const std::wstring& progId) = 0;
};

}  // namespace vantrel
