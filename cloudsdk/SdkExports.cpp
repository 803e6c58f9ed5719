#include "SdkExports.h"

#include "CmdLineParser.h"
#include "CyberChannel.h"
#include "SdkState.h"
#include "TokenCodec.h"
#include "VMChannel.h"

#include "CommandLine.h"
#include "ExportBoundary.h"
#include "Text.h"

#include <cstring>
#include <memory>

#define SDK_EXPORT __attribute__((visibility("default")))

namespace {

// One channel object of each kind per process, destroyed at unload (closing an open pipe).
std::unique_ptr<CVMChannel> g_pipeChannel;
std::unique_ptr<CCyberChannel> g_gatewayChannel;

int CopyToken(const std::string& decoded, char* buffer, std::uint32_t bufferSize) {
    const std::string text = decoded.substr(0, decoded.find('\0'));
    if (buffer == nullptr || bufferSize == 0 || text.size() + 1 > bufferSize) {
        if (buffer != nullptr && bufferSize >= 1) buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return 1;
}

}  // namespace

int GetTokenBuffFromCommandLine(const std::wstring& commandLine, char* buffer, std::uint32_t bufferSize) {
    if (commandLine.empty()) return 0;
    const CCmdLineParser parser(commandLine);
    int result = 0;
    if (parser.HasKey(L"token")) {
        const std::string decoded =
            DecodeToken(platform::WideToMultiByte(platform::CP_THREAD_ACP, parser.GetValue(L"token")));
        if (!decoded.empty()) result = CopyToken(decoded, buffer, bufferSize);
    }
    if (parser.HasKey(L"userID")) {
        StoreUserId(platform::WideToMultiByte(platform::CP_THREAD_ACP, parser.GetValue(L"userID")));
    }
    return result;
}

extern "C" SDK_EXPORT int GetTokenBuff(char* buffer, std::uint32_t bufferSize) {
    return platform::ExportBoundary(0, [&] { return GetTokenBuffFromCommandLine(platform::GetCommandLineW(), buffer, bufferSize); });
}

extern "C" SDK_EXPORT int GoPayUrl(const char* url) {
    return platform::ExportBoundary(0, [&] {
        if (url == nullptr || url[0] == '\0') return 0;
        const std::string encoded = EncodePayUrl(url);
        switch (SelectedChannel()) {
        case PayChannel::Pipe:
            if (!g_pipeChannel) g_pipeChannel = std::make_unique<CVMChannel>();
            return g_pipeChannel->WritePipe(encoded.c_str(), static_cast<std::uint32_t>(encoded.size())) ? 1 : 0;
        case PayChannel::Gateway:
            if (StoredUserId().empty()) return 0;
            if (!g_gatewayChannel) g_gatewayChannel = std::make_unique<CCyberChannel>();
            return g_gatewayChannel->SendTerminalCmd(encoded.c_str()) ? 1 : 0;
        }
        return 0;
    });
}
