#include "about/logo_picture.h"

#include "assets/resource_ids.h"
#include "platform/system_library.h"

#include <objbase.h>
#include <objidl.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <memory>

namespace about {
namespace {

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using ComPointer = std::unique_ptr<T, ComRelease>;

struct GlobalFreeDeleter {
    void operator()(void* memory) const { ::GlobalFree(memory); }
};

// IID_IPicture, spelled out so that no import library is needed for it.
constexpr IID kIidPicture = {0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

// A copy of `size` bytes in a stream of their own; the stream frees its memory.
ComPointer<IStream> StreamOf(const void* bytes, DWORD size) {
    static auto* const createStream =
        platform::BindSystemFunction<decltype(::CreateStreamOnHGlobal)>(L"ole32.dll", "CreateStreamOnHGlobal");
    if (!createStream) return nullptr;

    std::unique_ptr<void, GlobalFreeDeleter> memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    void* target = memory ? ::GlobalLock(memory.get()) : nullptr;
    if (!target) return nullptr;
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(memory.get());

    IStream* stream = nullptr;
    if (FAILED(createStream(memory.get(), TRUE, &stream)) || !stream) return nullptr;
    memory.release();  // now the stream's
    return ComPointer<IStream>(stream);
}

}  // namespace

platform::UniqueBitmap LoadLogo(HINSTANCE instance, int width, int height) {
    static auto* const loadPicture =
        platform::BindSystemFunction<decltype(::OleLoadPicture)>(L"oleaut32.dll", "OleLoadPicture");
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(IDR_LOGO), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    const DWORD size = found ? ::SizeofResource(instance, found) : 0;
    const void* bytes = size ? ::LockResource(::LoadResource(instance, found)) : nullptr;
    if (!loadPicture || !bytes) return {};
    ComPointer<IStream> stream = StreamOf(bytes, size);
    if (!stream) return {};

    void* object = nullptr;
    if (FAILED(loadPicture(stream.get(), static_cast<LONG>(size), FALSE, kIidPicture, &object)) || !object) return {};
    ComPointer<IPicture> picture(static_cast<IPicture*>(object));

    short type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle))) {
        return {};
    }
    // GDI handles fit in 32 bits and are sign-extended on 64-bit Windows. The
    // picture owns its bitmap, so a copy in the wanted size is kept instead.
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
    return platform::UniqueBitmap(
        static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, width, height, LR_CREATEDIBSECTION)));
}

}  // namespace about
