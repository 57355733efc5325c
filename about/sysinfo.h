// Finds the system's information tool through the registry and starts it.
#pragma once

#include <windows.h>

#include <string>

namespace about {

// Starts the tool, or tells the user in one message box, owned by `owner`,
// that it is unavailable. Returns once the tool is started or the box closed.
void StartSysInfo(HWND owner);

// Reads one value below `KeyRoot` as text into `KeyVal`: true when it was read.
// A type that is not read as text (neither REG_SZ, REG_EXPAND_SZ nor
// REG_DWORD) counts as found and leaves `KeyVal` as it was. On false `KeyVal`
// is empty.
bool GetKeyValue(HKEY KeyRoot, const std::wstring& KeyName, const std::wstring& SubKeyRef, std::wstring& KeyVal);

}  // namespace about
