#include "platform/system_library.h"

namespace platform {

FARPROC SystemProcAddress(const wchar_t* dll, const char* name) {
    HMODULE module = ::GetModuleHandleW(dll);
    if (!module) module = ::LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? ::GetProcAddress(module, name) : nullptr;
}

}  // namespace platform
