// The load step: fills the fields and the check box from the settings file,
// with the current local date and time where the file holds nothing.
#include "app/control_ids.h"
#include "app/frmTime.h"
#include "app/texts.h"
#include "platform/app_info.h"
#include "platform/clock.h"
#include "settings/global.h"

namespace {

WORD DatePart(const SYSTEMTIME& t, int index) {
    switch (index) {
        case 0: return t.wYear;
        case 1: return t.wMonth;
        case 2: return t.wDay;
        case 3: return t.wHour;
        default: return t.wMinute;
    }
}

}  // namespace

void FrmTime::Form_Load() {
    global::IniFilePath = global::IniPathIn(platform::AppDirectory());

    for (int i = 0; i < 5; ++i) {
        // Each default takes its own reading of the clock.
        const std::wstring now = std::to_wstring(DatePart(platform::LocalNow(), i));
        SetFieldText(i, global::ReadIniString(texts::kSection, texts::kFieldKeys[i], now));
    }

    const bool hold = global::ReadIniString(texts::kSection, texts::kKeyHold, texts::kNo) == texts::kYes;
    ::SendMessageW(Control(ids::kRegel), BM_SETCHECK, hold ? BST_CHECKED : BST_UNCHECKED, 0);
}
