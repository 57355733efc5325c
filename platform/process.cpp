#include "platform/process.h"

#include "platform/unique_handle.h"

namespace platform {

std::wstring SystemDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const UINT length = ::GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length);
    }
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

DWORD StartProcess(const std::wstring& application, const std::wstring& commandLine,
                   const std::wstring& workingDirectory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring mutableCommandLine = commandLine;
    if (!::CreateProcessW(application.empty() ? nullptr : application.c_str(), mutableCommandLine.data(), nullptr,
                          nullptr, FALSE, 0, nullptr, workingDirectory.empty() ? nullptr : workingDirectory.c_str(),
                          &startup, &info)) {
        const DWORD error = ::GetLastError();
        return error != 0 ? error : ERROR_GEN_FAILURE;
    }
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    return 0;
}

}  // namespace platform
