#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sendto/FormControls.h"

namespace vantrel::testing {

// The window's controls as plain values; Reload counts and runs a hook.
class FakeFormControls final : public FormControls {
  public:
    std::wstring text1;
    std::vector<std::wstring> list1;
    int listIndex = -1;
    int text1Focused = 0;
    int reloads = 0;
    std::function<void()> onReload;

    std::wstring Text1Text() const override { return text1; }
    void SetText1Text(const std::wstring& text) override { text1 = text; }
    void Text1SetFocus() override { ++text1Focused; }

    void List1Fill(const std::vector<std::wstring>& items) override {
        list1 = items;
        listIndex = -1;
    }
    int List1ListIndex() const override { return listIndex; }
    std::wstring List1Item(int index) const override {
        return index >= 0 && index < static_cast<int>(list1.size())
                   ? list1[static_cast<std::size_t>(index)]
                   : std::wstring();
    }

    void Reload() override {
        ++reloads;
        if (onReload) onReload();
    }
};

}  // namespace vantrel::testing
