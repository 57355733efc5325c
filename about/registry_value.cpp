#include "about/registry_value.h"

#include "platform/ansi.h"

#include <cstdint>

namespace about {

RegistryText DecodeRegistryValue(DWORD type, std::string_view bytes) {
    using Kind = RegistryText::Kind;
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_DWORD) return {Kind::Unconverted, {}};

    if (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);

    if (type == REG_DWORD) {
        if (bytes.empty()) return {Kind::Text, {}};
        if (bytes.size() > sizeof(std::uint32_t)) return {Kind::Malformed, {}};
        std::uint32_t number = 0;
        for (size_t i = bytes.size(); i-- > 0;) number = (number << 8) | static_cast<unsigned char>(bytes[i]);
        return {Kind::Text, std::to_wstring(number)};
    }
    return {type == REG_EXPAND_SZ ? Kind::Expandable : Kind::Text, platform::FromAnsi(bytes)};
}

}  // namespace about
