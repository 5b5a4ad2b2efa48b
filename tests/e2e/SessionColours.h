#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace vantrel::testing {

// Why a test that sets system colours skips outside Wine.
inline constexpr char kSetsSystemColours[] =
    "sets system colours: only in the tests' own Wine session, never a user's";

// System colours changed for the session the test runs in, and put back after.
class SessionColours {
  public:
    explicit SessionColours(const std::vector<std::pair<int, COLORREF>>& colours) {
        std::vector<COLORREF> wanted;
        for (const auto& [element, colour] : colours) {
            elements_.push_back(element);
            wanted.push_back(colour);
            previous_.push_back(GetSysColor(element));
        }
        changed_ = SetSysColors(Count(), elements_.data(), wanted.data()) != FALSE;
    }
    ~SessionColours() {
        if (changed_) SetSysColors(Count(), elements_.data(), previous_.data());
    }
    SessionColours(const SessionColours&) = delete;
    SessionColours& operator=(const SessionColours&) = delete;

    bool Changed() const { return changed_; }

  private:
    int Count() const { return static_cast<int>(elements_.size()); }

    std::vector<int> elements_;
    std::vector<COLORREF> previous_;
    bool changed_ = false;
};

}  // namespace vantrel::testing
