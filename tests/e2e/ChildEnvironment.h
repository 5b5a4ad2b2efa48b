#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vantrel::testing {

// The environment a started program receives, as NAME=value entries.
class ChildEnvironment {
  public:
    // A copy of this process's environment.
    static ChildEnvironment Current();

    // Sets `name` to `value`, replacing any entry of that name; nullopt removes it.
    ChildEnvironment& Set(const std::wstring& name, std::optional<std::wstring> value);

    // Appends "NAME=value" as given, replacing nothing: fast for many new names.
    ChildEnvironment& Append(std::wstring entry);
    // Moves the entry named `name` to the front.
    ChildEnvironment& MoveToFront(const std::wstring& name);
    // The block keeps the entries in their order here instead of sorting them:
    // Set appends, so the last entry set comes last.
    ChildEnvironment& KeepOrder();

    // The block CreateProcessW takes with CREATE_UNICODE_ENVIRONMENT: entries
    // sorted by name without case (unless kept in order), each ended by a null,
    // then one more null.
    std::wstring Block() const;

  private:
    std::vector<std::wstring> entries_;
    bool keepOrder_ = false;
};

}  // namespace vantrel::testing
