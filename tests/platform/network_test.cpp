// The network over ENet on this machine's loopback address, and the in-memory pair the lockstep tests use.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "platform/enet/EnetNetwork.h"
#include "platform/null/LoopbackNetwork.h"
#include "support/NetTesting.h"

namespace vorlanex {
namespace {

using testing::FreeUdpPort;

// Services every network until `wanted` gets an event of `kind` (others' events are kept going), or `seconds` pass.
std::optional<NetEvent> WaitFor(Network& wanted, NetEventKind kind, std::initializer_list<Network*> others,
                                double seconds = 5)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end)
    {
        NetEvent e;
        for (Network* n : others)
            while (n->Poll(e, 0))
            {
            }
        if (wanted.Poll(e, 5) && e.kind == kind)
            return e;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> Bytes(int n) { return {std::uint8_t(n), std::uint8_t(n >> 8), 7}; }

TEST(EnetNetwork, PartnersConnectExchangeMessagesInOrderAndHearAGoodbye)
{
    const std::uint16_t port = FreeUdpPort();
    auto host = MakeEnetNetwork();
    auto guest = MakeEnetNetwork();
    host->Host(port);
    guest->Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor(*guest, NetEventKind::Connected, {host.get()}));
    ASSERT_TRUE(WaitFor(*host, NetEventKind::Connected, {guest.get()}));

    for (int i = 0; i < 300; ++i)
        guest->Send(Bytes(i));
    for (int i = 0; i < 300; ++i)
    {
        const auto got = WaitFor(*host, NetEventKind::Message, {guest.get()});
        ASSERT_TRUE(got) << "message " << i;
        EXPECT_EQ(got->data, Bytes(i));
    }
    // A message larger than any the game sends does not travel.
    host->Send(std::vector<std::uint8_t>(MaxNetMessageBytes + 1, 1));
    host->Send(Bytes(1));
    const auto next = WaitFor(*guest, NetEventKind::Message, {host.get()});
    ASSERT_TRUE(next);
    EXPECT_EQ(next->data, Bytes(1));

    // The goodbye follows the last message and is heard as such, well before a lost link would be noticed.
    guest->Send(Bytes(9));
    std::optional<NetEvent> last, goodbye;
    std::chrono::steady_clock::duration took{};
    std::thread hostSide([&] {
        const auto start = std::chrono::steady_clock::now();
        last = WaitFor(*host, NetEventKind::Message, {});
        goodbye = WaitFor(*host, NetEventKind::Disconnected, {});
        took = std::chrono::steady_clock::now() - start;
    });
    guest->Close();
    hostSide.join();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->data, Bytes(9));
    EXPECT_TRUE(goodbye);
    EXPECT_LT(took, std::chrono::seconds(3));
}

TEST(EnetNetwork, AQuietPartnerIsHeardByItsHeartbeatAndAStoppedOneFallsSilent)
{
    const std::uint16_t port = FreeUdpPort();
    auto host = MakeEnetNetwork();
    auto guest = MakeEnetNetwork();
    EXPECT_EQ(host->MsSinceHeard(), Network::NeverHeard);
    host->Host(port);
    guest->Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor(*guest, NetEventKind::Connected, {host.get()}));
    ASSERT_TRUE(WaitFor(*host, NetEventKind::Connected, {guest.get()}));
    // Both keep servicing the link, neither sends a message.
    WaitFor(*host, NetEventKind::Message, {guest.get()}, 1.5);
    EXPECT_LT(host->MsSinceHeard(), 500u);
    EXPECT_LT(guest->MsSinceHeard(), 500u);
    // The guest stops, as a frozen or killed game does.
    WaitFor(*host, NetEventKind::Message, {}, 1.5);
    EXPECT_GE(host->MsSinceHeard(), 1000u);
}

TEST(EnetNetwork, AThirdMachineIsTurnedAwayAndTheGameGoesOn)
{
    const std::uint16_t port = FreeUdpPort();
    auto host = MakeEnetNetwork();
    auto guest = MakeEnetNetwork();
    auto third = MakeEnetNetwork();
    host->Host(port);
    guest->Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor(*host, NetEventKind::Connected, {guest.get()}));
    third->Connect("127.0.0.1", port);
    const auto notice = WaitFor(*host, NetEventKind::Notice, {guest.get(), third.get()});
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->text.find("already has two players"), std::string::npos) << notice->text;
    EXPECT_TRUE(WaitFor(*third, NetEventKind::Disconnected, {host.get(), guest.get()}));

    guest->Send(Bytes(5));
    const auto got = WaitFor(*host, NetEventKind::Message, {guest.get()});
    ASSERT_TRUE(got);
    EXPECT_EQ(got->data, Bytes(5));
}

TEST(EnetNetwork, NobodyAnsweringAndAPortInUseAreReported)
{
    const std::uint16_t port = FreeUdpPort();
    auto guest = MakeEnetNetwork();
    guest->Connect("127.0.0.1", port);
    const auto start = std::chrono::steady_clock::now();
    const auto lost = WaitFor(*guest, NetEventKind::Disconnected, {}, 10);
    ASSERT_TRUE(lost);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_NE(lost->text.find("no answer"), std::string::npos) << lost->text;

    auto first = MakeEnetNetwork();
    first->Host(port);
    auto second = MakeEnetNetwork();
    EXPECT_THROW(second->Host(port), std::runtime_error);
    EXPECT_THROW(MakeEnetNetwork()->Connect("no-such-host.invalid", port), std::runtime_error);
}

TEST(LoopbackNetwork, DeliversInOrderAndTellsAGoodbyeButNotACutCable)
{
    LoopbackPair pair = MakeLoopbackPair();
    pair.second->Connect("partner", 1);
    NetEvent e;
    EXPECT_TRUE(pair.second->Poll(e, 0));
    EXPECT_EQ(e.kind, NetEventKind::Disconnected) << "nobody hosts yet";

    pair.first->Host(1);
    pair.second->Connect("partner", 1);
    ASSERT_TRUE(pair.first->Poll(e, 0));
    EXPECT_EQ(e.kind, NetEventKind::Connected);
    pair.first->Send(Bytes(1));
    pair.first->Send(Bytes(2));
    ASSERT_TRUE(pair.second->Poll(e, 0) && e.kind == NetEventKind::Connected);
    ASSERT_TRUE(pair.second->Poll(e, 0));
    EXPECT_EQ(e.data, Bytes(1));
    ASSERT_TRUE(pair.second->Poll(e, 0));
    EXPECT_EQ(e.data, Bytes(2));

    pair.second->CutOff();
    pair.second->Send(Bytes(3));
    pair.second->Close();
    EXPECT_FALSE(pair.first->Poll(e, 0));
}

}  // namespace
}  // namespace vorlanex
