#pragma once
// Helpers for tests and benchmarks that drive GTK windows and embedded browsers.
#include <functional>

typedef struct _GtkWidget GtkWidget;

// Runs the main loop until the condition holds or the seconds have passed; false then.
bool SpinUntil(const std::function<bool()>& condition, int seconds = 15);
// The embedded browser inside a widget tree, or null.
GtkWidget* FindWebView(GtkWidget* widget);
// A shown toplevel window that holds a browser, with that browser; null when there is none.
GtkWidget* VisibleBrowserWindow(GtkWidget** view);
