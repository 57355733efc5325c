#include "platform/variant_convert.h"

#include "platform/system_library.h"

#include <oleauto.h>
#include <windows.h>

namespace platform {
namespace {

constexpr wchar_t kOleAut[] = L"oleaut32.dll";

template <typename Fn>
Fn* Bind(const char* name) {
    return BindSystemFunction<Fn>(kOleAut, name);
}

}  // namespace

ShortConversion TextToShort(const std::wstring& text) {
    static auto* const fromStr = Bind<decltype(::VarI2FromStr)>("VarI2FromStr");
    if (!fromStr) return {ConversionError::Unavailable, 0};
    SHORT value = 0;
    std::wstring copy = text;  // some SDKs declare the text parameter non-const
    const HRESULT hr = fromStr(copy.data(), LOCALE_USER_DEFAULT, 0, &value);
    if (SUCCEEDED(hr)) return {ConversionError::None, value};
    if (hr == DISP_E_OVERFLOW) return {ConversionError::Overflow, 0};
    return {ConversionError::TypeMismatch, 0};
}

std::optional<double> TextToDate(const std::wstring& text) {
    static auto* const fromStr = Bind<decltype(::VarDateFromStr)>("VarDateFromStr");
    if (!fromStr) return std::nullopt;
    DATE date = 0;
    std::wstring copy = text;
    if (FAILED(fromStr(copy.data(), LOCALE_USER_DEFAULT, 0, &date))) return std::nullopt;
    return date;
}

std::wstring DateToText(double date) {
    static auto* const fromDate = Bind<decltype(::VarBstrFromDate)>("VarBstrFromDate");
    static auto* const length = Bind<decltype(::SysStringLen)>("SysStringLen");
    static auto* const freeString = Bind<decltype(::SysFreeString)>("SysFreeString");
    if (!fromDate || !length || !freeString) return {};
    BSTR text = nullptr;
    if (FAILED(fromDate(date, LOCALE_USER_DEFAULT, 0, &text)) || !text) return {};
    std::wstring result(text, length(text));
    freeString(text);
    return result;
}

}  // namespace platform
