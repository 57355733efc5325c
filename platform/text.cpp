#include "platform/text.h"

#include <oleauto.h>

namespace platform {

std::string ToAnsi(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), needed, nullptr, nullptr);
    return result;
}

std::wstring FromAnsi(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), needed);
    return result;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

ShortConversion TextToShort(const std::wstring& text) {
    SHORT value = 0;
    std::wstring copy = text;  // some SDKs declare the text parameter non-const
    const HRESULT hr = ::VarI2FromStr(copy.data(), LOCALE_USER_DEFAULT, 0, &value);
    if (SUCCEEDED(hr)) return {ConversionError::None, value};
    return {hr == DISP_E_OVERFLOW ? ConversionError::Overflow : ConversionError::TypeMismatch, 0};
}

std::optional<double> TextToDate(const std::wstring& text) {
    DATE date = 0;
    std::wstring copy = text;
    if (FAILED(::VarDateFromStr(copy.data(), LOCALE_USER_DEFAULT, 0, &date))) return std::nullopt;
    return date;
}

std::wstring DateToText(double date) {
    // Through a VARIANT rather than VarBstrFromDate(double, ...): MinGW's delay-load thunk loses a floating-point
    // argument on the first call, and oleaut32 is loaded on first use.
    VARIANT in{}, out{};
    in.vt = VT_DATE;
    in.date = date;
    if (FAILED(::VariantChangeTypeEx(&out, &in, LOCALE_USER_DEFAULT, 0, VT_BSTR))) return {};
    std::wstring result(out.bstrVal, ::SysStringLen(out.bstrVal));
    ::VariantClear(&out);
    return result;
}

std::wstring Filled(std::wstring text, std::wstring_view first, std::wstring_view second) {
    if (const size_t at = text.find(L"%1"); at != text.npos) text.replace(at, 2, first);
    if (const size_t at = text.find(L"%2"); at != text.npos) text.replace(at, 2, second);
    return text;
}

std::wstring SystemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text.empty() ? L"Fehlercode " + std::to_wstring(error) : text;
}

}  // namespace platform
