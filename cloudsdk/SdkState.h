#pragma once
// What the library remembers between calls within one process.
#include <string>

enum class PayChannel { Pipe = 0, Gateway = 1 };

PayChannel SelectedChannel();
const std::string& StoredUserId();
// Stores the user ID; a non-empty one selects the gateway for good.
void StoreUserId(std::string userId);
