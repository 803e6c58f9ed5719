#pragma once
// Helpers for tests and benchmarks that drive GTK windows and embedded browsers.
#include <functional>
#include <string>

typedef struct _GtkWidget GtkWidget;

// Runs the main loop until the condition holds or the seconds have passed; false then.
bool SpinUntil(const std::function<bool()>& condition, int seconds = 15);
// The embedded browser inside a widget tree, or null.
GtkWidget* FindWebView(GtkWidget* widget);
// The text a script gives back in the browser's page (its result turned into text), after
// running the loop until it has; empty on time-out.
std::string RunScript(GtkWidget* view, const char* script);
// A child of the browser of the given type name (an open script dialog is
// "WebKitScriptDialogImpl"), shown; null when there is none.
GtkWidget* ShownBrowserChild(GtkWidget* view, const char* typeName);
// A shown toplevel window that holds a browser, with that browser; null when there is none.
GtkWidget* VisibleBrowserWindow(GtkWidget** view);
