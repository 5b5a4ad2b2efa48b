#pragma once

#include <string>
#include <vector>

namespace vantrel::testing {

// The environment a started program receives, as NAME=value entries.
class ChildEnvironment {
  public:
    // A copy of this process's environment.
    static ChildEnvironment Current();

    // Sets `name` to `value`, replacing any entry of that name.
    ChildEnvironment& Set(const std::wstring& name, const std::wstring& value);

    // The block CreateProcessW takes with CREATE_UNICODE_ENVIRONMENT: entries
    // sorted by name without case, each ended by a null, then one more null.
    std::wstring Block() const;

  private:
    std::vector<std::wstring> entries_;
};

}  // namespace vantrel::testing
