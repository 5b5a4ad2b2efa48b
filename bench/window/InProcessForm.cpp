#include "bench/window/InProcessForm.h"

#include <stdexcept>

#include "bench/window/Samples.h"
#include "platform/win32/SystemError.h"
#include "sendto/Texts.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::bench {
namespace {

// Lets the windows handle what the last step posted, outside the timed part.
void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

InProcessForm::InProcessForm(const SendToFiles& files)
    : platform_(texts::kTitle), folder_(files.Folder()), count_(files.Count()) {
    win32::ThrowIfFailed(com_.Result());
    if (!SetEnvironmentVariableW(L"APPDATA", files.AppData().c_str())) win32::ThrowLastError();
    form_ = std::make_unique<app::Form1>(GetModuleHandleW(nullptr), platform_);
    form_->Load();
    form_->Show(SW_SHOWNORMAL);
    PumpMessages();
    RequireFilled();
}

double InProcessForm::TimeListing() {
    std::size_t listed = 0;
    const double milliseconds =
        MillisecondsOf([this, &listed] { listed = platform_.ListFiles(folder_).size(); });
    if (listed != static_cast<std::size_t>(count_)) throw std::runtime_error("files went missing");
    return milliseconds;
}

double InProcessForm::TimeListFill() {
    const double milliseconds =
        MillisecondsOf([this] { form_->List1Fill(platform_.ListFiles(folder_)); });
    PumpMessages();
    RequireFilled();
    return milliseconds;
}

double InProcessForm::TimeReload() {
    const double milliseconds = MillisecondsOf([this] { form_->Reload(); });
    PumpMessages();
    RequireFilled();
    return milliseconds;
}

void InProcessForm::RequireFilled() const {
    if (testing::ListCount(GetDlgItem(form_->Window(), app::kList1)) != count_) {
        throw std::runtime_error("List1 does not hold every file");
    }
}

}  // namespace vantrel::bench
