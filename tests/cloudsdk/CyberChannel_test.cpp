// The gateway channel against a real HTTP server on 127.0.0.1:15002.
#include "CyberChannel.h"

#include "HttpTestServer.h"
#include "SdkState.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

constexpr int kGatewayPort = 15002;

TEST(CyberChannel, BodyIsTheFixedFormatWithAnEscapedUserId) {
    EXPECT_EQ(TerminalCmdBody("42", "K"), "{\"userID\":\"42\",\"terminalCmdType\":101,\"terminalCmd\":{\"key\":\"K\"}}");
    EXPECT_EQ(TerminalCmdBody("a\"b\\c\n\x01", "K"),
              "{\"userID\":\"a\\\"b\\\\c\\n\\u0001\",\"terminalCmdType\":101,\"terminalCmd\":{\"key\":\"K\"}}");
    EXPECT_EQ(TerminalCmdBody("玩家", "K"), "{\"userID\":\"玩家\",\"terminalCmdType\":101,\"terminalCmd\":{\"key\":\"K\"}}");
    EXPECT_EQ(GatewayRequestAddress(), L"http://127.0.0.1:15002/BOSSGW/sdk/sendTerminalCmd");
}

TEST(CyberChannel, AcceptanceOfResponses) {
    const std::pair<const char*, bool> rows[] = {
        {"{\"retCode\":0,\"msg\":\"ok\"}", true}, {"{\"retCode\": 0}", true},  {"{\"retCode\":\"0\"}", true},
        {"{\"retCode\":\"5\"}", true},             {"{\"retCode\":-1}", false}, {"{\"retCode\":3}", false},
        {"{\"code\":0}", false},                   {"{\"retCode\" :0}", false}, {"\"retCode\":0", false},
        {"x\"retCode\":0 \"retCode\":1", true},    {"", false},
    };
    for (const auto& [response, accepted] : rows) EXPECT_EQ(IsAcceptedResponse(response), accepted) << response;
}

TEST(CyberChannel, RequestOnTheWire) {
    HttpTestServer server(kGatewayPort, 200, "{\"retCode\":0}");
    ASSERT_TRUE(server.IsListening());
    StoreUserId("42");
    EXPECT_TRUE(CCyberChannel().SendTerminalCmd("S0VZ"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& head = requests[0].head;
    EXPECT_EQ(head.substr(0, head.find("\r\n")), "POST /BOSSGW/sdk/sendTerminalCmd HTTP/1.1");
    EXPECT_NE(head.find("\r\nHost: 127.0.0.1:15002\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1; .NET CLR 2.0.50727)\r\n"),
              std::string::npos);
    const std::string contentType = "\r\nContent-Type: application/x-www-form-urlencoded\r\n";
    EXPECT_NE(head.find(contentType), std::string::npos);
    EXPECT_EQ(head.find(contentType), head.rfind(contentType));  // sent once
    EXPECT_EQ(head.find("Cookie"), std::string::npos);
    EXPECT_EQ(requests[0].body, "{\"userID\":\"42\",\"terminalCmdType\":101,\"terminalCmd\":{\"key\":\"S0VZ\"}}");
    EXPECT_FALSE(CCyberChannel().SendTerminalCmd(""));
    EXPECT_EQ(server.Requests().size(), 1u);
}

struct StatusRow {
    int status;
    std::string body;
    int expectedStatus;
    std::string expectedResponse;
};

TEST(CyberChannel, StatusAndBodyReading) {
    std::string longBody = "{\"pad\":\"" + std::string(3000, 'p') + "\",\"retCode\":0}";
    std::string zeroInChunk = std::string(1000, 'a') + '\0' + std::string(100, 'b') + "tail";  // a zero ends its 1024-byte chunk
    const StatusRow rows[] = {
        {200, "{\"retCode\":0}", 200, "{\"retCode\":0}"},
        {206, "{\"retCode\":0}", 206, "{\"retCode\":0}"},
        {200, longBody, 200, longBody},
        {200, zeroInChunk, 200, std::string(1000, 'a') + std::string(77, 'b') + "tail"},
        {204, "", 204, ""},
        {302, "{\"retCode\":0}", 302, ""},
        {500, "{\"retCode\":0}", 500, ""},
    };
    for (const StatusRow& row : rows) {
        HttpTestServer server(kGatewayPort, row.status, row.body);
        ASSERT_TRUE(server.IsListening());
        std::string response;
        EXPECT_EQ(HttpPost(GatewayRequestAddress(), "{}", response), row.expectedStatus) << row.status;
        EXPECT_EQ(response, row.expectedResponse) << row.status;
    }
}

// The reading stops where the gateway stopped sending; what arrived is judged.
TEST(CyberChannel, AnAnswerCutShortIsJudgedByWhatArrived) {
    const std::string cutShort = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{\"retCode\":0}";
    for (const bool reset : {false, true}) {
        const auto server = HttpTestServer::Raw(kGatewayPort, cutShort, reset);
        ASSERT_TRUE(server->IsListening());
        std::string response;
        EXPECT_EQ(HttpPost(GatewayRequestAddress(), "{}", response), 200) << reset;
        EXPECT_EQ(response, "{\"retCode\":0}") << reset;
        StoreUserId("42");
        EXPECT_TRUE(CCyberChannel().SendTerminalCmd("S0VZ")) << reset;
    }
    const auto refusing = HttpTestServer::Raw(kGatewayPort, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{\"retCode\":7}", true);
    StoreUserId("42");
    EXPECT_FALSE(CCyberChannel().SendTerminalCmd("S0VZ"));
}

TEST(CyberChannel, SilentOrUnreachableGatewaysEndInTime) {
    {
        HttpTestServer silent(kGatewayPort, 200, "", true);
        ASSERT_TRUE(silent.IsListening());
        HttpTimeouts timeouts;
        timeouts.silenceMs = 1000;
        std::string response;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(HttpPost(GatewayRequestAddress(), "{}", response, timeouts), -1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
    // Nothing listens now: three connection attempts one second apart, then failure.
    StoreUserId("42");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CCyberChannel().SendTerminalCmd("S0VZ"));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(1900));
    EXPECT_LT(elapsed, std::chrono::seconds(30));
}

TEST(CyberChannel, OnlyHttpAddresses) {
    std::string response;
    EXPECT_EQ(HttpPost(L"", "{}", response), -1);
    EXPECT_EQ(HttpPost(L"ftp://127.0.0.1:15002/x", "{}", response), -1);
    EXPECT_EQ(HttpPost(L"file:///etc/passwd", "{}", response), -1);
}

}  // namespace
