#include "CyberChannel.h"

#include "SdkState.h"

#include "Text.h"

#include <chrono>
#include <cstdio>
#include <curl/curl.h>
#include <thread>

#ifndef VK_GATEWAY_HOST
#define VK_GATEWAY_HOST "127.0.0.1"
#endif

namespace {

constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1; .NET CLR 2.0.50727)";
constexpr char kContentType[] = "Content-Type: application/x-www-form-urlencoded";
constexpr char kRetCodeKey[] = "\"retCode\":";
constexpr int kTerminalCmdTypePayPage = 101;
// The response is read in chunks of this size; each chunk counts up to its first zero byte.
constexpr std::size_t kReadChunk = 1024;
// No gateway answer is this long; a longer one is refused rather than read forever.
constexpr std::size_t kMaxResponseBytes = 1u << 20;

struct ResponseReader {
    CURL* curl = nullptr;
    std::string* response = nullptr;
    std::string chunk;
    std::size_t total = 0;
    bool refused = false;

    void FlushChunk() {
        response->append(chunk, 0, chunk.find('\0'));
        chunk.clear();
    }
};

bool IsBodyStatus(long status) { return status == 200 || status == 206; }

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* reader = static_cast<ResponseReader*>(user);
    const std::size_t bytes = size * count;
    long status = 0;
    curl_easy_getinfo(reader->curl, CURLINFO_RESPONSE_CODE, &status);
    if (!IsBodyStatus(status)) return 0;  // not read: only its status counts
    reader->total += bytes;
    if (reader->total > kMaxResponseBytes) {
        reader->refused = true;
        return 0;
    }
    for (std::size_t i = 0; i < bytes; ++i) {
        reader->chunk += data[i];
        if (reader->chunk.size() == kReadChunk) reader->FlushChunk();
    }
    return bytes;
}

bool IsConnectFailure(CURLcode code, CURL* curl) {
    if (code == CURLE_COULDNT_CONNECT) return true;
    if (code != CURLE_OPERATION_TIMEDOUT) return false;
    curl_off_t connected = 0;
    curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connected);
    return connected == 0;
}

void AppendJsonString(std::string& out, const std::string& text) {
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
}

}  // namespace

std::wstring GatewayRequestAddress() {
    return platform::AnsiToWide(std::string("http://") + VK_GATEWAY_HOST + ":15002" + "/BOSSGW/sdk/sendTerminalCmd");
}

std::string TerminalCmdBody(const std::string& userId, const std::string& key) {
    std::string body = "{\"userID\":\"";
    AppendJsonString(body, userId);
    body += "\",\"terminalCmdType\":" + std::to_string(kTerminalCmdTypePayPage) + ",\"terminalCmd\":{\"key\":\"";
    body += key;
    body += "\"}}";
    return body;
}

bool IsAcceptedResponse(const std::string& response) {
    const std::size_t key = response.find(kRetCodeKey);
    if (key == std::string::npos || key == 0) return false;
    return platform::ParseLeadingInt32(platform::AnsiToWide(response.substr(key + sizeof(kRetCodeKey) - 1))) == 0;
}

int HttpPost(const std::wstring& address, const std::string& body, std::string& response, const HttpTimeouts& timeouts) {
    if (address.empty()) return -1;
    const std::string url = platform::WideToMultiByte(platform::CP_UTF8, address);
    if (!url.starts_with("http://") && !url.starts_with("https://")) return -1;
    CURL* curl = curl_easy_init();
    if (curl == nullptr) return -1;

    curl_slist* headers = curl_slist_append(nullptr, kContentType);
    headers = curl_slist_append(headers, "Accept:");  // no accept types, as a bare client sends
    headers = curl_slist_append(headers, "Expect:");  // the body goes at once, never on approval
    ResponseReader reader;
    reader.curl = curl;
    reader.response = &response;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_USERAGENT, kAgent);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, std::max(1L, timeouts.silenceMs / 1000));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reader);

    CURLcode code = CURLE_OK;
    for (int attempt = 0;; ++attempt) {
        response.clear();
        reader.chunk.clear();
        reader.total = 0;
        code = curl_easy_perform(curl);
        if (!IsConnectFailure(code, curl) || attempt == timeouts.connectRetries) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(timeouts.retryPauseMs));
    }
    // Once a status has arrived, the body is read until a read fails or the gateway stops
    // (a close before the announced length, a reset, a stall): what arrived is judged. Only
    // an answer too long to read is given up.
    long status = -1;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status == 0 || reader.refused) status = -1;
    if (IsBodyStatus(status)) {
        reader.FlushChunk();
    } else {
        response.clear();
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return static_cast<int>(status);
}

bool CCyberChannel::SendTerminalCmd(const char* key) {
    if (key == nullptr || key[0] == '\0') return false;
    std::string response;
    const int status = HttpPost(GatewayRequestAddress(), TerminalCmdBody(StoredUserId(), key), response);
    return IsBodyStatus(status) && IsAcceptedResponse(response);
}
