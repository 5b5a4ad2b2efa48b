#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/Platform.h"

namespace vantrel::testing {

// One log for every automation object of a test: creations, calls and releases in
// the order they happen. The member (or progid) named `failing` throws when reached
// and is logged with kFailedMark.
struct AutomationLog {
    static constexpr wchar_t kFailure[] = L"自动化调用失败。";

    std::vector<std::wstring> calls;
    std::wstring failing;
    std::function<std::wstring(const std::wstring&)> baseName = [](const std::wstring&) {
        return std::wstring();
    };

    static constexpr wchar_t kFailedMark[] = L"failed: ";

    void Record(const std::wstring& call, const std::wstring& member) {
        if (member != failing) {
            calls.push_back(call);
            return;
        }
        calls.push_back(kFailedMark + call);
        throw Error(kFailure, 0x80020009);
    }

    // Creates objects named after their progid; a shortcut is named "shortcut".
    std::function<std::unique_ptr<AutomationObject>(const std::wstring&)> Factory();
};

class FakeAutomationObject final : public AutomationObject {
  public:
    FakeAutomationObject(AutomationLog& log, std::wstring name)
        : log_(log), name_(std::move(name)) {}
    ~FakeAutomationObject() override { log_.calls.push_back(L"release " + name_); }
    FakeAutomationObject(const FakeAutomationObject&) = delete;
    FakeAutomationObject& operator=(const FakeAutomationObject&) = delete;

    std::wstring CallForText(const std::wstring& member, const std::wstring& argument) override {
        log_.Record(name_ + L"." + member + L"(" + argument + L")", member);
        return log_.baseName(argument);
    }
    std::unique_ptr<AutomationObject> CallForObject(const std::wstring& member,
                                                    const std::wstring& argument) override {
        log_.Record(name_ + L"." + member + L"(" + argument + L")", member);
        return std::make_unique<FakeAutomationObject>(log_, L"shortcut");
    }
    void PutText(const std::wstring& property, const std::wstring& value) override {
        log_.Record(name_ + L"." + property + L"=" + value, property);
    }
    void Call(const std::wstring& member) override {
        log_.Record(name_ + L"." + member + L"()", member);
    }

  private:
    AutomationLog& log_;
    std::wstring name_;
};

inline std::function<std::unique_ptr<AutomationObject>(const std::wstring&)>
AutomationLog::Factory() {
    return [this](const std::wstring& progId) -> std::unique_ptr<AutomationObject> {
        Record(L"create " + progId, progId);
        return std::make_unique<FakeAutomationObject>(*this, progId);
    };
}

}  // namespace vantrel::testing
