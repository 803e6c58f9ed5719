// The browser dialog from CreateDlg to its document complete, beside a minimal WebKitGTK
// window loading the same local page (the floor), and the memory (PSS) of the process tree
// once each has loaded. Needs an X server (bench/run uses xvfb-run).
#include "GtkLoop.h"
#include "ProcessTreeMemory.h"
#include "WindowCore.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <fstream>
#include <gtk/gtk.h>
#include <string>
#include <unistd.h>
#include <webkit2/webkit2.h>

namespace {

using CreateDlgFunction = std::int32_t (*)(int, int, const char*, bool);

std::string PageUrl() {
    static const std::string url = [] {
        const std::string path = "/tmp/vk-bench-page-" + std::to_string(getpid()) + ".html";
        std::ofstream(path) << "<html><head><meta charset='utf-8'></head><body><h1>支付</h1><p>page</p></body></html>";
        return "file://" + path;
    }();
    return url;
}

void WaitLoaded(WebKitWebView* view) {
    while (webkit_web_view_is_loading(view) || webkit_web_view_get_estimated_load_progress(view) < 1.0) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

// Opens a browser window, waits for its page, weighs the process tree, and closes it the
// way its owner would.
template <typename Open, typename Close>
void MeasureLoads(benchmark::State& state, Open open, Close close) {
    TreePss pss;
    for (auto _ : state) {
        const auto opened = open();
        GtkWidget* view = nullptr;
        GtkWidget* window = nullptr;
        while ((window = VisibleBrowserWindow(&view)) == nullptr) g_main_context_iteration(nullptr, TRUE);
        WaitLoaded(WEBKIT_WEB_VIEW(view));
        state.PauseTiming();
        pss = ProcessTreePssKiB(getpid());
        close(opened, window);
        while (g_main_context_iteration(nullptr, FALSE)) {}
        state.ResumeTiming();
    }
    state.counters["tree_pss_kib"] = static_cast<double>(pss.Total());
    state.counters["own_pss_kib"] = static_cast<double>(pss.own);
}

void BM_CreateDlgToDocumentComplete(benchmark::State& state) {
    static void* library = dlopen(VK_BIN_DIR "/libpagehost.so", RTLD_NOW | RTLD_LOCAL);
    auto createDlg = reinterpret_cast<CreateDlgFunction>(dlsym(library, "CreateDlg"));
    MeasureLoads(
        state, [&] { return createDlg(800, 600, PageUrl().c_str(), false); },
        // The host destroys a modeless dialog by its handle.
        [](std::int32_t handle, GtkWidget*) { platform::DestroyWindow(handle); });
}

void BM_MinimalWebKitWindow(benchmark::State& state) {
    MeasureLoads(
        state,
        [] {
            GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
            GtkWidget* view = webkit_web_view_new();
            gtk_widget_set_size_request(view, 800, 600);
            gtk_container_add(GTK_CONTAINER(window), view);
            gtk_widget_show_all(window);
            webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), PageUrl().c_str());
            return 0;
        },
        [](int, GtkWidget* window) { gtk_widget_destroy(window); });
}

// Alternated, so neither side has the warmer web processes.
BENCHMARK(BM_MinimalWebKitWindow)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_CreateDlgToDocumentComplete)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_MinimalWebKitWindow)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_CreateDlgToDocumentComplete)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    if (!gtk_init_check(&argc, &argv)) {
        std::fputs("vk_dialog_benchmarks: needs an X server (run under xvfb-run)\n", stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
