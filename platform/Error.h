#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

namespace vantrel {

// A failure the user is told about. Platform failures carry the system's own
// description (which may be empty) and its error code; the logic's own failures
// a complete text and no code. The words that show a code belong to the logic.
class Error : public std::exception {
  public:
    explicit Error(std::wstring message, std::uint32_t systemCode = 0)
        : message_(std::make_shared<const std::wstring>(std::move(message))),
          systemCode_(systemCode) {}

    const std::wstring& Message() const noexcept { return *message_; }
    std::uint32_t SystemCode() const noexcept { return systemCode_; }
    const char* what() const noexcept override { return "vantrel::Error"; }

  private:
    // Shared, so copying an exception never throws.
    std::shared_ptr<const std::wstring> message_;
    std::uint32_t systemCode_;
};

}  // namespace vantrel
