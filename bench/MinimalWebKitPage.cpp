// The floor for the launcher's start: the least a WebKitGTK program does to show a page, a
// window with one browser that trusts the stand-in site's certificate, loads the address and
// shows itself once the page has loaded.
//   vk-minimal-webkit-page URL CERTIFICATE.pem
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3 || !gtk_init_check(&argc, &argv)) {
        std::fputs("usage: vk-minimal-webkit-page URL CERTIFICATE.pem (on a desktop)\n", stderr);
        return 2;
    }
    WebKitWebContext* context = webkit_web_context_new();
    if (GTlsCertificate* certificate = g_tls_certificate_new_from_file(argv[2], nullptr)) {
        webkit_web_context_allow_tls_certificate_for_host(context, certificate, "127.0.0.1");
        g_object_unref(certificate);
    }
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 960, 620);
    GtkWidget* view = webkit_web_view_new_with_context(context);
    gtk_container_add(GTK_CONTAINER(window), view);
    gtk_widget_show(view);
    g_signal_connect(view, "load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer window) {
        if (event == WEBKIT_LOAD_FINISHED) gtk_widget_show(GTK_WIDGET(window));
    }), window);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[1]);
    gtk_main();
    return 0;
}
