#pragma once
// What a window's native child surface is on the GTK desktop: the fixed container that the
// display back end gives a window for its children. Only GTK back ends include this.
#include "WindowCore.h"

typedef struct _GtkWidget GtkWidget;

namespace platform {

struct NativeChildSurface {
    GtkWidget* container = nullptr;
};

}  // namespace platform
