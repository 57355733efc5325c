// The About dialog as the user meets it: opening, frame, controls, logo and
// rule, keyboard, and the main window left as it was.
#include "about/about_ids.h"
#include "tests/ui/about_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <optional>

namespace ui {
namespace {

namespace about_id = ::about::ids;

using Corners = std::array<LONG, 4>;  // left, top, right, bottom

Corners CornersIn(HWND dialog, HWND control) {
    const RECT r = ClientRectIn(dialog, control);
    return {r.left, r.top, r.right, r.bottom};
}

struct Expected {
    int id;
    const wchar_t* className;
    const wchar_t* text;  // nullptr: checked elsewhere
    Corners pixels;       // in the dialog's client area, at 96 DPI
};

const Expected kControls[] = {
    {about_id::kOK, L"Button", L"OK", {284, 191, 368, 214}},
    {about_id::kPicIcon, L"Static", L"", {8, 16, 118, 150}},
    {about_id::kSysInfo, L"Button", L"&Systeminfo...", {284, 221, 367, 244}},
    {about_id::kTitle, L"Static", L"Horlomat", {124, 32, 387, 64}},
    {about_id::kVersion, L"Static", L"Version 1.0.0", {128, 68, 387, 83}},
    {about_id::kDisclaimer, L"Static", nullptr, {17, 191, 275, 246}},
};

// What the user can see of the dialog: caption, and each control's text and place.
using Snapshot = std::map<int, std::pair<std::wstring, Corners>>;

Snapshot SnapshotOf(HWND dialog) {
    Snapshot seen;
    seen[0] = {WindowText(dialog), Corners{}};
    for (const Expected& e : kControls) {
        HWND control = ::GetDlgItem(dialog, e.id);
        seen[e.id] = {WindowText(control), CornersIn(dialog, control)};
    }
    return seen;
}

TEST(AboutDialog, OpensFromTheMenuByKeyboardModalOverTheMainWindow) {
    Sandbox sandbox;
    App app(sandbox);

    app.Menu(L'?', L'ü');
    HWND dialog = app.WaitForOtherWindow(kAboutTitle, 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ClassName(dialog), L"#32770");
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), app.Main());
    EXPECT_FALSE(::IsWindowEnabled(app.Main())) << "the main window takes no input meanwhile";
    EXPECT_TRUE(WaitFor([&] { return app.Focus() == ::GetDlgItem(dialog, about_id::kOK); }, 5000));
}

