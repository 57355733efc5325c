#include "app/guard.h"

#include "assets/texts.h"
#include "platform/handles.h"
#include "platform/text.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace guard {
namespace {

// Beside the true-time record, where only administrators may write. One value a source: a service's start type, plus
// kRan where it ran; W32Time's Type as it was, REG_NONE where there was none.
constexpr wchar_t kKey[] = L"SOFTWARE\\Tesmar\\Horlomat\\Ohnesync";
constexpr const wchar_t* kServices[] = {L"W32Time", L"vmictimesync"};
constexpr DWORD kRan = 0x100;
constexpr wchar_t kTypeKey[] = L"SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";
constexpr wchar_t kTypeKept[] = L"W32Time-Type";
// Guest tools that set the clock with no switch Windows documents: named, not paused.
constexpr const wchar_t* kGuestTools[] = {L"VMTools", L"VBoxService"};

struct ServiceTraits {
    using Type = SC_HANDLE;
    static void Close(Type h) noexcept { ::CloseServiceHandle(h); }
};
using UniqueService = platform::UniqueHandle<ServiceTraits>;

UniqueService Open(const wchar_t* name, DWORD& error) {
    const UniqueService manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    UniqueService service(manager ? ::OpenServiceW(manager.get(), name,
                                                   SERVICE_QUERY_CONFIG | SERVICE_CHANGE_CONFIG | SERVICE_QUERY_STATUS |
                                                       SERVICE_START | SERVICE_STOP)
                                  : nullptr);
    error = service ? 0 : ::GetLastError();
    return service;
}

// The service's state once it has left a pending one, within 15 s.
DWORD Settled(SC_HANDLE service) {
    SERVICE_STATUS status{};
    for (int i = 0; ::QueryServiceStatus(service, &status) && i < 150; ++i) {
        if (status.dwCurrentState != SERVICE_STOP_PENDING && status.dwCurrentState != SERVICE_START_PENDING) break;
        ::Sleep(100);
    }
    return status.dwCurrentState;
}

std::optional<DWORD> StateOf(SC_HANDLE service) {
    DWORD size = 0;
    ::QueryServiceConfigW(service, nullptr, 0, &size);
    std::vector<BYTE> config(size);
    if (config.empty() ||
        !::QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config.data()), size, &size)) {
        return std::nullopt;
    }
    const DWORD state = Settled(service);
    return reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config.data())->dwStartType | (state != SERVICE_STOPPED ? kRan : 0);
}

bool SetStart(SC_HANDLE service, DWORD start) {
    return ::ChangeServiceConfigW(service, SERVICE_NO_CHANGE, start, SERVICE_NO_CHANGE, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr);
}

void Add(std::wstring& list, const std::wstring& item) {
    list += (list.empty() ? L"" : L", ") + item;
}

std::wstring Failed(const wchar_t* name, DWORD error) {
    return std::wstring(name) + L" (" + platform::SystemMessage(error) + L")";
}

