// Whatever the settings file holds, or however it is kept from being read or
// written, the program starts with its window, the fields filled by the
// rules, and an apply still sets the clock and shows it; a file that cannot be
// written keeps its earlier content.
#include "tests/robust/drive.h"
#include "tests/robust/field_texts.h"
#include "tests/robust/robust.h"
#include "tests/robust/settings_check.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <stdexcept>

namespace robust {
namespace {

const wchar_t* const kKeys[] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute"};
constexpr wchar_t kSetLabel[] = L"05.12.2026, 14:30:00";

std::string Utf16(const std::wstring& text, bool withMark) {
    std::string bytes = withMark ? "\xFF\xFE" : "";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::string Garbage(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    return bytes;
}

// Many sections and keys ahead of the one that counts.
std::string Big(std::size_t size) {
    std::string bytes;
    bytes.reserve(size + 100);
    for (int n = 0; bytes.size() < size; ++n) {
        bytes += "[Abschnitt" + std::to_string(n) + "]\r\n";
        for (int k = 0; k < 20; ++k) bytes += "Schluessel" + std::to_string(k) + "=Wert " + std::to_string(n) + "\r\n";
    }
    return bytes + "[Zeit]\r\nJahr=2031\r\nMonat=7\r\nZeitHalten=JA\r\n";
}

// How the file is kept from the program, if it is.
enum class Obstacle {
    None,
    ReadOnly,        // the read-only attribute
    Folder,          // Horlomat.ini is a folder
    HeldOpen,        // another process holds it open without sharing, from the start
    HeldDuringApply  // the same, from just before the press until after it
};

struct FileCase {
    const char* name;
    std::string bytes;
    Obstacle obstacle = Obstacle::None;
    // What the fields must show, when the case says more than the reader's
    // own answer: nullptr for the default, the current local time part.
    std::optional<std::array<const wchar_t*, 5>> expected;
    std::optional<bool> hold;
};

using Shown = std::array<const wchar_t*, 5>;

FileCase Case(const char* name, std::string bytes, Obstacle obstacle = Obstacle::None,
              std::optional<Shown> expected = std::nullopt, std::optional<bool> hold = std::nullopt) {
    return FileCase{name, std::move(bytes), obstacle, expected, hold};
}

constexpr char kZeros[] = "[Zeit]\r\nJahr=20\0" "31\r\nMonat=\0\r\n";

std::vector<FileCase> Cases() {
    const std::size_t bigSize = Size(5u << 20, 50u << 20);
    std::vector<FileCase> cases = {
        Case("no file", "", Obstacle::None, Shown{}, false),
        Case("an empty file", std::string(), Obstacle::None, Shown{}, false),
        Case("binary garbage, 64 KB", Garbage(64 << 10, 1)),
        Case("binary garbage around a valid section",
             Garbage(4096, 2) + "\r\n[Zeit]\r\nJahr=2031\r\n" + Garbage(4096, 3)),
        Case("binary garbage starting like UTF-16", "\xFF\xFE" + Garbage(8192, 4)),
        Case("a big file with the section at its end", Big(bigSize), Obstacle::None,
             Shown{L"2031", L"7", nullptr, nullptr, nullptr}, true),
        Case("keys without a section", "Jahr=2031\r\nMonat=7\r\nZeitHalten=JA\r\n", Obstacle::None,
             Shown{}, false),
        Case("the section twice", "[Zeit]\r\nJahr=2031\r\n[Zeit]\r\nJahr=2032\r\nMonat=7\r\n"),
        Case("UTF-16 with a byte-order mark",
             Utf16(L"[Zeit]\r\nJahr=2031\r\nMonat=07\r\nTag=1\r\nZeitHalten=JA\r\n", true), Obstacle::None,
             Shown{L"2031", L"07", L"1", nullptr, nullptr}, true),
        Case("UTF-8 with a byte-order mark", "\xEF\xBB\xBF[Zeit]\r\nJahr=2031\r\nMonat=7\r\n", Obstacle::None,
             Shown{L"2031", L"7", nullptr, nullptr, nullptr}),
        Case("LF line ends", "[Zeit]\nJahr=2031\nMonat=7\nZeitHalten=JA\n", Obstacle::None,
             Shown{L"2031", L"7", nullptr, nullptr, nullptr}, true),
        Case("CRLF line ends", "[Zeit]\r\nJahr=2031\r\nMonat=7\r\nZeitHalten=JA\r\n", Obstacle::None,
             Shown{L"2031", L"7", nullptr, nullptr, nullptr}, true),
        Case("CR line ends", "[Zeit]\rJahr=2031\rMonat=7\r"),
        Case("no line end after the last value", "[Zeit]\r\nJahr=2031", Obstacle::None,
             Shown{L"2031", nullptr, nullptr, nullptr, nullptr}),
        Case("values of 10,000 characters",
             "[Zeit]\r\nJahr=" + std::string(10000, '7') + "\r\nMonat=" + std::string(9998, ' ') + "12\r\nTag=\"" +
                 std::string(10000, 'x') + "\"\r\nZeitHalten=" + std::string(10000, 'J') + "\r\n"),
        Case("a line of a megabyte without a line end", "[Zeit]\r\nJahr=" + std::string(1 << 20, '1')),
        Case("zero bytes inside values", std::string(kZeros, sizeof(kZeros) - 1)),
        Case("keys and section in other case, blanks and quotes",
             "[ zeit ]\r\n  JAHR  =  \" 2031 \"  \r\nmonat='7'\r\n"),
        Case("ZeitHalten in lower case", "[Zeit]\r\nZeitHalten=ja\r\n", Obstacle::None, std::nullopt, false),
        Case("a read-only file", "[Zeit]\r\nJahr=2031\r\n", Obstacle::ReadOnly,
             Shown{L"2031", nullptr, nullptr, nullptr, nullptr}),
        Case("Horlomat.ini is a folder", "", Obstacle::Folder, Shown{}, false),
        Case("held open without sharing by another process", "[Zeit]\r\nJahr=2031\r\nZeitHalten=JA\r\n",
             Obstacle::HeldOpen, Shown{}, false),
        Case("held open without sharing while the apply writes", "[Zeit]\r\nJahr=2031\r\nZeitHalten=JA\r\n",
             Obstacle::HeldDuringApply, Shown{L"2031", nullptr, nullptr, nullptr, nullptr}, true),
    };
    return cases;
}

class Holder {
public:
    explicit Holder(const std::wstring& path)
        : file_(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
        if (file_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold the settings file");
    }
    ~Holder() { ::CloseHandle(file_); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

private:
    HANDLE file_;
};

TEST(SettingsFiles, StartAndApplyWhateverTheFileHoldsOrWhoeverHoldsIt) {
    const SYSTEMTIME local = ui::PinnedClock::LocalFromUtc(kPinnedUtc);
    const ui::PinnedClock clock(local);
    const std::wstring defaults[5] = {std::to_wstring(local.wYear), std::to_wstring(local.wMonth),
                                      std::to_wstring(local.wDay), std::to_wstring(local.wHour),
                                      std::to_wstring(local.wMinute)};
    std::size_t crashes = 0, hangs = 0, filesWrong = 0, tried = 0;
    std::string readOnlyNote;
    std::string bigNote;

    for (const FileCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        ++tried;
        ui::Sandbox sandbox;
        const bool noFile = std::string(c.name) == "no file";
        if (c.obstacle == Obstacle::Folder) {
            ASSERT_TRUE(::CreateDirectoryW(sandbox.IniPath().c_str(), nullptr));
        } else if (!noFile) {
            sandbox.WriteIni(c.bytes);
        }
        const std::optional<std::string> original = sandbox.ReadIni();
        if (c.obstacle == Obstacle::ReadOnly) ::SetFileAttributesW(sandbox.IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
        std::optional<Holder> holder;
        if (c.obstacle == Obstacle::HeldOpen) holder.emplace(sandbox.IniPath());

        // What the next start must show: the reader's answer, as the program
        // gets it, and where the case says so, the value stated.
        Fields expected;
        for (std::size_t i = 0; i < 5; ++i) expected[i] = ReadAtStart(sandbox.IniPath(), kKeys[i], defaults[i]);
        const bool expectedHold = ReadAtStart(sandbox.IniPath(), L"ZeitHalten", L"NEIN") == L"JA";
        if (c.expected) {
            for (std::size_t i = 0; i < 5; ++i) {
                EXPECT_EQ(expected[i], (*c.expected)[i] ? (*c.expected)[i] : defaults[i]) << "field " << i;
            }
        }
        if (c.hold) {
            EXPECT_EQ(expectedHold, *c.hold);
        }

        const ULONGLONG started = ::GetTickCount64();
        std::optional<ui::App> app;
        try {
            app.emplace(sandbox, SW_SHOWNOACTIVATE);
        } catch (const std::exception& e) {
            ++(CloseCrashDialogs() ? crashes : hangs);
            ADD_FAILURE() << "no window: " << e.what();
            continue;
        }
        const ULONGLONG startMs = ::GetTickCount64() - started;
        if (c.bytes.size() > (1u << 20)) {
            bigNote += std::to_string(c.bytes.size() >> 20) + " MB file started in " + std::to_string(startMs) + " ms; ";
        }
        EXPECT_TRUE(::IsWindowVisible(app->Main()));
        EXPECT_EQ(ShownFields(*app), expected) << "started in " << startMs << " ms";
        EXPECT_EQ(app->HoldChecked(), expectedHold);

        app->SetHold(false);
        if (c.obstacle == Obstacle::HeldDuringApply) holder.emplace(sandbox.IniPath());
        const ApplyResult r = Apply(*app, PinnedFields(), 120000);
        holder.reset();
        if (r.outcome == Outcome::Crash) ++crashes;
        if (r.outcome == Outcome::Hang) ++hangs;
        EXPECT_EQ(r.outcome, Outcome::Set) << Name(r.outcome);
        EXPECT_EQ(r.label, kSetLabel);
        EXPECT_TRUE(app->Running());
        app.reset();

        const std::optional<std::string> after = sandbox.ReadIni();
        bool right;
        switch (c.obstacle) {
            case Obstacle::Folder:
                right = (::GetFileAttributesW(sandbox.IniPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
                break;
            case Obstacle::HeldOpen:
            case Obstacle::HeldDuringApply:
                right = after == original;
                break;
            default: {
                // The six keys read back as set; whatever else the file held
                // is the profile functions' business.
                right = after.has_value();
                for (std::size_t i = 0; i < 5 && right; ++i) {
                    right = ReadAtStart(sandbox.IniPath(), kKeys[i], L"<missing>") == PinnedFields()[i];
                }
                right = right && ReadAtStart(sandbox.IniPath(), L"ZeitHalten", L"<missing>") == L"NEIN";
                if (c.obstacle == Obstacle::ReadOnly) {
                    // Windows refuses to write; Wine run as root writes anyway.
                    readOnlyNote = after == original ? "read-only file kept" : "read-only file written (Wine as root)";
                    right = right || after == original;
                }
                break;
            }
        }
        if (!right) {
            ++filesWrong;
            ADD_FAILURE() << "the settings file after the apply is wrong";
        }
        ::SetFileAttributesW(sandbox.IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    Report({"settings files", tried, crashes, hangs, filesWrong, "-",
            bigNote + readOnlyNote});
}

}  // namespace
}  // namespace robust
