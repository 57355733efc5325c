// Move-only owners for the handles Horlomat holds. Each trait names the value
// meaning "no handle" and how to give a handle back.
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    Type release() noexcept { return std::exchange(handle_, nullptr); }
    void reset(Type handle = nullptr) noexcept {
        if (Type old = std::exchange(handle_, handle)) Traits::Close(old);
    }
    // For out-parameters: frees what is held and hands out the slot.
    Type* put() noexcept {
        reset();
        return &handle_;
    }

private:
    Type handle_ = nullptr;
};

// Null for "none": what OpenProcess and CreateMutexW return on failure.
struct KernelHandleTraits {
    using Type = HANDLE;
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};

struct RegKeyTraits {
    using Type = HKEY;
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

template <typename T>
struct GdiObjectTraits {
    using Type = T;
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;

}  // namespace platform
