#include "platform/app_info.h"

#include <windows.h>

namespace platform {

std::wstring AppDirectory() {
    // Grow the buffer until the path is not cut off: long paths exceed MAX_PATH.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return {};
    // Keep the backslash of a drive's root ("C:\"), drop it elsewhere.
    const bool isRoot = slash == 2 && path[1] == L':';
    path.resize(isRoot ? slash + 1 : slash);
    return path;
}

}  // namespace platform
