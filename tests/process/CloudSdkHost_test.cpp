// The SDK loaded by dlopen into a host program, with the options on its real command line.
#include "ChildProcess.h"
#include "HttpTestServer.h"
#include "IsolatedEnvironment.h"

#include "LocalSocket.h"
#include "SessionDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

const std::string kBin = VK_BIN_DIR;

class CloudSdkHost : public ::testing::Test {
protected:
    std::string Encode(const std::string& text) {
        std::string output;
        EXPECT_EQ(RunToEnd(kBin + "/cloudsdk-codec", {"encode", text}, m_environment.Root(), &output), 0);
        return output.substr(0, output.find('\n'));
    }
    std::string Host(const std::vector<std::string>& arguments) {
        std::string output;
        EXPECT_EQ(RunToEnd(kBin + "/cloudsdk-host", arguments, m_environment.Root(), &output, 60000), 0);
        return output;
    }
    // Accepts every connection on the platform pipe and collects what each delivers.
    std::vector<std::string> PipeMessages(platform::LocalSocket& listener) {
        std::vector<std::string> messages;
        platform::LocalSocket client;
        while ((client = listener.AcceptSameUser()).IsValid()) {
            std::string message;
            char buffer[256];
            long got;
            while ((got = client.ReadSome(buffer, sizeof(buffer), platform::DeadlineAfter(2000))) > 0) {
                message.append(buffer, static_cast<std::size_t>(got));
            }
            messages.push_back(message);
        }
        return messages;
    }

    IsolatedEnvironment m_environment;
};

TEST_F(CloudSdkHost, TokenFromTheHostsOwnCommandLine) {
    const std::string token = Encode("会话-token-42");
    EXPECT_EQ(Host({"--token=" + token}), "GetTokenBuff=1 token=会话-token-42\n");
    EXPECT_EQ(Host({"--bufsize=15", "--token=" + token}), "GetTokenBuff=0 token=\n");  // 15 bytes + zero
    EXPECT_EQ(Host({"--bufsize=0", "--token=" + token}), "GetTokenBuff=0 token=\n");
    EXPECT_EQ(Host({"--token=not-a-token"}), "GetTokenBuff=0 token=\n");
}

TEST_F(CloudSdkHost, WithoutUserIdAddressesGoThroughThePipe) {
    platform::LocalSocket listener =
        platform::LocalSocket::Listen(platform::SessionRuntimeDir() + "/VelmarGamePlatformPipeS2C");
    ASSERT_TRUE(listener.IsValid());
    EXPECT_EQ(Host({"--userID=", "--pay=https://pay.example/1", "--pay=abc"}),
              "GetTokenBuff=0 token=\nGoPayUrl=1\nGoPayUrl=1\n");
    EXPECT_EQ(PipeMessages(listener), (std::vector<std::string>{Encode("https://pay.example/1"), Encode("abc")}));
}

TEST_F(CloudSdkHost, NoPipeServerMeansFailure) {
    EXPECT_EQ(Host({"--pay=https://pay.example/1"}), "GetTokenBuff=0 token=\nGoPayUrl=0\n");
}

TEST_F(CloudSdkHost, UserIdSelectsTheGatewayFirstOccurrenceWins) {
    HttpTestServer gateway(15002, 200, "{\"retCode\":0}");
    ASSERT_TRUE(gateway.IsListening());
    EXPECT_EQ(Host({"--userID=7", "--userID=8", "--pay=https://pay.example/2"}), "GetTokenBuff=0 token=\nGoPayUrl=1\n");
    const auto requests = gateway.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, "{\"userID\":\"7\",\"terminalCmdType\":101,\"terminalCmd\":{\"key\":\"" +
                                    Encode("https://pay.example/2") + "\"}}");
}

TEST_F(CloudSdkHost, GatewayRefusalIsFailure) {
    HttpTestServer gateway(15002, 200, "{\"retCode\":3}");
    ASSERT_TRUE(gateway.IsListening());
    EXPECT_EQ(Host({"-userID:9", "--pay=x"}), "GetTokenBuff=0 token=\nGoPayUrl=0\n");
}

TEST_F(CloudSdkHost, BeforeAnyTokenCallThePipeIsUsedEvenWithAUserId) {
    platform::LocalSocket listener =
        platform::LocalSocket::Listen(platform::SessionRuntimeDir() + "/VelmarGamePlatformPipeS2C");
    EXPECT_EQ(Host({"--pay-before-token", "--userID=7", "--pay=abc"}), "GoPayUrl=1\nGetTokenBuff=0 token=\n");
    EXPECT_EQ(PipeMessages(listener), (std::vector<std::string>{Encode("abc")}));
}

}  // namespace
