// The UI framework's own work per window, off screen: from window creation to the first
// complete frame (archive, markup, layout, image decoding, painting), after the one-time
// start of the font system; a repaint of the progress bar; the memory of a built tree.
#include "WindowImplBase.h"

#include "IsolatedBenchEnvironment.h"
#include "SkinArchive.h"
#include "UIContainer.h"
#include "UILabel.h"
#include "UIPaint.h"
#include "display/HeadlessDisplay.h"

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

// Live bytes of C++ allocations, to weigh the control tree.
static std::atomic<long long> g_liveBytes{0};

void* operator new(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) throw std::bad_alloc();
    g_liveBytes += static_cast<long long>(malloc_usable_size(memory));
    return memory;
}

void operator delete(void* memory) noexcept {
    if (memory == nullptr) return;
    g_liveBytes -= static_cast<long long>(malloc_usable_size(memory));
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }

namespace {

class BenchWindow : public uikit::WindowImplBase {
public:
    BenchWindow(const wchar_t* layout, const wchar_t* className) : m_layout(layout), m_className(className) {}
    const wchar_t* GetWindowClassName() const override { return m_className; }
    std::wstring GetSkinFolder() const override { return L""; }
    std::wstring GetSkinFile() const override { return m_layout; }
    int GetResourceID() const override { return 130; }

protected:
    void InitWindow() override {
        if (auto* tab = m_PaintManager.FindControlAs<uikit::CTabLayoutUI>("wizardTab")) tab->SelectItem(1);
    }

private:
    const wchar_t* m_layout;
    const wchar_t* m_className;
};

uikit::CHeadlessDisplay& Headless() { return dynamic_cast<uikit::CHeadlessDisplay&>(uikit::Display()); }

// Creates the window and paints its first frame, shadow included.
void FirstFrame(const wchar_t* layout, const wchar_t* className) {
    BenchWindow window(layout, className);
    const platform::HWND hwnd = window.Create(0, L"bench", 0, 0);
    cairo_surface_t* frame = Headless().Snapshot(hwnd);
    benchmark::DoNotOptimize(frame);
    cairo_surface_destroy(frame);
    platform::DestroyWindow(hwnd);
}

void BM_MainWindowFirstFrame(benchmark::State& state) {
    IsolatedBenchEnvironment environment;
    FirstFrame(L"GameLoader.xml", L"BenchMain");  // starts the font system and decodes images once
    for (auto _ : state) FirstFrame(L"GameLoader.xml", L"BenchMain");
}
BENCHMARK(BM_MainWindowFirstFrame)->Unit(benchmark::kMillisecond);

void BM_MessageBoxFirstFrame(benchmark::State& state) {
    IsolatedBenchEnvironment environment;
    FirstFrame(L"CustomMsgBox.xml", L"BenchBox");
    for (auto _ : state) FirstFrame(L"CustomMsgBox.xml", L"BenchBox");
}
BENCHMARK(BM_MessageBoxFirstFrame)->Unit(benchmark::kMillisecond);

void BM_ProgressRepaint(benchmark::State& state) {
    IsolatedBenchEnvironment environment;
    BenchWindow window(L"GameLoader.xml", L"BenchProgress");
    const platform::HWND hwnd = window.Create(0, L"bench", 0, 0);
    auto* progress = window.m_PaintManager.FindControlAs<uikit::CProgressUI>("progress");
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 960, 620);
    cairo_t* cr = cairo_create(surface);
    uikit::CPaintContext paint(cr, window.m_PaintManager, uikit::CSkinArchive::Current());
    int value = 0;
    for (auto _ : state) {
        value = (value + 7) % 101;
        progress->SetValue(value);
        progress->DoPaint(paint);
        cairo_surface_flush(surface);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    platform::DestroyWindow(hwnd);
}
BENCHMARK(BM_ProgressRepaint)->Unit(benchmark::kMicrosecond);

void BM_BuiltTreeMemory(benchmark::State& state) {
    IsolatedBenchEnvironment environment;
    FirstFrame(L"GameLoader.xml", L"BenchMemory");
    for (auto _ : state) {
        const long long before = g_liveBytes;
        BenchWindow window(L"GameLoader.xml", L"BenchMemory");
        const platform::HWND hwnd = window.Create(0, L"bench", 0, 0);
        state.counters["tree_bytes"] = static_cast<double>(g_liveBytes - before);
        platform::DestroyWindow(hwnd);
    }
}
BENCHMARK(BM_BuiltTreeMemory)->Iterations(5);

}  // namespace
