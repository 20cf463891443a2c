// The socket classes against a listener of the test's own on loopback.
#include "net/tcp_client_socket.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Holds a start-up of the test's own, like a browser does, plus a listening socket.
class LoopbackListener : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(0, ::WSAStartup(0x0202, &data));
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        ASSERT_NE(INVALID_SOCKET, listener_);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = ::inet_addr("127.0.0.1");
        ASSERT_EQ(0, ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address));
        ASSERT_EQ(0, ::listen(listener_, 4));
        int length = sizeof address;
        ASSERT_EQ(0, ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length));
        port_ = ::ntohs(address.sin_port);
    }
    void TearDown() override {
        if (listener_ != INVALID_SOCKET) ::closesocket(listener_);
        ::WSACleanup();
    }

    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
};

TEST(CBaseSocket, RootSlotsDoNothing) {
    CBaseSocket socket;
    char buffer[4];
    EXPECT_FALSE(socket.Create());
    EXPECT_FALSE(socket.Send("x", 1, 0));
    EXPECT_EQ(-1, socket.Receive(buffer, sizeof buffer, 0));
    EXPECT_EQ(INVALID_SOCKET, socket.Handle());
    const sockaddr_in& address = socket.Address();
    const sockaddr_in zero{};
    EXPECT_EQ(0, std::memcmp(&zero, &address, sizeof zero));
}

TEST(CBaseSocket, CloseOfANeverCreatedSocketMakesNoCall) {
    CTcpClientSocket socket;
    ::WSASetLastError(0x5EED);
    EXPECT_TRUE(socket.Close());
    EXPECT_EQ(0x5EED, ::WSAGetLastError());  // a closesocket(INVALID_SOCKET) would set it
}

TEST_F(LoopbackListener, ConnectWithoutCreateFails) {
    CTcpClientSocket socket;
    EXPECT_FALSE(socket.Connect("127.0.0.1", port_));
}

TEST_F(LoopbackListener, AddressRecordHoldsThePortInNetworkOrder) {
    CTcpClientSocket socket;
    ASSERT_TRUE(socket.Create());
    // Port 8080 on loopback: whether anything listens there does not matter, the record is
    // filled before the connection is tried.
    (void)socket.Connect("127.0.0.1", 8080);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&socket.Address());
    EXPECT_EQ(AF_INET, socket.Address().sin_family);
    EXPECT_EQ(0x1F, bytes[2]);
    EXPECT_EQ(0x90, bytes[3]);
    EXPECT_EQ(0x7F, bytes[4]);
    EXPECT_EQ(0x01, bytes[7]);
    EXPECT_TRUE(socket.Close());
}

TEST_F(LoopbackListener, ExchangeAndPeerClose) {
    CTcpClientSocket client;
    ASSERT_TRUE(client.Create());
    ASSERT_TRUE(client.Connect("127.0.0.1", port_));
    const SOCKET peer = ::accept(listener_, nullptr, nullptr);
    ASSERT_NE(INVALID_SOCKET, peer);

    ASSERT_TRUE(client.Send("GET / HTTP/1.1\r\n", 16, 0));
    char request[32] = {};
    EXPECT_EQ(16, ::recv(peer, request, sizeof request, 0));
    EXPECT_STREQ("GET / HTTP/1.1\r\n", request);

    ASSERT_EQ(5, ::send(peer, "hello", 5, 0));
    char reply[16];
    std::memset(reply, 'z', sizeof reply);
    ASSERT_EQ(5, client.Receive(reply, sizeof reply - 1, 0));
    EXPECT_EQ(0, std::memcmp("hello", reply, 5));
    EXPECT_EQ('z', reply[5]) << "Receive adds no terminating zero";

    ::closesocket(peer);
    EXPECT_EQ(0, client.Receive(reply, sizeof reply - 1, 0));
    EXPECT_TRUE(client.Close());
    EXPECT_EQ(INVALID_SOCKET, client.Handle());
    EXPECT_TRUE(client.Close()) << "a second Close finds the invalid marker";
}

TEST_F(LoopbackListener, ConnectionRefused) {
    const uint16_t closedPort = port_;
    ::closesocket(listener_);
    listener_ = INVALID_SOCKET;
    CTcpClientSocket client;
    ASSERT_TRUE(client.Create());
    EXPECT_FALSE(client.Connect("127.0.0.1", closedPort));
    EXPECT_EQ(WSAECONNREFUSED, ::WSAGetLastError());
    EXPECT_TRUE(client.Close());
}

TEST_F(LoopbackListener, ReceiveWithinBoundsTheWait) {
    CTcpClientSocket client;
    ASSERT_TRUE(client.Create());
    ASSERT_TRUE(client.Connect("127.0.0.1", port_));
    const SOCKET peer = ::accept(listener_, nullptr, nullptr);
    ASSERT_NE(INVALID_SOCKET, peer);
    char reply[16] = {};
    EXPECT_EQ(kv::kNothingArrived, client.ReceiveWithin(reply, sizeof reply, 20));
    ASSERT_EQ(2, ::send(peer, "ok", 2, 0));
    EXPECT_EQ(2, client.ReceiveWithin(reply, sizeof reply, 5000));
    ::closesocket(peer);
    EXPECT_EQ(0, client.ReceiveWithin(reply, sizeof reply, 5000));
    EXPECT_TRUE(client.Close());
}

TEST_F(LoopbackListener, ReceiveWithinTakesBytesAlreadyThereWithoutWaiting) {
    CTcpClientSocket client;
    ASSERT_TRUE(client.Create());
    ASSERT_TRUE(client.Connect("127.0.0.1", port_));
    const SOCKET peer = ::accept(listener_, nullptr, nullptr);
    ASSERT_NE(INVALID_SOCKET, peer);
    ASSERT_EQ(5, ::send(peer, "hello", 5, 0));
    // A piece smaller than what has arrived leaves the rest, which the next receive takes
    // without any time to wait; the close comes after all of it.
    char reply[8] = {};
    EXPECT_EQ(3, client.ReceiveWithin(reply, 3, 5000));
    EXPECT_EQ(2, client.ReceiveWithin(reply + 3, 3, 0));
    EXPECT_EQ(0, std::memcmp(reply, "hello", 5));
    ::closesocket(peer);
    EXPECT_EQ(0, client.ReceiveWithin(reply, sizeof reply, 5000));
    EXPECT_TRUE(client.Close());
}

}  // namespace
