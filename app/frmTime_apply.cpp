// "Zeit setzen" and the once-a-minute re-apply.
#include "app/apply.h"
#include "app/control_ids.h"
#include "app/frmTime.h"
#include "app/texts.h"
#include "platform/clock.h"
#include "platform/error_report.h"

namespace {

// Clears the flag however the apply ends.
class ApplyScope {
public:
    explicit ApplyScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~ApplyScope() { flag_ = false; }
    ApplyScope(const ApplyScope&) = delete;
    ApplyScope& operator=(const ApplyScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

void FrmTime::cmdZeitSetzen_Click() {
    // The failure box runs a message loop of its own, in which ticks keep
    // coming; an apply started from there is dropped, not nested.
    if (applying_) return;
    const ApplyScope scope(applying_);

    apply::FieldTexts fields;
    for (int i = 0; i < 5; ++i) fields[static_cast<size_t>(i)] = FieldText(i);

    if (const auto failure = apply::ConvertFields(fields, NewTime)) {
        // While the About dialog is open the box belongs to it, so closing
        // the box leaves the main window disabled as the dialog wants it.
        platform::ReportFailure(::GetLastActivePopup(hwnd_), apply::FailureText(*failure));
        return;
    }

    const apply::Readings readings = apply::ReadDateAndTime(fields);
    HWND label = Control(ids::kGesetzteZeit);
    if (!platform::SetSystemClock(NewTime)) {
        ::SetWindowTextW(label, texts::kNotSet);
        return;
    }
    ::SetWindowTextW(label, apply::ConfirmationText(readings, NewTime).c_str());
    apply::StoreSettings(fields, IsHoldChecked());
}

void FrmTime::Timer1_Timer() {
    // Presses "Zeit setzen" the way the button reports a click, so the apply
    // runs inside this tick; unlike BM_CLICK this leaves the focus where the
    // user is typing and works while a modal dialog has the activation.
    if (IsHoldChecked()) {
        ::SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(ids::kZeitSetzen, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Control(ids::kZeitSetzen)));
    }
}