TEST(AboutDialog, HasAFixedFrameWithoutIconAndEveryControlAsDesigned) {
    Sandbox sandbox;
    App app(sandbox);
    HWND dialog = OpenAbout(app);
    ASSERT_NE(dialog, nullptr);

    const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_TRUE(::GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) << "a dialog frame shows no icon";
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_EQ((Corners{client.left, client.top, client.right, client.bottom}), (Corners{0, 0, 396, 256}));

    for (const Expected& e : kControls) {
        SCOPED_TRACE(testing::Message() << "control " << e.id);
        HWND control = ::GetDlgItem(dialog, e.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassName(control), e.className);
        if (e.text) {
            EXPECT_EQ(WindowText(control), e.text);
        }
        EXPECT_EQ(CornersIn(dialog, control), e.pixels);
    }

    // The logo fills the picture box inside its sunken border.
    HWND picture = ::GetDlgItem(dialog, about_id::kPicIcon);
    EXPECT_TRUE(::GetWindowLongW(picture, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_NE(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    RECT inside{};
    ::GetClientRect(picture, &inside);
    EXPECT_EQ((Corners{inside.left, inside.top, inside.right, inside.bottom}), (Corners{0, 0, 106, 130}));

    // A German notice of two sentences that names the maker.
    const std::wstring notice = WindowText(::GetDlgItem(dialog, about_id::kDisclaimer));
    EXPECT_NE(notice.find(L"Tesmar"), std::wstring::npos) << Narrow(notice);
    EXPECT_EQ(std::count(notice.begin(), notice.end(), L'.'), 2) << Narrow(notice);

    // OK is the default button; Tab goes OK, Systeminfo, OK.
    EXPECT_EQ(LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)), about_id::kOK);
    HWND next = ::GetNextDlgTabItem(dialog, ::GetDlgItem(dialog, about_id::kOK), FALSE);
    EXPECT_EQ(::GetDlgCtrlID(next), about_id::kSysInfo);
    EXPECT_EQ(::GetDlgCtrlID(::GetNextDlgTabItem(dialog, next, FALSE)), about_id::kOK);
}

TEST(AboutDialog, DrawsTheLogoAndTheEtchedRule) {
    Sandbox sandbox;
    App app(sandbox);
    HWND dialog = OpenAbout(app);
    ASSERT_NE(dialog, nullptr);
    // Read from the screen, so nothing may cover the dialog.
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::Sleep(500);
    POINT origin{0, 0};
    ::ClientToScreen(dialog, &origin);
    HDC screen = ::GetDC(nullptr);
    auto pixel = [&](int x, int y) { return ::GetPixel(screen, origin.x + x, origin.y + y); };

    constexpr COLORREF grey = RGB(128, 128, 128);
    constexpr COLORREF white = RGB(255, 255, 255);
    const struct {
        int x, y;
        COLORREF colour;
        bool is;
    } points[] = {
        // The grey line, one pixel high, from x 6 to 376.
        {6, 179, grey, true}, {376, 179, grey, true}, {5, 179, grey, false}, {377, 179, grey, false},
        {200, 178, grey, false},
        // The white line beneath it, two pixels high, from x 7 to 376.
        {7, 180, white, true}, {376, 181, white, true}, {6, 180, white, false}, {200, 182, white, false},
    };
    for (const auto& p : points) {
        EXPECT_EQ(pixel(p.x, p.y) == p.colour, p.is) << "at " << p.x << "," << p.y << ": " << std::hex << pixel(p.x, p.y);
    }
    // The logo inside the box's two-pixel border: its dark blue at (20, 100),
    // give or take the picture decoder's rounding.
    const COLORREF logo = pixel(10 + 20, 18 + 100);
    EXPECT_NEAR(GetRValue(logo), 20, 6);
    EXPECT_NEAR(GetGValue(logo), 58, 6);
    EXPECT_NEAR(GetBValue(logo), 116, 6);
    int blackInTitle = 0;
    for (int y = 32; y < 64; ++y) {
        for (int x = 124; x < 200; ++x) blackInTitle += pixel(x, y) == RGB(0, 0, 0);
    }
    EXPECT_GT(blackInTitle, 20) << "the title is written in black";
    ::ReleaseDC(nullptr, screen);
}

// Each way of closing, from a fresh opening; every opening looks the same.
TEST(AboutDialog, EnterEscOkAndCloseBoxCloseItAndLeaveTheMainWindowAlone) {
    Sandbox sandbox;
    App app(sandbox);
    app.SetFields(L"2031", L"4", L"5", L"6", L"7");
    app.SetText(ids::kGesetzteZeit, L"unberührt");

    auto key = [](UINT vk) {
        return [vk](HWND, HWND focus) {
            ::PostMessageW(focus, WM_KEYDOWN, vk, 1);
            ::PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
        };
    };
    const struct {
        const char* name;
        std::function<void(HWND dialog, HWND focus)> close;
    } ways[] = {
        {"Enter", key(VK_RETURN)},
        {"Esc", key(VK_ESCAPE)},
        {"OK", [](HWND dialog, HWND) { ::PostMessageW(::GetDlgItem(dialog, about_id::kOK), BM_CLICK, 0, 0); }},
        {"close box", [](HWND dialog, HWND) { ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    std::optional<Snapshot> first;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        HWND dialog = OpenAbout(app);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitFor([&] { return app.Focus() == ::GetDlgItem(dialog, about_id::kOK); }, 5000))
            << "the focus starts on OK";
        const Snapshot seen = SnapshotOf(dialog);
        if (!first) first = seen;
        EXPECT_TRUE(seen == *first) << "loaded anew, it looks as before";

        way.close(dialog, app.Focus());
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 5000));
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(app.Main()) != FALSE; }, 5000));
        EXPECT_TRUE(app.Running());
    }
    const wchar_t* fields[] = {L"2031", L"4", L"5", L"6", L"7"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(app.Field(i), fields[i]);
    EXPECT_EQ(app.Text(ids::kGesetzteZeit), L"unberührt");
    EXPECT_FALSE(sandbox.ReadIni().has_value());
}

TEST(AboutDialog, OpensOnlyOnceAtATime) {
    Sandbox sandbox;
    App app(sandbox);
    HWND dialog = OpenAbout(app);
    ASSERT_NE(dialog, nullptr);

    ::PostMessageW(app.Main(), WM_COMMAND, MAKEWPARAM(ids::kMenuAbout, 0), 0);
    ::Sleep(1000);
    EXPECT_EQ(WindowsOf(app, kAboutTitle).size(), 1u);
    EXPECT_TRUE(::IsWindow(dialog));
}

TEST(AboutDialog, LogoShowsTheHandAndOpensTheMakersPageWithoutAWord) {
    Sandbox sandbox;
    const std::wstring browser = sandbox.Folder() + L"\\browser.exe";
    PlaceFakeTool(browser);
    RegistryValue handler(HKEY_LOCAL_MACHINE, "Software\\Classes\\https\\shell\\open\\command", "");
    handler.SetText("\"" + Narrow(browser) + "\" \"%1\"");
    App app(sandbox);
    HWND dialog = OpenAbout(app);
    ASSERT_NE(dialog, nullptr);
    HWND picture = ::GetDlgItem(dialog, about_id::kPicIcon);

    // Over the logo the dialog puts up its own cursor, elsewhere it leaves
    // the cursor to the control.
    DWORD_PTR claimed = 0;
    ::SendMessageTimeoutW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(picture), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
                          SMTO_ABORTIFHUNG, 5000, &claimed);
    EXPECT_TRUE(claimed);
    ::SendMessageTimeoutW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, about_id::kOK)),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), SMTO_ABORTIFHUNG, 5000, &claimed);
    EXPECT_FALSE(claimed);

    ::PostMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 60));
    ::PostMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(50, 60));
    ASSERT_TRUE(WaitFor([&] { return !ToolRuns(browser).empty(); }, 15000)) << "the web page was not opened";
    EXPECT_NE(ToolRuns(browser)[0].find(L"https://www.tesmar.de/"), std::wstring::npos) << ToolRuns(browser)[0];

    ::Sleep(1000);
    EXPECT_EQ(ToolRuns(browser).size(), 1u);
    EXPECT_TRUE(::IsWindowVisible(dialog)) << "the dialog stays open";
    EXPECT_EQ(app.WaitForOtherWindow(L"Horlomat", 0), nullptr) << "and nothing is reported";
}

}  // namespace
}  // namespace ui
