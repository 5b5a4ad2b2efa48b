#include "tests/e2e/FormActions.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "app/Layout.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::testing {
namespace {

HWND ControlOf(HWND form, int id) {
    const HWND control = GetDlgItem(form, id);
    if (!control) throw std::runtime_error("no control " + std::to_string(id));
    return control;
}

}  // namespace

void SetText1(HWND form, const std::wstring& text) {
    if (!Ask(ControlOf(form, app::kText1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
        throw std::runtime_error("Text1 refused the text");
    }
}

void SelectListItem(HWND form, int index) {
    const LRESULT selected =
        Ask(ControlOf(form, app::kList1), LB_SETCURSEL, static_cast<WPARAM>(index));
    if (index >= 0 && selected != index) throw std::runtime_error("List1 did not select the item");
}

void PostClick(HWND form, int buttonId) {
    if (!PostMessageW(ControlOf(form, buttonId), BM_CLICK, 0, 0)) {
        throw std::runtime_error("BM_CLICK could not be posted");
    }
}

std::wstring TakeMessage(VantrelProcess& process) {
    const HWND box = process.WaitForMessageBox();
    if (!box) return {};
    std::wstring text = MessageBoxText(box);
    DismissMessageBox(box);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
}

std::wstring Add(VantrelProcess& process, const std::wstring& text) {
    const HWND form = process.FindMainWindow();
    SetText1(form, text);
    PostClick(form, app::kCommand1);
    return TakeMessage(process);
}

std::wstring Delete(VantrelProcess& process, int index) {
    const HWND form = process.FindMainWindow();
    SelectListItem(form, index);
    PostClick(form, app::kCommand2);
    return TakeMessage(process);
}

HWND AnswerShellOnAFileInUse(VantrelProcess& process, ShellAnswer answer) {
    const HWND shell = process.WaitForShellQuestion();
    if (!shell) throw std::runtime_error("the shell said nothing about the file in use");
    const HWND owner = GetWindow(shell, GW_OWNER);
    if (answer == ShellAnswer::kDeleteForGood) {
        PostMessageW(shell, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    } else {
        PostMessageW(shell, WM_CLOSE, 0, 0);  // the dialog's Cancel
    }
    WaitUntil([&] { return !IsWindow(shell); });
    return owner;
}

bool NoMessageFollows(VantrelProcess& process) {
    // Vantrel's box comes within milliseconds of the shell's answer: 3 s allow for a busy machine.
    return process.WaitForMessageBox(std::chrono::seconds{3}) == nullptr;
}

int EntryIndex(HWND form, const std::wstring& name) {
    const auto items = ListItems(ControlOf(form, app::kList1));
    const auto found = std::ranges::find(items, name);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

HWND WaitForNewMainWindow(VantrelProcess& process, HWND before) {
    HWND found = nullptr;
    WaitUntil([&] {
        found = process.FindMainWindow();
        return found && found != before && IsWindowVisible(found);
    });
    return found != before ? found : nullptr;
}

}  // namespace vantrel::testing
