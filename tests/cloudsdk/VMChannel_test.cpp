#include "VMChannel.h"

#include "IsolatedEnvironment.h"
#include "TokenCodec.h"

#include "SessionDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// The platform client's pipe: records what each connection delivers until the client
// closes it.
class PipeServer {
public:
    PipeServer() : m_listener(platform::LocalSocket::Listen(platform::SessionRuntimeDir() + "/" + kPlatformPipeName)) {}

    // The bytes of the next connection, read to its end.
    std::string NextMessage() {
        platform::LocalSocket client;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!(client = m_listener.AcceptSameUser()).IsValid()) {
            if (std::chrono::steady_clock::now() > deadline) return "<no connection>";
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::string message;
        char buffer[256];
        long got;
        while ((got = client.ReadSome(buffer, sizeof(buffer), platform::DeadlineAfter(5000))) > 0) {
            message.append(buffer, static_cast<std::size_t>(got));
        }
        return got == 0 ? message : "<not closed by the client>";
    }
    bool HasPendingConnection() { return m_listener.AcceptSameUser().IsValid(); }

private:
    platform::LocalSocket m_listener;
};

TEST(VMChannel, OneConnectionPerMessageWithTheExactBytes) {
    IsolatedEnvironment environment;
    PipeServer server;
    CVMChannel channel;
    const std::string first = EncodePayUrl("https://pay.example/1");
    const std::string second = EncodePayUrl("abc");
    ASSERT_TRUE(channel.WritePipe(first.c_str(), static_cast<std::uint32_t>(first.size())));
    ASSERT_TRUE(channel.WritePipe(second.c_str(), static_cast<std::uint32_t>(second.size())));
    EXPECT_EQ(server.NextMessage(), first);
    EXPECT_EQ(server.NextMessage(), second);
    EXPECT_EQ(second.size(), 16u);
    EXPECT_FALSE(server.HasPendingConnection());
}

TEST(VMChannel, NoServerFailsAtOnceAndTheNextCallTriesAgain) {
    IsolatedEnvironment environment;
    CVMChannel channel;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(channel.WritePipe("abc", 3));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    PipeServer server;
    EXPECT_TRUE(channel.WritePipe("abc", 3));
    EXPECT_EQ(server.NextMessage(), "abc");
}

TEST(VMChannel, EmptyDataNeverConnects) {
    IsolatedEnvironment environment;
    PipeServer server;
    CVMChannel channel;
    EXPECT_FALSE(channel.WritePipe(nullptr, 3));
    EXPECT_FALSE(channel.WritePipe("\0abc", 4));
    EXPECT_FALSE(server.HasPendingConnection());
}

}  // namespace
