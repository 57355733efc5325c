// Finds the system information tool through two registry values and starts it.
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
// is empty. A text may be stored with or without its terminating zero: one
// trailing zero byte is dropped, no more. A REG_DWORD is its little-endian
// number of one to four bytes, written as unsigned decimal, so 0xFFFFFFFF
// reads "4294967295" as regedit shows it.
bool GetKeyValue(HKEY KeyRoot, const std::wstring& KeyName, const std::wstring& SubKeyRef, std::wstring& KeyVal);

}  // namespace about
