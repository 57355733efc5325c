// A program that leaks on request, so the suite can prove that each of its
// counters sees a leak before it trusts a flat one. Each message leaks one
// kind of resource and answers once it has.
#include "tests/robust/leaky.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Kept, so the compiler cannot drop the allocation.
std::vector<char*> kept;

LRESULT CALLBACK LeakyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace robust::leaky;
    switch (message) {
        case kLeakBrushes:
            for (int i = 0; i < kCount; ++i) ::CreateSolidBrush(RGB(i, 0, 0));
            return 1;
        case kLeakIcons:
            for (int i = 0; i < kCount; ++i) {
                BYTE andBits[128] = {};
                BYTE xorBits[128] = {};
                ::CreateIcon(nullptr, 32, 32, 1, 1, andBits, xorBits);
            }
            return 1;
        case kLeakWindows:
            for (int i = 0; i < kCount; ++i) {
                ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, window, nullptr, nullptr, nullptr);
            }
            return 1;
        case kLeakHandles:
            for (int i = 0; i < kCount; ++i) ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
            return 1;
        case kLeakMemory: {
            auto* block = static_cast<char*>(std::malloc(kMemoryBytes));
            if (!block) return 0;
            std::memset(block, 1, kMemoryBytes);  // touched, so it is in the working set
            kept.push_back(block);
            return 1;
        }
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LeakyProc;
    wc.hInstance = instance;
    wc.lpszClassName = robust::leaky::kClassName;
    ::RegisterClassW(&wc);
    ::CreateWindowExW(0, robust::leaky::kClassName, robust::leaky::kClassName, WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                      nullptr, instance, nullptr);
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
