#include "GtkLoop.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

bool SpinUntil(const std::function<bool()>& condition, int seconds) {
    const gint64 deadline = g_get_monotonic_time() + seconds * G_USEC_PER_SEC;
    while (!condition()) {
        if (g_get_monotonic_time() > deadline) return false;
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
    return true;
}

GtkWidget* FindWebView(GtkWidget* widget) {
    if (WEBKIT_IS_WEB_VIEW(widget)) return widget;
    if (!GTK_IS_CONTAINER(widget)) return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
        found = FindWebView(GTK_WIDGET(child->data));
    }
    g_list_free(children);
    return found;
}

GtkWidget* VisibleBrowserWindow(GtkWidget** view) {
    GList* toplevels = gtk_window_list_toplevels();
    GtkWidget* window = nullptr;
    *view = nullptr;
    for (GList* item = toplevels; item != nullptr && window == nullptr; item = item->next) {
        GtkWidget* candidate = GTK_WIDGET(item->data);
        if (gtk_widget_get_visible(candidate) && (*view = FindWebView(candidate)) != nullptr) window = candidate;
    }
    g_list_free(toplevels);
    return window;
}
