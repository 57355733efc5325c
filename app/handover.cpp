#include "app/handover.h"

#include "assets/texts.h"
#include "platform/process.h"

#include <sddl.h>

#include <string_view>

namespace handover {
namespace {

// WM_COPYDATA's dwData: a start's arguments, each ended by a zero; or the request to stop holding, without data.
// The answer to a start is 0 when the window did not take it, else 1 + the result's kind, plus kNotStoredFlag.
constexpr ULONG_PTR kStart = 0x486F726C;
constexpr ULONG_PTR kStopHolding = 0x486F7273;
constexpr LRESULT kNotStoredFlag = 0x10;

// This Horlomat: its program file, its folder, and whether it may set the clock.
struct Self {
    std::optional<platform::FileId> exe, folder;
    bool mayClock = false;
};

const Self& Me() {
    static const Self self{platform::IdentityOf(platform::ExePath()), platform::IdentityOf(platform::AppDirectory()),
                           !platform::LacksClockRight(::GetCurrentProcess())};
    return self;
}

// A window that does not answer within seconds is hung: the sender goes on without it.
bool Send(HWND window, const COPYDATASTRUCT& data, DWORD_PTR& answer) {
    return ::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                                 &answer) != 0;
}

enum class Peer { Foreign, Holder, Powerless };

// What `window` is to this start. Its class and title prove nothing: its process must run the same file from the
// same folder. Where this start may set the clock and that process may not (an elevated start and a plain window),
// handing over would only give "refused": that one is Powerless, and this start goes on by itself.
Peer Check(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    const platform::UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    // Checked again with the process held: had it ended first, its number could now be another program's.
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (!process || owner != processId || !Me().exe || !Me().folder) return Peer::Foreign;
    const std::wstring image = platform::ImageOf(process.get());
    if (image.empty() || platform::IdentityOf(image) != Me().exe ||
        platform::IdentityOf(platform::FolderOf(image)) != Me().folder) {
        return Peer::Foreign;
    }
    return Me().mayClock && platform::LacksClockRight(process.get()) ? Peer::Powerless : Peer::Holder;
}

}  // namespace

StartLock::StartLock() {
    if (!Me().folder) return;
    mutex_.reset(::CreateMutexW(nullptr, FALSE, (L"Local\\Horlomat-" + Me().folder->Text()).c_str()));
    // A start holds it for moments; one that never lets go is stuck, and this start goes on without.
    if (mutex_ && ::WaitForSingleObject(mutex_.get(), 30000) == WAIT_TIMEOUT) mutex_.reset();
}

StartLock::~StartLock() {
    if (mutex_) ::ReleaseMutex(mutex_.get());
}

std::optional<apply::Result> HandOver(const std::vector<std::wstring>& arguments, const cmdline::Request& request) {
    std::wstring payload;
    for (const std::wstring& argument : arguments) payload += argument + L'\0';
    const COPYDATASTRUCT start{kStart, static_cast<DWORD>(payload.size() * sizeof(wchar_t)), payload.data()};
    const COPYDATASTRUCT stop{kStopHolding, 0, nullptr};
    // Every window of this folder takes them (a start without arguments may have opened a second one), so that none
    // goes on holding another minute; the first one answers for them.
    std::optional<apply::Result> taken;
    for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, kWindowClass, nullptr)) != nullptr;) {
        const Peer peer = Check(window);
        DWORD_PTR answer = 0;
        if (peer == Peer::Powerless) Send(window, stop, answer);
        if (peer != Peer::Holder || !Send(window, start, answer) || answer == 0 || taken) continue;
        if (request.mode != cmdline::Request::Once) {
            if (::IsIconic(window)) ::ShowWindowAsync(window, SW_RESTORE);
            ::SetForegroundWindow(window);
        }
        // The window showed what this start would show for the same fields: told from here, nothing of its text
        // is read across processes.
        const auto kind = static_cast<apply::Result::Kind>((answer & ~kNotStoredFlag) - 1);
        SYSTEMTIME record{};
        apply::ConvertFields(request.fields, record);
        taken = apply::Result{
            kind, kind == apply::Result::Set ? apply::ConfirmationText(request.fields, record) : texts::kNotSet,
            !(answer & kNotStoredFlag)};
    }
    return taken;
}

