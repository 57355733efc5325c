// The maker's logo, a GIF stored in the program's resources, decoded by the
// system's picture loader (oleaut32), which is only loaded when needed.
#pragma once

#include "platform/unique_handle.h"

#include <windows.h>

namespace about {

// The logo as a bitmap of width x height pixels; empty when it cannot be
// decoded. Needs COM on the calling thread (platform::ComApartment).
platform::UniqueBitmap LoadLogo(HINSTANCE instance, int width, int height);

}  // namespace about
