// Looking at a settings file the way the next start of Horlomat will.
#pragma once

#include "tests/robust/drive.h"

#include <optional>
#include <string>

namespace robust {

// What the next start reads for `key` of section Zeit: the profile function
// with the program's 255-character buffer, converted from the ANSI code page.
std::wstring ReadAtStart(const std::wstring& iniPath, const wchar_t* key, const std::wstring& defaultValue);

// Empty when `bytes`, the whole file, holds section Zeit once, with exactly the
// six keys once each, nothing else, and the values read back as `fields` and
// JA or NEIN; otherwise what is wrong.
std::string CheckHoldsExactly(const std::wstring& iniPath, const std::string& bytes, const Fields& fields, bool hold);

// Whether a value can be kept in the file at all, so that it reads back whole:
// a text the ANSI code page holds, without line breaks, short enough for the
// reader's buffer even when it has to go in quotes.
bool FileCanHold(const std::wstring& text);

}  // namespace robust
