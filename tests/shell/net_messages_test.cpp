// The messages of a network game: each kind comes back as it was sent, and the decoder refuses every damaged,
// cut or oversized packet with its error instead of reading past it.

#include <gtest/gtest.h>

#include "shell/net/NetMessages.h"

namespace vorlanex {
namespace {

InputEvent Key(EventKind kind, int key)
{
    InputEvent e;
    e.kind = kind;
    e.key = key;
    return e;
}

TurnMessage EveryKindOfEvent()
{
    TurnMessage turn{77, {}};
    turn.events.push_back(Key(EventKind::KeyDown, 0x26));
    turn.events.push_back(Key(EventKind::KeyUp, 0xFF));
    InputEvent click;
    click.kind = EventKind::MouseDown;
    click.button = MouseButton::Right;
    click.x = -5;
    click.y = 767;
    turn.events.push_back(click);
    InputEvent pad;
    pad.kind = EventKind::PadDown;
    pad.pad = 1;
    pad.padButton = PadButton::DpadRight;
    turn.events.push_back(pad);
    pad.kind = EventKind::PadAxis;
    pad.axis = PadAxis::LeftY;
    pad.axisValue = -32768;
    turn.events.push_back(pad);
    pad.kind = EventKind::PadRemoved;
    turn.events.push_back(pad);
    return turn;
}

std::vector<NetMessage> OneOfEach()
{
    return {HelloMessage{1, "0.1.0", {{"MAP001.map", 0x0123456789ABCDEFull}, {"图库.TIL", 9}}},
            WelcomeMessage{0xFFFFFFFFFFFFFFFFull, 3, 2, 30},
            RefusalMessage{"MAP002.map differs"},
            EveryKindOfEvent(),
            DigestMessage{3000, 42},
            GoodbyeMessage{}};
}

TEST(NetMessages, EachKindComesBackAsItWasSent)
{
    for (const NetMessage& sent : OneOfEach())
    {
        const NetMessage got = DecodeMessage(EncodeMessage(sent));
        ASSERT_EQ(got.index(), sent.index());
        if (const auto* turn = std::get_if<TurnMessage>(&sent))
        {
            const auto& back = std::get<TurnMessage>(got);
            EXPECT_EQ(back.turn, turn->turn);
            ASSERT_EQ(back.events.size(), turn->events.size());
            for (std::size_t i = 0; i < back.events.size(); ++i)
                EXPECT_TRUE(SameTravellingEvent(back.events[i], turn->events[i])) << "event " << i;
        }
        else
            EXPECT_EQ(EncodeMessage(got), EncodeMessage(sent));
    }
}

TEST(NetMessages, EveryCutAndEveryExtraByteIsRefused)
{
    for (const NetMessage& sent : OneOfEach())
    {
        std::vector<std::uint8_t> bytes = EncodeMessage(sent);
        for (std::size_t size = 0; size < bytes.size(); ++size)
            EXPECT_THROW(DecodeMessage(std::span(bytes).first(size)), NetMessageError)
                << "type " << int(bytes[0]) << " cut to " << size;
        bytes.push_back(0);
        EXPECT_THROW(DecodeMessage(bytes), NetMessageError) << "type " << int(bytes[0]) << " with a byte more";
    }
}

TEST(NetMessages, HostileFieldsAreRefused)
{
    const auto refused = [](std::vector<std::uint8_t> bytes, const char* what) {
        try
        {
            DecodeMessage(bytes);
            ADD_FAILURE() << "accepted: " << what;
        }
        catch (const NetMessageError& e)
        {
            EXPECT_NE(std::string(e.what()), "") << what;
        }
    };
    refused({0}, "type 0");
    refused({99}, "an unknown type");
    refused({4, 1, 0, 0, 0, 0xFF, 0xFF, 1, 0x20}, "65535 events in a turn");
    refused({4, 1, 0, 0, 0, 1, 0, 9, 0x20}, "an unknown event kind");
    refused({4, 1, 0, 0, 0, 1, 0, 1, 0}, "key 0");
    refused({4, 1, 0, 0, 0, 1, 0, 3, 7, 0, 0, 0, 0}, "mouse button 7");
    refused({4, 1, 0, 0, 0, 1, 0, 4, 2, 0}, "a third pad");
    refused({4, 1, 0, 0, 0, 1, 0, 4, 0, 8}, "pad button 8");
    refused({4, 1, 0, 0, 0, 1, 0, 6, 0, 2, 0, 0}, "pad axis 2");
    refused({3, 0x01, 0x04}, "a refusal longer than the limit");
    refused({1, 1, 0, 0, 0, 0x01, 0x02}, "513 data files");
    refused(std::vector<std::uint8_t>(MaxNetMessageBytes + 1, 6), "a packet over the size limit");

    TurnMessage crowded{1, std::vector<InputEvent>(MaxEventsPerTurn + 1, Key(EventKind::KeyDown, 0x20))};
    EXPECT_THROW(EncodeMessage(crowded), NetMessageError);
    TurnMessage local{1, {InputEvent{}}};   // a quit is never shared
    EXPECT_THROW(EncodeMessage(local), NetMessageError);
    TurnMessage full{1, std::vector<InputEvent>(MaxEventsPerTurn, Key(EventKind::KeyDown, 0x20))};
    EXPECT_EQ(std::get<TurnMessage>(DecodeMessage(EncodeMessage(full))).events.size(), MaxEventsPerTurn);
}

}  // namespace
}  // namespace vorlanex
