// One registry call (open a key, read a value, close) on hives of growing size: the cost of
// a call should grow with the hive's size, not with its square.
#include "Registry.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

// A user hive with `keys` keys of one value each, in a private config folder.
class HiveFixture {
public:
    explicit HiveFixture(long keys) {
        m_root = std::filesystem::temp_directory_path() / ("vk-bench-hive-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_root / "tidewell");
        setenv("XDG_CONFIG_HOME", m_root.c_str(), 1);
        std::ofstream hive(m_root / "tidewell" / "HKEY_CURRENT_USER.reg", std::ios::binary);
        hive << "Windows Registry Editor Version 5.00\n";
        for (long i = 0; i < keys; ++i) {
            hive << "\n[HKEY_CURRENT_USER\\Software\\Games\\Game" << i << "]\n\"DisplayIcon\"=\"/opt/g" << i << "\"\n";
        }
        m_strLastKey = L"Software\\Games\\Game" + std::to_wstring(keys - 1);
    }
    ~HiveFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    const std::wstring& LastKey() const { return m_strLastKey; }

private:
    std::filesystem::path m_root;
    std::wstring m_strLastKey;
};

void BM_RegistryQueryOnHiveOfKeys(benchmark::State& state) {
    const HiveFixture fixture(state.range(0));
    for (auto _ : state) {
        platform::HKEY key = nullptr;
        if (platform::RegOpenKeyExW(platform::HKEY_CURRENT_USER, fixture.LastKey().c_str(), 0, platform::KEY_READ, &key) !=
            platform::ERROR_SUCCESS) {
            state.SkipWithError("key not found");
            break;
        }
        platform::BYTE data[520];
        platform::DWORD size = sizeof(data);
        benchmark::DoNotOptimize(platform::RegQueryValueExW(key, L"DisplayIcon", nullptr, data, &size));
        platform::RegCloseKey(key);
    }
    state.SetLabel(std::to_string(state.range(0)) + " keys");
}
BENCHMARK(BM_RegistryQueryOnHiveOfKeys)->Arg(2500)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
