// Two games in one process over the in-memory network: the handshake, the shared input stream, the digest
// exchange, a partner that leaves or goes silent, and a partner that sends what no game sends.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "assets/BuiltinAssets.h"
#include "platform/null/LoopbackNetwork.h"
#include "platform/null/NullPlatform.h"
#include "shell/MainForm.h"
#include "shell/automation/GameLoop.h"
#include "shell/automation/InputRecorder.h"
#include "shell/automation/InputScript.h"
#include "shell/automation/OverlayEvents.h"
#include "shell/automation/StateDump.h"
#include "shell/net/LockstepSession.h"
#include "shell/net/NetworkGame.h"
#include "shell/net/NetworkInput.h"
#include "support/LockstepMachine.h"
#include "support/NetTesting.h"

namespace vorlanex {
namespace {

using testing::Handshake;
using testing::Identity;
using testing::kDelay;
using testing::Machine;

// Both machines take turns until each has run `frames` frames or the game ended.
void PlayTogether(Machine& host, Machine& guest, int frames)
{
    for (int pass = 0; pass < frames * 20; ++pass)
    {
        const bool hostDone = host.form->FrameCalls >= frames || host.input->Ended();
        const bool guestDone = guest.form->FrameCalls >= frames || guest.input->Ended();
        if (hostDone && guestDone)
            return;
        if (!hostDone)
            host.loop->Pass();
        if (!guestDone)
            guest.loop->Pass();
    }
    FAIL() << "the game stalled at frames " << host.form->FrameCalls << " and " << guest.form->FrameCalls;
}

std::string Solo(const std::string& script, std::uint64_t seed, int frames)
{
    testing::SoloGame game(script, seed, frames);
    game.loop->Run();
    return StateDigest(*game.form);
}

TEST(Lockstep, TwoMachinesPlayTheGameOfTheMergedScript)
{
    const std::string host = "3 press Space\n10 down Up\n40 up Up\n50 down Space\n52 up Space\n60 press F9\n"
                             "100 down Left\n150 up Left\n160 down W\n170 up W\n";
    const std::string guest = "10 down Up\n30 down Space\n35 up Space\n45 press Return\n60 up Up\n70 down Right\n"
                              "120 up Right\n130 press P\n140 press F8\n";
    LoopbackPair net = MakeLoopbackPair();
    Machine a(NetRole::Host, *net.first, host, 11);
    Machine b(NetRole::Guest, *net.second, guest);
    ASSERT_TRUE(Handshake(a, b));
    EXPECT_EQ(b.session->Game().seed, 11u);
    PlayTogether(a, b, 400);
    ASSERT_EQ(a.session->End(), SessionEnd::None) << a.session->EndMessage();
    ASSERT_EQ(b.session->End(), SessionEnd::None) << b.session->EndMessage();
    EXPECT_EQ(a.form->Scene, Scene::Battle);
    EXPECT_EQ(StateDigest(*a.form), StateDigest(*b.form));
    EXPECT_EQ(StateDigest(*a.form), Solo(testing::MergedScript(host, guest, kDelay), 11, 400));
}

TEST(Lockstep, AFreezeStopsBothGamesAndEitherRecordingReplaysTheGame)
{
    const auto dir = std::filesystem::temp_directory_path() / ("vorlanex-lockstep-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    // The host freezes the game; while no frame runs the guest moves, then lets it go on.
    LoopbackPair net = MakeLoopbackPair();
    Machine a(NetRole::Host, *net.first, "3 press Space\n30 press F3\n", 5, (dir / "a.txt").string());
    // (The guest's recorder is made before the handshake here, so it is told the seed the host will send.)
    Machine b(NetRole::Guest, *net.second, "40 down Up\n45 press F3\n90 up Up\n", 5, (dir / "b.txt").string());
    ASSERT_TRUE(Handshake(a, b));
    PlayTogether(a, b, 200);
    ASSERT_FALSE(a.input->Ended()) << a.session->EndMessage();
    EXPECT_GT(a.session->NextTurn(), 210u) << "the turns went on while the frames stood still";
    EXPECT_EQ(StateDigest(*a.form), StateDigest(*b.form));
    a.recorder->Flush(a.form->FrameCalls + 1);
    b.recorder->Flush(b.form->FrameCalls + 1);
    const InputScript recorded = LoadInputScript((dir / "b.txt").string());
    EXPECT_EQ(recorded.seed, 5u);
    std::ostringstream lines;
    for (const ScriptEvent& e : recorded.events)
        lines << ScriptLines(e.frame, e.Event());
    EXPECT_EQ(Solo(lines.str(), 5, 200), StateDigest(*a.form));
    std::filesystem::remove_all(dir);
}

TEST(Lockstep, ADisturbedStateIsFoundAtTheNextDigest)
{
    LoopbackPair net = MakeLoopbackPair();
    Machine a(NetRole::Host, *net.first, "3 press Space\n", 3);
    Machine b(NetRole::Guest, *net.second, "");
    ASSERT_TRUE(Handshake(a, b));
    b.input->DisturbAfterFrame(100);
    PlayTogether(a, b, 400);
    EXPECT_EQ(a.session->End(), SessionEnd::OutOfStep);
    EXPECT_EQ(b.session->End(), SessionEnd::OutOfStep);
    EXPECT_EQ(a.session->EndMessage(), "out of step at frame 120");
    EXPECT_EQ(b.session->EndMessage(), "out of step at frame 120");
    // Each stops as soon as the other's digest of that frame arrives.
    EXPECT_LE(b.form->FrameCalls, 120 + kDelay);
}

TEST(Lockstep, APartnerThatLeavesOrFallsSilentEndsTheGame)
{
    {
        LoopbackPair net = MakeLoopbackPair();
        Machine a(NetRole::Host, *net.first, "3 press Space\n");
        Machine b(NetRole::Guest, *net.second, "");
        ASSERT_TRUE(Handshake(a, b));
        PlayTogether(a, b, 50);
        a.session->Leave();
        PlayTogether(a, b, 100);
        EXPECT_EQ(b.session->End(), SessionEnd::PartnerLeft);
        EXPECT_EQ(b.session->EndMessage(), "player 1 left");
        // The turns the host had sent are still played.
        EXPECT_EQ(b.form->FrameCalls, 50 + kDelay);
    }
    {
        LoopbackPair net = MakeLoopbackPair();
        Machine a(NetRole::Host, *net.first, "");
        Machine b(NetRole::Guest, *net.second, "");
        ASSERT_TRUE(Handshake(a, b));
        PlayTogether(a, b, 20);
        net.second->CutOff();
        b.session.reset();
        for (int i = 0; i < 10; ++i)
            a.loop->Pass();
        EXPECT_FALSE(a.input->Ended());
        a.parts.clock->now += PartnerSilenceMs + 1;
        a.loop->Pass();
        EXPECT_EQ(a.session->End(), SessionEnd::PartnerLeft);
        EXPECT_EQ(a.session->EndMessage(), "player 2 left (nothing heard for 5 seconds)");
    }
}

TEST(Lockstep, APartnerHeldUpByTheLinkIsWaitedForAndTheGameGoesOnInStep)
{
    LoopbackPair net = MakeLoopbackPair();
    Machine a(NetRole::Host, *net.first, "3 press Space\n20 down Up\n90 up Up\n");
    Machine b(NetRole::Guest, *net.second, "30 down Left\n80 up Left\n");
    ASSERT_TRUE(Handshake(a, b));
    PlayTogether(a, b, 40);
    net.first->HoldBack();
    for (int i = 0; i < 50; ++i)
    {
        a.loop->Pass();
        b.loop->Pass();
    }
    EXPECT_LE(b.form->FrameCalls, 40 + 2 * kDelay) << "the guest ran on without the host's turns";
    a.parts.clock->now += 3 * PartnerSilenceMs;
    b.parts.clock->now += 3 * PartnerSilenceMs;
    a.loop->Pass();
    b.loop->Pass();
    EXPECT_FALSE(a.input->Ended());
    EXPECT_FALSE(b.input->Ended()) << b.session->EndMessage();
    net.first->Release();
    PlayTogether(a, b, 200);
    EXPECT_EQ(a.form->FrameCalls, 200);
    EXPECT_EQ(b.form->FrameCalls, 200);
    EXPECT_EQ(StateDigest(*a.form), StateDigest(*b.form));
}

TEST(Lockstep, OtherGameDataIsRefusedNamingTheFile)
{
    LoopbackPair net = MakeLoopbackPair();
    ManualClock clock;
    LockstepSession host(*net.first, clock, NetRole::Host, Identity());
    NetIdentity other = Identity();
    other.files[1].digest = 99;
    LockstepSession guest(*net.second, clock, NetRole::Guest, other);
    testing::Introduce(host, guest, net);
    EXPECT_EQ(host.End(), SessionEnd::Refused);
    EXPECT_EQ(guest.End(), SessionEnd::Refused);
    EXPECT_EQ(guest.EndMessage(), "the host refused the game: the data file MAP002.map differs between the two machines");

    NetIdentity fewer = Identity();
    fewer.files.pop_back();
    EXPECT_EQ(HandshakeMismatch(Identity(), {NetProtocolVersion, "1.0", fewer.files}), "player 2 has no data file MAP002.map");
    EXPECT_EQ(HandshakeMismatch(Identity(), {NetProtocolVersion, "1.1", Identity().files}),
              "player 2 runs version 1.1, this game 1.0");
    EXPECT_EQ(HandshakeMismatch(Identity(), {NetProtocolVersion, "1.0", Identity().files}), "");
}

// A session in play whose partner's messages the test writes itself.
class HostilePartner : public ::testing::Test
{
protected:
    void SetUp() override
    {
        net = MakeLoopbackPair();
        session = std::make_unique<LockstepSession>(*net.first, clock, NetRole::Host, Identity());
        session->Offer({1, 1, 1, kDelay});
        net.first->Host(1);
        net.second->Connect("host", 1);
        net.first->Inject(EncodeMessage(HelloMessage{NetProtocolVersion, "1.0", Identity().files}));
        session->Service(0);
        ASSERT_EQ(session->State(), SessionState::Playing);
    }
    void Partner(const NetMessage& m)
    {
        net.first->Inject(EncodeMessage(m));
        session->Service(0);
    }
    void ExpectBroken(const std::string& part)
    {
        EXPECT_EQ(session->End(), SessionEnd::Broken);
        EXPECT_NE(session->EndMessage().find(part), std::string::npos) << session->EndMessage();
    }

    LoopbackPair net;
    ManualClock clock;
    std::unique_ptr<LockstepSession> session;
};

TEST_F(HostilePartner, ATurnOutOfSequenceIsRefused)
{
    Partner(TurnMessage{kDelay + 1, {}});
    EXPECT_EQ(session->End(), SessionEnd::None);
    Partner(TurnMessage{kDelay + 1, {}});
    ExpectBroken("sent turn 4 where turn 5 was due");
}

TEST_F(HostilePartner, APartnerFurtherAheadThanTheDelayAllowsIsRefused)
{
    // Without a turn of ours it can be at most 2 D + 1 turns on.
    for (std::uint32_t t = kDelay + 1; t <= 2 * kDelay + 2; ++t)
        Partner(TurnMessage{t, {}});
    EXPECT_EQ(session->End(), SessionEnd::None);
    Partner(TurnMessage{2 * kDelay + 3, {}});
    ExpectBroken("further ahead");
}

TEST_F(HostilePartner, DigestsOutOfTurnAndBrokenOrMisplacedMessagesAreRefused)
{
    Partner(DigestMessage{900, 1});
    ExpectBroken("digest of frame 900");
    SetUp();
    net.first->Inject({4, 1});
    session->Service(0);
    ExpectBroken("broken message");
    SetUp();
    Partner(HelloMessage{});
    ExpectBroken("out of place");
}

TEST_F(HostilePartner, AStickIsSentAtItsLastPositionAndATurnNeverOverflows)
{
    InputEvent axis;
    axis.kind = EventKind::PadAxis;
    for (int v = 0; v < 1000; ++v)
    {
        axis.axisValue = v;
        session->AddLocal(axis);
    }
    InputEvent key;
    key.kind = EventKind::KeyDown;
    key.key = 0x20;
    for (int i = 0; i < 1000; ++i)
        session->AddLocal(key);
    ASSERT_TRUE(session->TakeTurn());   // turn 1 is empty on both sides; ours of turn 1 + D goes out
    NetEvent sent;
    ASSERT_TRUE(net.second->Poll(sent, 0));   // the connection
    ASSERT_TRUE(net.second->Poll(sent, 0));   // the welcome
    ASSERT_TRUE(net.second->Poll(sent, 0));
    const auto turn = std::get<TurnMessage>(DecodeMessage(sent.data));
    ASSERT_EQ(turn.events.size(), MaxEventsPerTurn);
    EXPECT_EQ(turn.events[0].axisValue, 999);
}

}  // namespace
}  // namespace vorlanex
