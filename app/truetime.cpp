#include "app/truetime.h"

#include "app/apply.h"
#include "app/guard.h"
#include "assets/texts.h"
#include "platform/handles.h"
#include "platform/text.h"

#include <cstdio>

namespace truetime {
namespace {

constexpr wchar_t kKey[] = L"SOFTWARE\\Tesmar\\Horlomat";
// The reading, as the default value of a volatile key: it goes when Windows restarts, as does the count in it.
constexpr wchar_t kReadingKey[] = L"Lesung";
// How far the last set put the clock from the true time, in FILETIME's 100 ns; none while the clock is true.
constexpr wchar_t kDistance[] = L"Abstand";

// No time sync corrects Windows' count: it goes at the rate of the board's crystal, typically tens of ppm off.
// Reckoned with 100 ppm, which in 100 ns steps is the count's age in milliseconds, plus its steps at both ends.
constexpr ULONGLONG kStepsPerMs = 10000;
constexpr ULONGLONG kResolution = 32 * kStepsPerMs;
constexpr ULONGLONG kSecond = 1000 * kStepsPerMs;

Reading own;  // this Horlomat's, from its start

enum class Found { No, Yes, Damaged };

template <typename T>
Found Get(HKEY key, const wchar_t* subKey, const wchar_t* name, DWORD type, T& value) {
    DWORD size = sizeof(value);
    const LSTATUS status = ::RegGetValueW(key, subKey, name, type, nullptr, &value, &size);
    if (status == ERROR_FILE_NOT_FOUND) return Found::No;
    return status == ERROR_SUCCESS && size == sizeof(value) ? Found::Yes : Found::Damaged;
}

bool WriteReading(HKEY key, const Reading& reading) {
    platform::UniqueRegKey sub;
    return ::RegCreateKeyExW(key, kReadingKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr, sub.put(),
                             nullptr) == ERROR_SUCCESS &&
           ::RegSetValueExW(sub.get(), nullptr, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&reading),
                            sizeof(reading)) == ERROR_SUCCESS;
}

// The record is kept below HKEY_LOCAL_MACHINE, which only administrators may write, so that no standard user can
// plant a true time for an administrator's /echtzeit. A Horlomat that may set the clock but not write there (a
// standard user given the right) keeps it in its user's own key instead.
platform::UniqueRegKey Writable(HKEY root) {
    platform::UniqueRegKey key;
    ::RegCreateKeyExW(root, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr,
                      key.put(), nullptr);
    return key;
}

ULONGLONG Apart(ULONGLONG a, ULONGLONG b) {
    return a > b ? a - b : b - a;
}

// 0,04 for 400000 steps: hundredths of a second, rounded up, with a German decimal comma.
std::wstring Seconds(ULONGLONG steps) {
    const ULONGLONG hundredths = (steps + kSecond / 100 - 1) / (kSecond / 100);
    wchar_t text[32];
    std::swprintf(text, 32, L"%llu,%02llu", hundredths / 100, hundredths % 100);
    return text;
}

std::wstring Age(ULONGLONG ms) {
    const ULONGLONG minutes = ms / 60000, hours = minutes / 60;
    if (minutes < 2) return std::to_wstring(ms / 1000) + L" s";
    if (hours < 2) return std::to_wstring(minutes) + L" min";
    return hours < 48 ? std::to_wstring(hours) + L" h" : std::to_wstring(hours / 24) + L" Tagen";
}

}  // namespace

