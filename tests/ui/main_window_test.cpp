// The main window as the user meets it: frame, controls, keyboard, menus.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

#include <vector>

namespace ui {
namespace {

struct Expected {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    RECT pixels;  // in the client area, at 96 DPI
};

TEST(MainWindow, HasTheDesignedFrameTitleAndClientSize) {
    Sandbox sandbox;
    App app(sandbox);

    EXPECT_EQ(WindowText(app.Main()), kMainTitle);
    const LONG style = ::GetWindowLongW(app.Main(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the user must not resize the window";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_NE(::GetMenu(app.Main()), nullptr);

    RECT client{};
    ::GetClientRect(app.Main(), &client);
    EXPECT_EQ(client.right, 347);
    EXPECT_EQ(client.bottom, 147);

}

TEST(MainWindow, PlacesEveryControlAsDesigned) {
    Sandbox sandbox;
    App app(sandbox);

    const Expected controls[] = {
        {ids::kZeitSetzen, L"Button", L"Zeit setzen", {160, 84, 285, 109}},
        {ids::kZeitDialog, L"Button", L"Computerzeit", {160, 116, 285, 141}},
        {ids::kGesetzteZeit, L"Static", L"", {216, 8, 337, 57}},
        {ids::kLabel1, L"Static", L"gesetzte Zeit", {140, 8, 213, 21}},
        {ids::kFrame1, L"Button", L"Datum/Zeit (UTC)", {4, 4, 121, 141}},
        {ids::kRegel, L"Button", L"Zeit regelmäßig setzen (60 sec)", {160, 64, 345, 77}},
        {ids::kLblZeit + 0, L"Static", L"Jahr", {16, 20, 61, 37}},
        {ids::kLblZeit + 1, L"Static", L"Monat", {16, 44, 61, 61}},
        {ids::kLblZeit + 2, L"Static", L"Tag", {16, 68, 61, 85}},
        {ids::kLblZeit + 3, L"Static", L"Stunde", {16, 92, 61, 109}},
        {ids::kLblZeit + 4, L"Static", L"Minute", {16, 116, 61, 133}},
        {ids::kTxtZeit + 0, L"Edit", nullptr, {72, 20, 105, 39}},
        {ids::kTxtZeit + 1, L"Edit", nullptr, {72, 44, 105, 63}},
        {ids::kTxtZeit + 2, L"Edit", nullptr, {72, 68, 105, 87}},
        {ids::kTxtZeit + 3, L"Edit", nullptr, {72, 92, 105, 111}},
        {ids::kTxtZeit + 4, L"Edit", nullptr, {72, 116, 105, 135}},
    };
    for (const Expected& e : controls) {
        SCOPED_TRACE(testing::Message() << "control " << e.id);
        HWND control = app.Item(e.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassName(control), e.className);
        if (e.text) {
            EXPECT_EQ(WindowText(control), e.text);
        }
        const RECT r = ClientRectIn(app.Main(), control);
        EXPECT_EQ(r.left, e.pixels.left);
        EXPECT_EQ(r.top, e.pixels.top);
        EXPECT_EQ(r.right, e.pixels.right);
        EXPECT_EQ(r.bottom, e.pixels.bottom);
        EXPECT_TRUE(::IsWindowVisible(control));
        EXPECT_TRUE(::IsWindowEnabled(control));
        EXPECT_EQ(WindowText(control).find(L'&'), std::wstring::npos) << "no access keys on controls";
    }
    const LONG checkStyle = ::GetWindowLongW(app.Item(ids::kRegel), GWL_STYLE) & BS_TYPEMASK;
    EXPECT_EQ(checkStyle, BS_AUTOCHECKBOX);
    EXPECT_EQ(::GetWindowLongW(app.Item(ids::kFrame1), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
}

TEST(MainWindow, FieldsRefuseTextBeyondTheirLimit) {
    Sandbox sandbox;
    App app(sandbox);

    const int limits[] = {4, 2, 2, 2, 2};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(testing::Message() << "field " << i);
        HWND field = app.Item(ids::kTxtZeit + i);
        EXPECT_EQ(::SendMessageW(field, EM_GETLIMITTEXT, 0, 0), limits[i]);
        app.SetText(ids::kTxtZeit + i, L"");
        for (wchar_t c : std::wstring(L"123456")) ::SendMessageW(field, WM_CHAR, c, 1);
        EXPECT_EQ(app.Field(i), std::wstring(L"123456").substr(0, static_cast<size_t>(limits[i])));
    }
    // Any character is accepted within the limit.
    ::SendMessageW(app.Item(ids::kTxtZeit + 1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    for (wchar_t c : std::wstring(L"x-")) ::SendMessageW(app.Item(ids::kTxtZeit + 1), WM_CHAR, c, 1);
    EXPECT_EQ(app.Field(1), L"x-");
}

TEST(MainWindow, TabVisitsButtonsThenFieldsBottomUpThenCheckBox) {
    Sandbox sandbox;
    App app(sandbox);

    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(ids::kZeitSetzen); }, 5000))
        << "the focus starts on Zeit setzen";

    const int order[] = {ids::kZeitSetzen,  ids::kZeitDialog,  ids::kTxtZeit + 4, ids::kTxtZeit + 3,
                         ids::kTxtZeit + 2, ids::kTxtZeit + 1, ids::kTxtZeit + 0, ids::kRegel,
                         ids::kZeitSetzen};
    HWND current = app.Item(order[0]);
    for (size_t i = 1; i < std::size(order); ++i) {
        current = ::GetNextDlgTabItem(app.Main(), current, FALSE);
        EXPECT_EQ(::GetDlgCtrlID(current), order[i]) << "step " << i;
    }
    // And the real Tab key, as typed.
    for (size_t i = 1; i < std::size(order); ++i) {
        ::PostMessageW(app.Focus(), WM_KEYDOWN, VK_TAB, 1);
        EXPECT_TRUE(WaitFor([&] { return app.Focus() == app.Item(order[i]); }, 3000)) << "Tab " << i;
    }
}

TEST(MainWindow, EnterAndEscapePressNothing) {
    Sandbox sandbox;
    App app(sandbox);
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(ids::kZeitSetzen); }, 5000));
    app.SetText(ids::kGesetzteZeit, L"unberührt");

    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        ::PostMessageW(app.Focus(), WM_KEYDOWN, key, 1);
        ::PostMessageW(app.Focus(), WM_CHAR, key, 1);
        ::PostMessageW(app.Focus(), WM_KEYUP, key, 0xC0000001);
    }
    ::Sleep(1000);
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(app.Text(ids::kGesetzteZeit), L"unberührt");
    EXPECT_FALSE(sandbox.ReadIni().has_value());
}

TEST(MainWindow, BeendenFromTheMenuEndsAtOnceAndSavesNothing) {
    Sandbox sandbox;
    App app(sandbox);
    app.SetText(ids::kTxtZeit + 0, L"1999");
    app.SetHold(true);

    app.Menu(L'd', L'b');
    EXPECT_TRUE(app.WaitForExit(10000));
    EXPECT_FALSE(sandbox.ReadIni().has_value());
}

TEST(MainWindow, CloseButtonEndsAndSavesNothing) {
    Sandbox sandbox;
    App app(sandbox);
    app.SetText(ids::kTxtZeit + 0, L"1999");

    ::PostMessageW(app.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(app.WaitForExit(10000));
    EXPECT_FALSE(sandbox.ReadIni().has_value());
}

}  // namespace
}  // namespace ui
