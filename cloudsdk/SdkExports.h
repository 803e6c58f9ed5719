#pragma once
// The library's two exports, with C linkage; each returns 1 for success and 0 for failure.
#include <cstdint>
#include <string>

extern "C" {
// Decodes the host's --token option into buffer (bufferSize bytes, terminator included) and
// records its --userID option, which selects the delivery channel of GoPayUrl.
int GetTokenBuff(char* buffer, std::uint32_t bufferSize);
// Encodes the zero-terminated address and delivers it over the selected channel.
int GoPayUrl(const char* url);
}

// GetTokenBuff on a given command line instead of the process's own.
int GetTokenBuffFromCommandLine(const std::wstring& commandLine, char* buffer, std::uint32_t bufferSize);
