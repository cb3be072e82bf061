// The input-script format: what a recording writes, the parser reads back, and bad lines are named.

#include <gtest/gtest.h>

#include "shell/automation/InputScript.h"

using namespace vorlanex;

namespace {

std::string ErrorOf(const std::string& text)
{
    try
    {
        ParseInputScript(text, "s.txt");
    }
    catch (const InputScriptError& e)
    {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST(InputScriptFormat, EveryRecordedLineParsesBackToItsEvent)
{
    std::vector<InputEvent> events(9);
    events[0].kind = EventKind::KeyDown, events[0].key = 0x10;
    events[1].kind = EventKind::KeyUp, events[1].key = 0x68;
    events[2].kind = EventKind::MouseDown, events[2].button = MouseButton::Right, events[2].x = -3, events[2].y = 700;
    events[3].kind = EventKind::MouseMove, events[3].x = 1023, events[3].y = 0;
    events[4].kind = EventKind::FocusLost;
    events[5].kind = EventKind::Quit;
    events[6].kind = EventKind::PadDown, events[6].pad = 1, events[6].padButton = PadButton::DpadLeft;
    events[7].kind = EventKind::PadAxis, events[7].pad = 0, events[7].axis = PadAxis::LeftY;
    events[7].axisValue = -32768;
    events[8].kind = EventKind::PadUp, events[8].padButton = PadButton::Start;
    std::string text = "seed 18446744073709551615\n";
    for (const InputEvent& e : events)
        text += ScriptLines(7, e);
    const InputScript script = ParseInputScript(text, "rec");
    ASSERT_EQ(script.seed, 18446744073709551615u);
    ASSERT_EQ(script.events.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i)
    {
        const InputEvent got = script.events[i].Event();
        EXPECT_EQ(script.events[i].frame, 7);
        EXPECT_EQ(got.kind, events[i].kind) << i;
        EXPECT_EQ(got.key, events[i].key) << i;
        EXPECT_EQ(got.x, events[i].x) << i;
        EXPECT_EQ(got.y, events[i].y) << i;
        EXPECT_EQ(got.pad, events[i].pad) << i;
        EXPECT_EQ(got.padButton, events[i].padButton) << i;
        EXPECT_EQ(got.axis, events[i].axis) << i;
        EXPECT_EQ(got.axisValue, events[i].axisValue) << i;
    }
}

TEST(InputScriptFormat, EventsTheScriptCannotSayAreLeftOut)
{
    InputEvent repeat;
    repeat.kind = EventKind::KeyDown;
    repeat.key = 0x20;
    repeat.repeat = true;
    EXPECT_EQ(ScriptLines(1, repeat), "");
    InputEvent unnamed;
    unnamed.kind = EventKind::KeyDown;
    unnamed.key = 0x91;   // Scroll Lock: the game has no use for it
    EXPECT_EQ(ScriptLines(1, unnamed), "");
    InputEvent unplugged;
    unplugged.kind = EventKind::PadRemoved;
    unplugged.pad = 1;
    const std::string lines = ScriptLines(3, unplugged);
    EXPECT_NE(lines.find("3 pad 2 up dpup\n"), std::string::npos);
    EXPECT_NE(lines.find("3 pad 2 axis lefty 0\n"), std::string::npos);
}

TEST(InputScriptFormat, BadLinesAreNamedWithTheirPlace)
{
    EXPECT_EQ(ErrorOf("seed 1\nseed 2\n"), "s.txt:2: a second seed line");
    EXPECT_EQ(ErrorOf("seed -1\n"), "s.txt:1: '-1' is not a number");
    EXPECT_EQ(ErrorOf("0 press Space\n"), "s.txt:1: '0' is out of range (1 to 1000000000000)");
    EXPECT_EQ(ErrorOf("5 pad 3 down a\n"), "s.txt:1: '3' is out of range (1 to 2)");
    EXPECT_EQ(ErrorOf("5 pad 1 down y\n"), "s.txt:1: unknown pad button 'y'");
    EXPECT_EQ(ErrorOf("5 pad 1 axis rightx 4\n"), "s.txt:1: axis needs leftx or lefty");
    EXPECT_EQ(ErrorOf("5 pad 1 axis leftx 40000\n"), "s.txt:1: '40000' is out of range (-32768 to 32767)");
    EXPECT_EQ(ErrorOf("5 quit now\n"), "s.txt:1: expected FRAME quit");
    EXPECT_EQ(ErrorOf("\n# fine\n5 jump\n"), "s.txt:3: expected FRAME ACTION ARGUMENTS");
    EXPECT_EQ(ErrorOf("5 press Left Shift # comment\n9 click middle 1 2\n"), "s.txt:2: click needs left or right");
}

TEST(InputScriptFormat, PressIsDownThenUpAndLinesKeepTheirOrderWithinAFrame)
{
    const InputScript s = ParseInputScript("9 down A\n4 press Space\n9 up A\n", "s");
    ASSERT_EQ(s.events.size(), 4u);
    EXPECT_EQ(s.events[0].frame, 4);
    EXPECT_EQ(s.events[1].frame, 5);
    EXPECT_EQ(s.events[1].kind, EventKind::KeyUp);
    EXPECT_EQ(s.events[2].kind, EventKind::KeyDown);
    EXPECT_EQ(s.events[3].kind, EventKind::KeyUp);
    EXPECT_FALSE(s.seed);
}

// A writer stopped in the middle of a line leaves it without its newline: that line is left out with a
// warning, never read as the shorter word it was cut to, and never a reason to refuse the whole recording.
TEST(InputScriptFormat, ALastLineCutShortIsLeftOutWithAWarning)
{
    for (const std::string cut : {"9 press F1", "9 down Left", "9 pad 1 axis leftx -32", "2093 dow"})
    {
        const InputScript s = ParseInputScript("seed 2\n4 press Space\n" + cut, "rec.txt");
        ASSERT_EQ(s.events.size(), 2u) << cut;
        ASSERT_EQ(s.warnings.size(), 1u);
        EXPECT_EQ(s.warnings[0], "rec.txt:3: '" + cut + "' has no end of line, so it was cut short; it is left out");
    }
    const InputScript whole = ParseInputScript("4 press Space\n# a comment at the very end", "s");
    EXPECT_EQ(whole.events.size(), 2u);
    EXPECT_TRUE(whole.warnings.empty());
}

TEST(InputScriptFormat, TheEndLineSaysWhereTheRecordedGameStopped)
{
    const InputScript s = ParseInputScript("seed 1\n3 press Space\n7 end\n5 down Up\n12 end\n", "rec");
    EXPECT_EQ(s.end, 12);
    EXPECT_EQ(s.events.size(), 3u) << "the end line is no event";
    EXPECT_FALSE(ParseInputScript("3 press Space\n", "s").end);
    EXPECT_EQ(ErrorOf("7 end now\n"), "s.txt:1: expected FRAME end");
}

// What a file says is quoted short and harmless: no terminal control bytes, no screenfuls of text.
TEST(InputScriptFormat, MessagesQuoteTheFileShortAndEscaped)
{
    EXPECT_EQ(ErrorOf("\xEF\xBB\xBF" "5 press \x1B[2J\n"), "s.txt:1: unknown key '\\x1B[2J'");
    EXPECT_EQ(ErrorOf(std::string("5 press A\0B\n", 12)), "s.txt:1: unknown key 'A\\x00B'");
    const std::string error = ErrorOf("5 press " + std::string(5000, 'x') + "\n");
    EXPECT_EQ(error, "s.txt:1: unknown key '" + std::string(80, 'x') + "...'");
    // A cut never splits a character: of three-byte characters, 26 fit in 80 bytes.
    std::string wide;
    for (int i = 0; i < 30; ++i)
        wide += "坦";
    EXPECT_EQ(ErrorOf("5 press " + wide + "\n"), "s.txt:1: unknown key '" + wide.substr(0, 78) + "...'");
    EXPECT_EQ(ErrorOf("99999999999999999999 press A\n"),
              "s.txt:1: '99999999999999999999' is out of range (1 to 1000000000000)");
}
