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

std::string RunScript(GtkWidget* view, const char* script) {
    struct Outcome {
        bool done = false;
        std::string text;
    };
    // On the heap: a script that never answers must not leave its callback a dead frame.
    auto* pending = new Outcome();
    Outcome& outcome = *pending;
    webkit_web_view_run_javascript(
        WEBKIT_WEB_VIEW(view), script, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* outcome = static_cast<Outcome*>(data);
            WebKitJavascriptResult* value = webkit_web_view_run_javascript_finish(WEBKIT_WEB_VIEW(source), result, nullptr);
            if (value != nullptr) {
                char* text = jsc_value_to_string(webkit_javascript_result_get_js_value(value));
                outcome->text = text != nullptr ? text : "";
                g_free(text);
                webkit_javascript_result_unref(value);
            }
            outcome->done = true;
        },
        pending);
    if (!SpinUntil([&] { return outcome.done; })) return {};
    const std::string text = outcome.text;
    delete pending;
    return text;
}

GtkWidget* ShownBrowserChild(GtkWidget* view, const char* typeName) {
    struct Search {
        const char* typeName;
        GtkWidget* found = nullptr;
    } search{typeName};
    gtk_container_forall(
        GTK_CONTAINER(view),
        [](GtkWidget* child, gpointer data) {
            auto* search = static_cast<Search*>(data);
            if (gtk_widget_get_visible(child) && std::string(G_OBJECT_TYPE_NAME(child)) == search->typeName) search->found = child;
        },
        &search);
    return search.found;
}
