#pragma once
// The desktop through GTK 3: each skinned window a frameless toplevel, moved and resized by
// the window manager, its drop shadow a click-through window of its own where the desktop
// composites.
#include "DisplayBackend.h"

#include <memory>
#include <string>

namespace uikit {

// The GTK display when a desktop can be reached, or null. The desktop knows the program's
// windows by programName (their window class), when one is given.
std::unique_ptr<IDisplayBackend> CreateGtkDisplay(const std::string& programName = {});

}  // namespace uikit
