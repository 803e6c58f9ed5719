#include "SdkState.h"

namespace {

PayChannel g_channel = PayChannel::Pipe;
std::string g_userId;

}  // namespace

PayChannel SelectedChannel() { return g_channel; }

const std::string& StoredUserId() { return g_userId; }

void StoreUserId(std::string userId) {
    g_userId = std::move(userId);
    if (!g_userId.empty()) g_channel = PayChannel::Gateway;
}
