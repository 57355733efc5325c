#include "platform/dialog_font.h"

namespace platform {

UniqueFont CreateDialogFont(int dpi) {
    constexpr int kPoints = 8;
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(kPoints, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(lf.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

}  // namespace platform
