// Horlomat's main window written the plainest way, as a yardstick for its
// start-up: the same classes, styles, texts and 96-DPI pixels, the same menu
// and the same six reads of Horlomat.ini beside the exe; no resources, no
// manifest, no DPI awareness, only direct imports. Enter and Esc are left to
// the dialog manager, and the menu only ends the program.
#include <windows.h>

#include <cstdio>

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButton = kChild | WS_TABSTOP | WS_GROUP;
constexpr DWORD kLabel = kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kField = kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;

HWND Child(HWND parent, int id, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           HFONT font, DWORD exStyle = 0) {
    HWND control = ::CreateWindowExW(exStyle, cls, text, style, x, y, w, h, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND Field(HWND parent, int id, int y, int maxLength, HFONT font) {
    HWND field = Child(parent, id, L"EDIT", L"", kField, 72, y, 33, 19, font, WS_EX_CLIENTEDGE);
    ::SendMessageW(field, EM_LIMITTEXT, maxLength, 0);
    ::SendMessageW(field, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(1, 1));
    return field;
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == 201) ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"HorlomatPlainWindow";
    ::RegisterClassW(&wc);

    HMENU bar = ::CreateMenu();
    HMENU datei = ::CreatePopupMenu();
    HMENU help = ::CreatePopupMenu();
    ::AppendMenuW(datei, MF_STRING, 201, L"&Beenden");
    ::AppendMenuW(help, MF_STRING, 202, L"&Über");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(datei), L"&Datei");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&?");

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, 347, 147};
    ::AdjustWindowRectEx(&frame, style, TRUE, 0);
    HWND window =
        ::CreateWindowExW(0, wc.lpszClassName, L"Horlomat plain window", style, CW_USEDEFAULT, CW_USEDEFAULT,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, bar, instance, nullptr);

    HFONT font = ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY,
                               0, L"MS Shell Dlg 2");
    HWND zeitSetzen = Child(window, 101, L"BUTTON", L"Zeit setzen", kButton | BS_PUSHBUTTON, 160, 84, 125, 25, font);
    Child(window, 102, L"BUTTON", L"Computerzeit", kButton | BS_PUSHBUTTON, 160, 116, 125, 25, font);
    Child(window, 103, L"STATIC", L"", kChild | SS_LEFT | SS_NOPREFIX, 216, 8, 121, 49, font);
    Child(window, 104, L"STATIC", L"gesetzte Zeit", kLabel, 140, 8, 73, 13, font);
    HWND frame1 = Child(window, 105, L"BUTTON", L"Datum/Zeit (UTC)", kChild | BS_GROUPBOX, 4, 4, 117, 137, font);
    ::SetWindowPos(frame1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Field(window, 114, 116, 2, font);
    Field(window, 113, 92, 2, font);
    Field(window, 112, 68, 2, font);
    Field(window, 111, 44, 2, font);
    Field(window, 110, 20, 4, font);
    Child(window, 124, L"STATIC", L"Minute", kLabel, 16, 116, 45, 17, font);
    Child(window, 123, L"STATIC", L"Stunde", kLabel, 16, 92, 45, 17, font);
    Child(window, 122, L"STATIC", L"Tag", kLabel, 16, 68, 45, 17, font);
    Child(window, 121, L"STATIC", L"Monat", kLabel, 16, 44, 45, 17, font);
    Child(window, 120, L"STATIC", L"Jahr", kLabel, 16, 20, 45, 17, font);
    HWND regel = Child(window, 106, L"BUTTON", L"Zeit regelmäßig setzen (60 sec)", kButton | BS_AUTOCHECKBOX, 160, 64,
                       185, 13, font);
    ::SetTimer(window, 1, 60000, nullptr);

    char ini[MAX_PATH + 16];
    DWORD length = ::GetModuleFileNameA(nullptr, ini, MAX_PATH);
    while (length > 0 && ini[length - 1] != '\\') --length;
    ::lstrcpyA(ini + length, "Horlomat.ini");
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const char* keys[5] = {"Jahr", "Monat", "Tag", "Stunde", "Minute"};
    const WORD defaults[5] = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
    char value[255];
    for (int i = 0; i < 5; ++i) {
        char fallback[8];
        std::snprintf(fallback, sizeof(fallback), "%u", defaults[i]);
        ::GetPrivateProfileStringA("Zeit", keys[i], fallback, value, sizeof(value), ini);
        ::SetDlgItemTextA(window, 110 + i, value);
    }
    ::GetPrivateProfileStringA("Zeit", "ZeitHalten", "NEIN", value, sizeof(value), ini);
    ::SendMessageW(regel, BM_SETCHECK, ::lstrcmpA(value, "JA") == 0 ? BST_CHECKED : BST_UNCHECKED, 0);

    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);
    ::SetFocus(zeitSetzen);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageW(window, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
