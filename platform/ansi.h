// Conversions between the program's wide texts and the system's ANSI code
// page, for the Windows functions that only come in their "A" form here.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

}  // namespace platform
