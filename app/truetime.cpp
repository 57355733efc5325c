#include "app/truetime.h"

#include "app/apply.h"
#include "assets/texts.h"
#include "platform/handles.h"
#include "platform/process.h"

namespace truetime {
namespace {

// Below HKEY_LOCAL_MACHINE\SOFTWARE only administrators may write, so no standard user can plant a true time for an
// administrator's /echtzeit.
constexpr wchar_t kKey[] = L"SOFTWARE\\Tesmar\\Horlomat";
// The reading, as the default value of a volatile key: it goes when Windows restarts, as does the count in it.
constexpr wchar_t kReadingKey[] = L"Lesung";
// How far the last set put the clock from the true time, in FILETIME's 100 ns; none while the clock is true.
constexpr wchar_t kDistance[] = L"Abstand";

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

void TakeReading() {
    own = {Now(), ::GetTickCount64()};
}

void Keep(const SYSTEMTIME& set) {
    const std::optional<ULONGLONG> setTime = StepsOf(set);
    platform::UniqueRegKey key;
    if (!own.tick || !setTime ||
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                          nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    Reading kept;
    if (Get(key.get(), kReadingKey, nullptr, RRF_RT_REG_BINARY, kept) != Found::Yes) {
        // The first set since Windows started. This Horlomat's reading is the true time, unless a set before the
        // restart had moved the clock: the hardware clock carried that over.
        kept = own;
        LONGLONG carried = 0;
        if (Get(key.get(), nullptr, kDistance, RRF_RT_REG_QWORD, carried) == Found::Yes) {
            kept = {own.clock - carried, own.tick, 1};
        }
        if (!WriteReading(key.get(), kept)) return;
    }
    const auto distance = static_cast<LONGLONG>(*setTime - kept.At());
    ::RegSetValueExW(key.get(), kDistance, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&distance), sizeof(distance));
}

Outcome PutBack() {
    platform::UniqueRegKey key;
    LONGLONG distance = 0;
    Reading kept;
    Found moved = Found::No, reading = Found::No;
    // Writing needs an administrator, reading does not.
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, key.put()) ==
            ERROR_SUCCESS ||
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS) {
        moved = Get(key.get(), nullptr, kDistance, RRF_RT_REG_QWORD, distance);
        reading = Get(key.get(), kReadingKey, nullptr, RRF_RT_REG_BINARY, kept);
    }
    if (moved == Found::No) return {0, texts::kNothingToPutBack};
    // No reading since Windows started: the hardware clock has carried the last set's distance over the restart, as
    // long as nothing else moved the clock since.
    const bool assumed = reading == Found::No || kept.assumed;
    const std::optional<SYSTEMTIME> time = TimeAt(reading == Found::Yes ? kept.At() : Now() - distance);
    if (moved == Found::Damaged || reading == Found::Damaged || kept.tick > ::GetTickCount64() || !time) {
        return {3, texts::kTrueTimeUnknown};
    }
    if (!::SetSystemTime(&*time)) return {1, texts::kNotSet};
    // The clock is true again: nothing to put back until the next set. A Horlomat that started while it was moved
    // finds this reading after a restart, rather than keeping its own.
    if (reading == Found::No) WriteReading(key.get(), {Now(), ::GetTickCount64(), assumed});
    ::RegDeleteValueW(key.get(), kDistance);
    return {0, texts::kTrueTimeSet + apply::RecordText(*time) + L" (UTC)" + (assumed ? texts::kTrueTimeAssumed : L"")};
}

}  // namespace truetime
