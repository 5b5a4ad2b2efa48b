#pragma once

#include <string>
#include <vector>

namespace vantrel {

// The window's controls and its reload cycle, as the Send To logic sees them.
class FormControls {
  public:
    virtual ~FormControls() = default;

    virtual std::wstring Text1Text() const = 0;
    virtual void SetText1Text(const std::wstring& text) = 0;
    // Puts the keyboard focus in Text1.
    virtual void Text1SetFocus() = 0;

    // Replaces List1's items, keeping their order; nothing is selected afterwards.
    virtual void List1Fill(const std::vector<std::wstring>& items) = 0;
    // The selected item's index, or -1 when nothing is selected.
    virtual int List1ListIndex() const = 0;
    virtual std::wstring List1Item(int index) const = 0;

    // Destroys and re-creates the window, which loads the folder again.
    virtual void Reload() = 0;
};

}  // namespace vantrel
