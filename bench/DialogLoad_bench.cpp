// The browser dialog from CreateDlg to its document complete, beside a minimal WebKitGTK
// window loading the same local page (the floor), and the memory (PSS) of the process tree
// once each has loaded. Needs an X server (bench/run uses xvfb-run).
#include "GtkLoop.h"
#include "WindowCore.h"

#include <benchmark/benchmark.h>
#include <dirent.h>
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

struct TreePss {
    long own = 0;       // this process, in KiB
    long children = 0;  // the browser's processes below it, in KiB
};

// The proportional memory of this process and of every process below it.
TreePss ProcessTreePssKiB() {
    const auto pssOf = [](const std::string& pid) {
        std::ifstream rollup("/proc/" + pid + "/smaps_rollup");
        std::string line;
        while (std::getline(rollup, line)) {
            if (line.rfind("Pss:", 0) == 0) return std::stol(line.substr(4));
        }
        return 0L;
    };
    TreePss total;
    total.own = pssOf(std::to_string(getpid()));
    if (DIR* proc = opendir("/proc")) {
        while (const dirent* entry = readdir(proc)) {
            const std::string pid = entry->d_name;
            if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
            std::ifstream stat("/proc/" + pid + "/stat");
            std::string text;
            std::getline(stat, text);
            const std::size_t close = text.rfind(')');
            if (close == std::string::npos) continue;
            long parent = 0;
            char state;
            if (std::sscanf(text.c_str() + close + 1, " %c %ld", &state, &parent) == 2 && parent == getpid()) {
                total.children += pssOf(pid);
            }
        }
        closedir(proc);
    }
    return total;
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
        pss = ProcessTreePssKiB();
        close(opened, window);
        while (g_main_context_iteration(nullptr, FALSE)) {}
        state.ResumeTiming();
    }
    state.counters["tree_pss_kib"] = static_cast<double>(pss.own + pss.children);
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
