// Binds a function of a Windows system DLL on its first call, so that DLLs the
// first window does not need (oleaut32 drags in COM, shell32 is large) are only
// loaded when the user asks for something that needs them.
#pragma once

#include <windows.h>

namespace platform {

// Loads the DLL from the system folder only (never from the program's folder
// or the working folder) and keeps it for the rest of the process.
FARPROC SystemProcAddress(const wchar_t* dll, const char* name);

template <typename Fn>
Fn* BindSystemFunction(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Fn*>(reinterpret_cast<void*>(SystemProcAddress(dll, name)));
}

}  // namespace platform