namespace {

// The machine-wide signal to stop holding, and one mutex per holding window, so that whoever signals can tell when
// all have let go; a holder that dies lets go of its mutex too. Only administrators and SYSTEM may signal or take a
// mutex; anyone may wait for the signal.
constexpr wchar_t kStopEvent[] = L"Global\\Horlomat-Echtzeit";
constexpr wchar_t kSlot[] = L"Global\\Horlomat-Hält-";
constexpr int kSlots = 32;

platform::UniqueKernelHandle Shared(bool event, const std::wstring& name) {
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, FALSE};
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(
        event ? L"D:P(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x100000;;;WD)" : L"D:P(A;;GA;;;SY)(A;;GA;;;BA)", SDDL_REVISION_1,
        &attributes.lpSecurityDescriptor, nullptr);
    platform::UniqueKernelHandle object(event ? ::CreateEventW(&attributes, TRUE, FALSE, name.c_str())
                                              : ::CreateMutexW(&attributes, FALSE, name.c_str()));
    ::LocalFree(attributes.lpSecurityDescriptor);
    return object;
}

}  // namespace

std::wstring StopAllHolds() {
    const COPYDATASTRUCT stop{kStopHolding, 0, nullptr};
    DWORD_PTR ignored = 0;
    for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, kWindowClass, nullptr)) != nullptr;) {
        Send(window, stop, ignored);
    }
    // No signal, no holder listening for one; one that may not be given, holds out of reach.
    const platform::UniqueKernelHandle signal(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kStopEvent));
    if (!signal) return ::GetLastError() == ERROR_ACCESS_DENIED ? texts::kHoldsOutOfReach : L"";
    ::SetEvent(signal.get());
    int left = 0;
    const ULONGLONG end = ::GetTickCount64() + 5000;
    for (int i = 0; i < kSlots; ++i) {
        const platform::UniqueKernelHandle slot(::OpenMutexW(SYNCHRONIZE, FALSE, (kSlot + std::to_wstring(i)).c_str()));
        const ULONGLONG now = ::GetTickCount64();
        const DWORD got = slot ? ::WaitForSingleObject(slot.get(), static_cast<DWORD>(end > now ? end - now : 0)) : 0;
        if (got == WAIT_TIMEOUT) ++left;
        if (slot && got != WAIT_TIMEOUT) ::ReleaseMutex(slot.get());
    }
    ::ResetEvent(signal.get());
    return left ? platform::Filled(texts::kHoldsLeft, std::to_wstring(left)) : L"";
}

void Listener::Start(HWND window, UINT message) {
    if (event_) return;
    window_ = window, message_ = message;
    // A holder that may not create them (no right to the global names) cannot be reached from another session.
    event_ = Shared(true, kStopEvent);
    for (int i = 0; event_ && !slot_ && i < kSlots; ++i) {
        slot_ = Shared(false, kSlot + std::to_wstring(i));
        if (slot_ && ::WaitForSingleObject(slot_.get(), 0) == WAIT_TIMEOUT) slot_.reset();  // another holder's
    }
    const WAITORTIMERCALLBACK told = [](void* self, BOOLEAN) {
        const auto* listener = static_cast<const Listener*>(self);
        ::PostMessageW(listener->window_, listener->message_, 0, 0);
    };
    if (!slot_ || !::RegisterWaitForSingleObject(&wait_, event_.get(), told, this, INFINITE, WT_EXECUTEONLYONCE)) {
        wait_ = nullptr;
        Stop();
    }
}

void Listener::Stop() {
    if (wait_) ::UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);  // and any call of `told` has returned
    wait_ = nullptr;
    if (slot_) ::ReleaseMutex(slot_.get());
    slot_.reset();
    event_.reset();
}

Kind Read(const COPYDATASTRUCT& data, std::vector<std::wstring>& arguments) {
    if (data.dwData == kStopHolding) return Kind::StopHolding;
    if (data.dwData != kStart || !data.lpData || data.cbData % sizeof(wchar_t) != 0) return Kind::None;
    const std::wstring_view all(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    for (size_t start = 0, end; (end = all.find(L'\0', start)) != all.npos; start = end + 1) {
        arguments.emplace_back(all.substr(start, end - start));
    }
    return Kind::Start;
}

LRESULT Answer(const apply::Result& result) {
    return (1 + result.kind) | (result.kind == apply::Result::Set && !result.stored ? kNotStoredFlag : 0);
}

}  // namespace handover
