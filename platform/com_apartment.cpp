#include "platform/com_apartment.h"

#include "platform/system_library.h"

#include <objbase.h>
#include <windows.h>

namespace platform {
namespace {

constexpr wchar_t kOle32[] = L"ole32.dll";

}  // namespace

ComApartment::ComApartment() {
    static auto* const initialize = BindSystemFunction<decltype(::CoInitializeEx)>(kOle32, "CoInitializeEx");
    // A thread that already has COM keeps it; each successful call (S_FALSE
    // too) needs its own CoUninitialize.
    initialized_ = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

ComApartment::~ComApartment() {
    static auto* const uninitialize = BindSystemFunction<decltype(::CoUninitialize)>(kOle32, "CoUninitialize");
    if (initialized_ && uninitialize) uninitialize();
}

}  // namespace platform
