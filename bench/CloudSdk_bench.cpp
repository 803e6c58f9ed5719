// The SDK's per-call costs, each beside the raw library or system call it is built on.
#include "SdkExports.h"
#include "TokenCodec.h"
#include "VMChannel.h"

#include "CommandLine.h"
#include "IsolatedBenchEnvironment.h"
#include "LocalSocket.h"
#include "SessionDir.h"

#include <benchmark/benchmark.h>
#include <openssl/des.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

std::string Address(std::size_t length) {
    std::string address = "https://pay.example/?";
    while (address.size() < length) address += static_cast<char>('a' + address.size() % 26);
    return address.substr(0, length);
}

void BM_DecodeToken(benchmark::State& state) {
    const std::string token = EncodePayUrl(Address(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(DecodeToken(token));
}
BENCHMARK(BM_DecodeToken)->Arg(64)->Arg(4096);

void BM_EncodePayUrl(benchmark::State& state) {
    const std::string address = Address(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(EncodePayUrl(address));
}
BENCHMARK(BM_EncodePayUrl)->Arg(64)->Arg(4096);

// The cipher alone, as a caller of libcrypto would run it: key schedule and CBC.
void BM_RawOpenSslDesCbc(benchmark::State& state) {
    const std::string plain(static_cast<std::size_t>(state.range(0)), 'x');
    std::string cipher(plain.size(), '\0');
    for (auto _ : state) {
        DES_cblock key;
        std::memcpy(key, "Hd4!w9Ks", 8);
        DES_key_schedule schedule;
        DES_set_key_unchecked(&key, &schedule);
        DES_cblock iv;
        std::memcpy(iv, "Hd4!w9Ks", 8);
        DES_ncbc_encrypt(reinterpret_cast<const unsigned char*>(plain.data()), reinterpret_cast<unsigned char*>(cipher.data()),
                         static_cast<long>(plain.size()), &schedule, &iv, DES_DECRYPT);
        benchmark::DoNotOptimize(cipher);
    }
}
BENCHMARK(BM_RawOpenSslDesCbc)->Arg(72)->Arg(4104);

void BM_GetTokenBuffTwentyOptions(benchmark::State& state) {
    std::vector<std::wstring> arguments = {L"/opt/game/client"};
    for (int i = 0; i < 18; ++i) arguments.push_back(L"--option" + std::to_wstring(i) + L"=value" + std::to_wstring(i));
    const std::string token = EncodePayUrl(Address(64));
    arguments.push_back(L"--token=" + std::wstring(token.begin(), token.end()));
    arguments.push_back(L"--other=1");
    const std::wstring line = platform::BuildCommandLine(arguments);
    char buffer[256];
    for (auto _ : state) benchmark::DoNotOptimize(GetTokenBuffFromCommandLine(line, buffer, sizeof(buffer)));
}
BENCHMARK(BM_GetTokenBuffTwentyOptions);

// A local platform client that drains every connection.
class DrainingPipeServer {
public:
    DrainingPipeServer()
        : m_listener(platform::LocalSocket::Listen(platform::SessionRuntimeDir() + "/" + kPlatformPipeName)),
          m_thread([this] {
              while (!m_stop) {
                  platform::LocalSocket client = m_listener.AcceptSameUser();
                  if (!client.IsValid()) continue;
                  char buffer[4096];
                  while (client.ReadSome(buffer, sizeof(buffer), platform::DeadlineAfter(1000)) > 0) {}
              }
          }) {}
    ~DrainingPipeServer() {
        m_stop = true;
        m_thread.join();
    }

private:
    platform::LocalSocket m_listener;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void BM_GoPayUrlThroughThePipe(benchmark::State& state) {
    IsolatedBenchEnvironment environment;
    DrainingPipeServer server;
    const std::string address = Address(64);
    for (auto _ : state) {
        if (GoPayUrl(address.c_str()) != 1) state.SkipWithError("delivery failed");
    }
}
BENCHMARK(BM_GoPayUrlThroughThePipe);

void BM_RawSocketConnectWrite(benchmark::State& state) {
    IsolatedBenchEnvironment environment;
    DrainingPipeServer server;
    const std::string path = platform::SessionRuntimeDir() + "/" + kPlatformPipeName;
    const std::string message = EncodePayUrl(Address(64));
    for (auto _ : state) {
        const platform::LocalSocket socket = platform::LocalSocket::Connect(path, platform::DeadlineAfter(0));
        benchmark::DoNotOptimize(socket.WriteAll(message, platform::DeadlineAfter(1000)));
    }
}
BENCHMARK(BM_RawSocketConnectWrite);

}  // namespace