bool Has(HKEY key, const wchar_t* name) {
    return ::RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

static Outcome PauseAll() {
    platform::UniqueRegKey key;
    if (const LSTATUS error = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0,
                                                KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.put(), nullptr)) {
        return {false, platform::Filled(texts::kNoSyncNotPaused, Failed(L"HKLM\\SOFTWARE\\Tesmar", error))};
    }
    // First what is there, each source unless a guard kept before holds it: that is the state before it.
    std::wstring paused, failed, absent;
    UniqueService services[std::size(kServices)];
    for (size_t i = 0; i < std::size(kServices); ++i) {
        DWORD error = 0;
        services[i] = Open(kServices[i], error);
        std::optional<DWORD> state = services[i] ? StateOf(services[i].get()) : std::nullopt;
        if (!services[i] && error == ERROR_SERVICE_DOES_NOT_EXIST) {
            Add(absent, kServices[i]);
        } else if (!state || (!Has(key.get(), kServices[i]) &&
                              (error = ::RegSetValueExW(key.get(), kServices[i], 0, REG_DWORD,
                                                        reinterpret_cast<const BYTE*>(&*state), sizeof(DWORD))))) {
            Add(failed, Failed(kServices[i], error ? error : ::GetLastError()));
            services[i].reset();
        }
    }
    if (services[0] && !Has(key.get(), kTypeKept)) {
        wchar_t type[64] = L"";
        DWORD size = sizeof(type);
        const bool there = !::RegGetValueW(HKEY_LOCAL_MACHINE, kTypeKey, L"Type", RRF_RT_REG_SZ, nullptr, type, &size);
        ::RegSetValueExW(key.get(), kTypeKept, 0, there ? REG_SZ : REG_NONE, reinterpret_cast<const BYTE*>(type),
                         there ? size : 0);
    }
    ::RegFlushKey(key.get());  // on disk before anything changes
    if (!failed.empty()) return {false, platform::Filled(texts::kNoSyncNotPaused, failed)};

    if (services[0]) {
        ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kTypeKey, L"Type", REG_SZ, L"NoSync", sizeof(L"NoSync"));
    }
    for (size_t i = 0; i < std::size(kServices); ++i) {
        if (!services[i]) continue;
        SERVICE_STATUS status{};
        DWORD error = SetStart(services[i].get(), SERVICE_DISABLED) ? 0 : ::GetLastError();
        if (!error && !::ControlService(services[i].get(), SERVICE_CONTROL_STOP, &status)) error = ::GetLastError();
        if (error == ERROR_SERVICE_NOT_ACTIVE) error = 0;
        if (!error && Settled(services[i].get()) != SERVICE_STOPPED) error = ERROR_SERVICE_REQUEST_TIMEOUT;
        error ? Add(failed, Failed(kServices[i], error)) : Add(paused, kServices[i]);
    }
    if (!failed.empty()) return {false, platform::Filled(texts::kNoSyncNotPaused, failed)};
    std::wstring text = platform::Filled(texts::kNoSyncPaused, paused.empty() ? L"-" : paused);
    if (!absent.empty()) text += platform::Filled(texts::kNoSyncAbsent, absent);
    for (const wchar_t* tool : kGuestTools) {
        DWORD error = 0;
        if (Open(tool, error) || error == ERROR_ACCESS_DENIED) text += platform::Filled(texts::kNoSyncGuestTool, tool);
    }
    return {true, text};
}

Outcome Pause() {
    Outcome paused = PauseAll();
    if (!paused.done) paused.text += Restore().text;
    return paused;
}

Outcome Restore() {
    platform::UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put())) return {true, {}};
    std::wstring restored, failed;
    // W32Time's Type first, so that the service reads its own when it starts again.
    wchar_t type[64] = L"";
    DWORD kind = 0, size = sizeof(type) - sizeof(wchar_t);
    if (!::RegQueryValueExW(key.get(), kTypeKept, nullptr, &kind, reinterpret_cast<BYTE*>(type), &size)) {
        const LSTATUS error = kind == REG_SZ
                                  ? ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kTypeKey, L"Type", REG_SZ, type, size)
                                  : ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kTypeKey, L"Type");
        if (error && error != ERROR_FILE_NOT_FOUND) Add(failed, Failed(L"W32Time\\Parameters\\Type", error));
        else ::RegDeleteValueW(key.get(), kTypeKept);
    }
    for (const wchar_t* name : kServices) {
        DWORD kept = 0, bytes = sizeof(kept);
        if (::RegGetValueW(key.get(), nullptr, name, RRF_RT_REG_DWORD, nullptr, &kept, &bytes)) continue;
        DWORD error = 0;
        const UniqueService service = Open(name, error);
        // A service that ran is started again; one that stood stays where the pause left it, stopped.
        if (service && SetStart(service.get(), kept & ~kRan) &&
            (!(kept & kRan) || Settled(service.get()) == SERVICE_RUNNING ||
             ::StartServiceW(service.get(), 0, nullptr) || ::GetLastError() == ERROR_SERVICE_ALREADY_RUNNING)) {
            ::RegDeleteValueW(key.get(), name);
            Add(restored, name);
        } else if (service || error != ERROR_SERVICE_DOES_NOT_EXIST) {
            Add(failed, Failed(name, error ? error : ::GetLastError()));
        } else {
            ::RegDeleteValueW(key.get(), name);  // gone since: nothing to put back
        }
    }
    if (!failed.empty()) return {false, platform::Filled(texts::kNoSyncNotRestored, failed)};
    key.reset();
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);
    return {true, platform::Filled(texts::kNoSyncRestored, restored.empty() ? L"-" : restored)};
}

}  // namespace guard
