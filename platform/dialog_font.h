// The default dialog font of Horlomat's windows: "MS Shell Dlg 2" at 8 points,
// scaled to the window's DPI.
#pragma once

#include "platform/unique_handle.h"

namespace platform {

UniqueFont CreateDialogFont(int dpi);

}  // namespace platform
