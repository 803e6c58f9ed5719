#pragma once
// Delivers encoded addresses to the cloud platform's HTTP gateway as a terminal command for
// the stored user.
#include <string>

// The gateway request address: http://<host>:15002/BOSSGW/sdk/sendTerminalCmd.
std::wstring GatewayRequestAddress();

// The request body for the user ID and key; the user ID is written as a proper JSON string.
std::string TerminalCmdBody(const std::string& userId, const std::string& key);

// True when the response accepts the command: the text "retCode": appears after the first
// byte and the integer after its first occurrence is 0.
bool IsAcceptedResponse(const std::string& response);

struct HttpTimeouts {
    long connectMs = 10000;  // per attempt
    int connectRetries = 2;
    long retryPauseMs = 1000;
    long silenceMs = 30000;  // a connected gateway that sends nothing for this long is given up
};

// One POST; returns the HTTP status, or -1 when none was obtained. The body is appended to
// response only for status 200 or 206.
int HttpPost(const std::wstring& address, const std::string& body, std::string& response,
             const HttpTimeouts& timeouts = HttpTimeouts());

class CCyberChannel {
public:
    // Posts the terminal command with the encoded address as its key for the stored user ID.
    bool SendTerminalCmd(const char* key);
};
