#pragma once
// The desktop through GTK 3: each skinned window a frameless toplevel, moved and resized by
// the window manager, its drop shadow a click-through window of its own where the desktop
// composites.
#include "DisplayBackend.h"

#include <memory>

namespace uikit {

// The GTK display when a desktop can be reached, or null.
std::unique_ptr<IDisplayBackend> CreateGtkDisplay();

}  // namespace uikit
