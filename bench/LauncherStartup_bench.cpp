// The work a launcher start does before it has a window: folding the command line into
// JSON, reading it into the record, and writing log lines.
#include "CmdParam.h"
#include "GameLoaderWnd.h"
#include "Logger.h"

#include "CommandLine.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>

namespace {

std::filesystem::path ScratchDir() {
    static const std::filesystem::path dir = [] {
        auto path = std::filesystem::temp_directory_path() / "vk-bench";
        std::filesystem::create_directories(path / "log");
        setenv("XDG_DATA_HOME", path.c_str(), 1);
        LogDir = "/nonexistent-log-dir/";  // the process logger stays off
        return path;
    }();
    return dir;
}

const std::wstring kTenOptions = platform::BuildCommandLine(
    {L"/opt/vornakel/vornakel_main", L"--winid=1050", L"--source=TW", L"--tokenLogin=0",
     L"--token=0123456789abcdef0123456789abcdef01234567", L"--twext=extra", L"--installed=1", L"--gameMgrId=2060",
     L"--typeMode=1", L"--instGamePath=/opt/Tidewell Games", L"--cacheGamePath=/var/cache/tidewell"});

void BM_ParseCmdParamTenOptions(benchmark::State& state) {
    ScratchDir();
    for (auto _ : state) {
        std::wstring output;
        benchmark::DoNotOptimize(ParseCmdParam(output, kTenOptions));
        benchmark::DoNotOptimize(output);
    }
}
BENCHMARK(BM_ParseCmdParamTenOptions);

void BM_ParseCmdJson(benchmark::State& state) {
    ScratchDir();
    std::wstring json;
    ParseCmdParam(json, kTenOptions);
    // Without winid, so the figure is the parse and not the settings file write.
    json.replace(json.find(L"\"winid\""), std::wstring(L"\"winid\"").size(), L"\"xinid\"");
    for (auto _ : state) {
        GameLoaderWnd window(json);
        benchmark::DoNotOptimize(window.ParseCmdJson());
    }
}
BENCHMARK(BM_ParseCmdJson);

void BM_ParseCmdJsonWithSettingsWrite(benchmark::State& state) {
    ScratchDir();
    std::wstring json;
    ParseCmdParam(json, kTenOptions);
    for (auto _ : state) {
        GameLoaderWnd window(json);
        benchmark::DoNotOptimize(window.ParseCmdJson());
    }
}
BENCHMARK(BM_ParseCmdJsonWithSettingsWrite);

void BM_LogWriteOneLine(benchmark::State& state) {
    const std::string dir = (ScratchDir() / "log").string() + "/";
    Logger logger(dir, "vornakel_main");
    for (auto _ : state) {
        logger.LogWrite(2, __FILE__, __LINE__, "wWinMain", L"CreateMutex not ERROR_ALREADY_EXISTS:vornakel_main.exe");
    }
    std::filesystem::remove(logger.FileName());
}
BENCHMARK(BM_LogWriteOneLine);

// The floor of a log line: the same bytes appended with one write to a file kept open.
void BM_RawAppendWriteOneLine(benchmark::State& state) {
    const std::string path = (ScratchDir() / "log" / "raw.log").string();
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const std::string line =
        "2026-12-11 13:40:31.559 [Main.cpp<70>wWinMain] : CreateMutex not ERROR_ALREADY_EXISTS:vornakel_main.exe\n";
    for (auto _ : state) benchmark::DoNotOptimize(write(fd, line.data(), line.size()));
    close(fd);
    std::filesystem::remove(path);
}
BENCHMARK(BM_RawAppendWriteOneLine);

}  // namespace