ULONGLONG Now() {
    FILETIME now{};
    ::GetSystemTimePreciseAsFileTime(&now);
    return (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

std::optional<ULONGLONG> StepsOf(const SYSTEMTIME& time) {
    FILETIME steps{};
    if (!::SystemTimeToFileTime(&time, &steps)) return std::nullopt;
    return (ULONGLONG{steps.dwHighDateTime} << 32) | steps.dwLowDateTime;
}

std::optional<SYSTEMTIME> TimeAt(ULONGLONG steps) {
    const FILETIME at{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
    SYSTEMTIME time{};
    if (!::FileTimeToSystemTime(&at, &time)) return std::nullopt;
    return time;
}

ULONGLONG TrueOrClock() {
    platform::UniqueRegKey key;
    LONGLONG distance = 0;
    Reading kept;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS &&
        Get(key.get(), nullptr, kDistance, RRF_RT_REG_QWORD, distance) == Found::Yes &&
        Get(key.get(), kReadingKey, nullptr, RRF_RT_REG_BINARY, kept) == Found::Yes &&
        kept.tick <= ::GetTickCount64()) {
        return kept.At();
    }
    return Now();
}

void TakeReading() {
    own = {Now(), ::GetTickCount64()};
}

void Keep(const SYSTEMTIME& set) {
    const std::optional<ULONGLONG> setTime = StepsOf(set);
    platform::UniqueRegKey key = Writable(HKEY_LOCAL_MACHINE);
    if (!key) key = Writable(HKEY_CURRENT_USER);
    if (!own.tick || !setTime || !key) return;
    Reading kept;
    LONGLONG carried = 0;
    const Found reading = Get(key.get(), kReadingKey, nullptr, RRF_RT_REG_BINARY, kept);
    const Found moved = Get(key.get(), nullptr, kDistance, RRF_RT_REG_QWORD, carried);
    bool renewed = reading != Found::Yes;
    if (reading != Found::Yes && moved == Found::Yes) {
        // The first set since Windows started, and a set before the restart had moved the clock: the hardware clock
        // carried that over, as long as nothing else moved it since.
        kept = {own.clock - carried, own.tick, 1};
    } else if (reading != Found::Yes) {
        kept = {own.clock, own.tick, moved == Found::Damaged};
    } else if (moved == Found::No && own.tick > kept.tick) {
        // The clock was true before this set, and this Horlomat read it after the last reading was taken: the fresher
        // one is the truer, no better than the clock was then.
        kept = {own.clock, own.tick, kept.assumed, kept.error};
        renewed = true;
    }
    const auto distance = static_cast<LONGLONG>(*setTime - kept.At());
    if (!renewed || WriteReading(key.get(), kept)) {
        ::RegSetValueExW(key.get(), kDistance, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&distance),
                         sizeof(distance));
    }
}

// The clock alone, from the record of the way back.
static Outcome PutBackClock(bool assume) {
    // The machine's record; reading it needs no administrator. Where it holds no distance, this user's own, which
    // only a /echtzeit that may not write the machine's trusts: any program of an administrator's can write that
    // administrator's key, elevated or not.
    // Nothing is created to find out: where the key is not there yet, whether this one could make it.
    platform::UniqueRegKey key, software;
    const LSTATUS opened =
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, key.put());
    const bool machine =
        opened == ERROR_SUCCESS ||
        (opened == ERROR_FILE_NOT_FOUND &&
         ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_CREATE_SUB_KEY, software.put()) == ERROR_SUCCESS);
    if (!key) ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, key.put());
    LONGLONG distance = 0;
    Found moved = key ? Get(key.get(), nullptr, kDistance, RRF_RT_REG_QWORD, distance) : Found::No;
    if (moved == Found::No) {
        platform::UniqueRegKey user;
        ::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, user.put());
        moved = user ? Get(user.get(), nullptr, kDistance, RRF_RT_REG_QWORD, distance) : Found::No;
        if (moved != Found::No && machine) return {3, texts::kUserRecord};
        key = std::move(user);
    }
    if (moved == Found::No) return {0, texts::kNothingToPutBack};
    Reading kept;
    const Found reading = Get(key.get(), kReadingKey, nullptr, RRF_RT_REG_BINARY, kept);
    const ULONGLONG now = Now(), tick = ::GetTickCount64();
    // Without a reading Windows has restarted since: the hardware clock carried the last set's distance over, as long
    // as nothing else moved the clock since.
    const bool assumed = reading == Found::No || kept.assumed;
    const ULONGLONG trueTime = reading == Found::Yes ? kept.At() : now - distance;
    const std::optional<SYSTEMTIME> time = TimeAt(trueTime);
    if (moved == Found::Damaged || reading == Found::Damaged || kept.tick > tick || !time) {
        return {3, texts::kTrueTimeUnknown};
    }
    const ULONGLONG bound = kept.error + (tick - kept.tick) + kResolution;
    const std::wstring shown = apply::RecordText(*time) + L" (UTC)";
    // Where only Horlomat set it since the reading, the clock stands the last distance from the true time. Neither
    // there nor at the true time, something else moved it: a virtual machine reverted to a snapshot (whose reading is
    // as old as the snapshot, while the host set the clock), a time sync after a hold ended, someone by hand.
    if (reading == Found::Yes && Apart(now, trueTime + distance) > bound + 2 * kSecond &&
        Apart(now, trueTime) > bound + 2 * kSecond) {
        return {3, platform::Filled(texts::kClockElsewhere, shown)};
    }
    if (assumed && !assume) return {3, platform::Filled(texts::kTrueTimeWouldBe, shown)};
    if (!::SetSystemTime(&*time)) return {1, texts::kNotSet};
    // The clock is true again, as far as the reading was: a fresh reading of it, and nothing to put back.
    const bool updated = WriteReading(key.get(), {Now(), ::GetTickCount64(), assumed, bound}) &&
                         ::RegDeleteValueW(key.get(), kDistance) == ERROR_SUCCESS;
    std::wstring text = texts::kTrueTimeSet + shown +
                        (assumed ? texts::kTrueTimeAssumed
                                 : platform::Filled(texts::kTrueTimeBound, Seconds(bound), Age(tick - kept.tick)));
    if (!updated) return {4, text + texts::kRecordNotUpdated};
    return {0, text};
}

Outcome PutBack(bool assume) {
    Outcome outcome = PutBackClock(assume);
    // Then the time sync as it was before an /ohnesync, whatever the clock gave: it can only bring it nearer the truth.
    const guard::Outcome restored = guard::Restore();
    outcome.text += restored.text;
    if (!restored.done && outcome.exitCode == 0) outcome.exitCode = 4;
    return outcome;
}

}  // namespace truetime
