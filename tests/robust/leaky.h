// The messages that robust_leaky.exe answers, each by leaking kCount objects
// of one kind (or kMemoryBytes of memory).
#pragma once

#include <windows.h>

namespace robust::leaky {

inline constexpr wchar_t kClassName[] = L"HorlomatRobustLeaky";
inline constexpr int kCount = 50;
inline constexpr size_t kMemoryBytes = 8u << 20;

inline constexpr UINT kLeakBrushes = WM_APP + 1;
inline constexpr UINT kLeakIcons = WM_APP + 2;
inline constexpr UINT kLeakWindows = WM_APP + 3;
inline constexpr UINT kLeakHandles = WM_APP + 4;
inline constexpr UINT kLeakMemory = WM_APP + 5;

}  // namespace robust::leaky
