// The timeline's connection wrapper hands everything through unchanged: a transfer behaves
// the same whether its timeline is written or not.
#include "net/marked_connection.h"

#include "scripted_connection.h"

#include <gtest/gtest.h>

namespace {

TEST(ConnectMarked, PassesRequestAnswerAndCloseThrough) {
    kvtest::ScriptedServer server;
    server.Answer({kvtest::Bytes("HTTP/1.1 200 OK\r\n\r\nbody"), kvtest::Act([] {})});
    kv::ConnectionPtr connection = kv::ConnectMarked(server.Connector(), "127.0.0.1", 80);
    ASSERT_TRUE(connection);
    EXPECT_TRUE(connection->Send("GET / HTTP/1.1\r\n\r\n", 18, 0));
    EXPECT_EQ("GET / HTTP/1.1\r\n\r\n", server.requests.at(0));
    char block[8] = {};
    EXPECT_EQ(8, connection->ReceiveWithin(block, 8, 50));
    EXPECT_EQ(std::string("HTTP/1.1"), std::string(block, 8));
    EXPECT_EQ(8, connection->ReceiveWithin(block, 8, 50));
    EXPECT_EQ(7, connection->ReceiveWithin(block, 8, 50));
    EXPECT_EQ(std::string("\n\r\nbody"), std::string(block, 7));
    EXPECT_EQ(kv::kNothingArrived, connection->ReceiveWithin(block, 8, 50));
    EXPECT_EQ(0, connection->ReceiveWithin(block, 8, 50));
    EXPECT_TRUE(connection->Close());
}

TEST(ConnectMarked, RefusedConnectionGivesNone) {
    kvtest::ScriptedServer server;
    EXPECT_FALSE(kv::ConnectMarked(server.Connector(), "127.0.0.1", 80));
    EXPECT_EQ(WSAECONNREFUSED, ::WSAGetLastError());
}

}  // namespace
