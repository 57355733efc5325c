// The main window as the user meets it: frame, controls, keyboard, menus.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(MainWindow, HasTheDesignedFrameAndEveryControlInPlace) {
    Sandbox sandbox;
    App app(sandbox);
    EXPECT_EQ(WindowText(app.Main()), kMainTitle);
    const LONG style = ::GetWindowLongW(app.Main(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    RECT client{};
    ::GetClientRect(app.Main(), &client);
    EXPECT_EQ(client.right, 347);
    EXPECT_EQ(client.bottom, 147);

    const struct {
        int id;
        const wchar_t* className;
        const wchar_t* text;  // nullptr: a field, filled from the clock
        RECT pixels;          // in the client area, at 96 DPI
        int limit;            // fields only
    } controls[] = {
        {id::kZeitSetzen, L"Button", L"Zeit setzen", {160, 84, 285, 109}, 0},
        {id::kZeitDialog, L"Button", L"Computerzeit", {160, 116, 285, 141}, 0},
        {id::kGesetzteZeit, L"Static", L"", {216, 8, 337, 57}, 0},
        {id::kLabel1, L"Static", L"gesetzte Zeit", {140, 8, 213, 21}, 0},
        {id::kFrame1, L"Button", L"Datum/Zeit (UTC)", {4, 4, 121, 141}, 0},
        {id::kRegel, L"Button", L"Zeit regelmäßig setzen (60 sec)", {160, 64, 345, 77}, 0},
        {id::kLblZeit + 0, L"Static", L"Jahr", {16, 20, 61, 37}, 0},
        {id::kLblZeit + 1, L"Static", L"Monat", {16, 44, 61, 61}, 0},
        {id::kLblZeit + 2, L"Static", L"Tag", {16, 68, 61, 85}, 0},
        {id::kLblZeit + 3, L"Static", L"Stunde", {16, 92, 61, 109}, 0},
        {id::kLblZeit + 4, L"Static", L"Minute", {16, 116, 61, 133}, 0},
        {id::kTxtZeit + 0, L"Edit", nullptr, {72, 20, 105, 39}, 4},
        {id::kTxtZeit + 1, L"Edit", nullptr, {72, 44, 105, 63}, 2},
        {id::kTxtZeit + 2, L"Edit", nullptr, {72, 68, 105, 87}, 2},
        {id::kTxtZeit + 3, L"Edit", nullptr, {72, 92, 105, 111}, 2},
        {id::kTxtZeit + 4, L"Edit", nullptr, {72, 116, 105, 135}, 2},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        HWND control = app.Item(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassName(control), c.className);
        if (c.text) {
            EXPECT_EQ(WindowText(control), c.text);
        }
        const RECT r = ClientRectIn(app.Main(), control);
        EXPECT_TRUE(EqualRect(&r, &c.pixels)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        if (c.limit) {
            // Typing stops at the limit.
            app.SetText(c.id, L"");
            for (wchar_t ch : std::wstring(L"123456")) ::SendMessageW(control, WM_CHAR, ch, 1);
            EXPECT_EQ(WindowText(control), std::wstring(L"123456").substr(0, static_cast<size_t>(c.limit)));
        }
    }
    EXPECT_EQ(::GetWindowLongW(app.Item(id::kRegel), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
}

TEST(MainWindow, TabOrderStartsOnZeitSetzenAndEnterAndEscPressNothing) {
    Sandbox sandbox;
    App app(sandbox);
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(id::kZeitSetzen); }, 5000));
    const int order[] = {id::kZeitDialog,  id::kTxtZeit + 4, id::kTxtZeit + 3, id::kTxtZeit + 2,
                         id::kTxtZeit + 1, id::kTxtZeit + 0, id::kRegel,       id::kZeitSetzen};
    for (int next : order) {
        ::PostMessageW(app.Focus(), WM_KEYDOWN, VK_TAB, 1);
        EXPECT_TRUE(WaitFor([&] { return app.Focus() == app.Item(next); }, 3000)) << "to " << next;
    }
    app.SetText(id::kGesetzteZeit, L"unberührt");
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        ::PostMessageW(app.Focus(), WM_KEYDOWN, key, 1);
        ::PostMessageW(app.Focus(), WM_CHAR, key, 1);
    }
    ::Sleep(1000);
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(app.Text(id::kGesetzteZeit), L"unberührt");
    EXPECT_FALSE(sandbox.ReadIni().has_value());
}

TEST(MainWindow, BeendenAndTheCloseButtonEndAtOnceAndSaveNothing) {
    for (bool byMenu : {true, false}) {
        Sandbox sandbox;
        App app(sandbox);
        app.SetText(id::kTxtZeit + 0, L"1999");
        app.SetHold(true);
        if (byMenu) {
            app.Menu(L'd', L'b');
        } else {
            ::PostMessageW(app.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        EXPECT_TRUE(app.WaitForExit(10000)) << (byMenu ? "Beenden" : "close button");
        EXPECT_FALSE(sandbox.ReadIni().has_value());
    }
}

}  // namespace
}  // namespace ui
