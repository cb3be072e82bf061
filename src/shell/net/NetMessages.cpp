#include "shell/net/NetMessages.h"

namespace vorlanex {

namespace {

enum class MessageType : std::uint8_t { Hello = 1, Welcome, Refusal, Turn, Digest, Goodbye };

// The event kinds that travel, as their wire numbers.
enum class WireEvent : std::uint8_t { KeyDown = 1, KeyUp, MouseDown, PadDown, PadUp, PadAxis, PadRemoved };

class Writer
{
public:
    void U8(std::uint32_t v) { bytes.push_back(std::uint8_t(v)); }
    void U16(std::uint32_t v) { Little(v, 2); }
    void U32(std::uint32_t v) { Little(v, 4); }
    void U64(std::uint64_t v) { Little(v, 8); }
    void Text(const std::string& text, std::size_t limit)
    {
        if (text.size() > limit)
            throw NetMessageError("a text of " + std::to_string(text.size()) + " bytes is too long to send");
        U16(std::uint32_t(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    std::vector<std::uint8_t> bytes;

private:
    void Little(std::uint64_t v, int count)
    {
        for (int i = 0; i < count; ++i)
            bytes.push_back(std::uint8_t(v >> (8 * i)));
    }
};

class Reader
{
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes(bytes) {}
    std::uint8_t U8() { return std::uint8_t(Little(1)); }
    std::uint16_t U16() { return std::uint16_t(Little(2)); }
    std::uint32_t U32() { return std::uint32_t(Little(4)); }
    std::uint64_t U64() { return Little(8); }
    std::int32_t I32() { return std::int32_t(U32()); }
    std::int16_t I16() { return std::int16_t(U16()); }
    std::string Text(std::size_t limit)
    {
        const std::size_t size = U16();
        if (size > limit)
            throw NetMessageError("a text of " + std::to_string(size) + " bytes is longer than " +
                                  std::to_string(limit));
        Need(size);
        std::string text(reinterpret_cast<const char*>(bytes.data() + at), size);
        at += size;
        return text;
    }
    // A count of items of at least `itemBytes` each: checked against the limit and the bytes left.
    std::size_t Count(std::size_t limit, std::size_t itemBytes, const char* what)
    {
        const std::size_t count = U16();
        if (count > limit)
            throw NetMessageError(std::to_string(count) + " " + what + " are more than " + std::to_string(limit));
        Need(count * itemBytes);
        return count;
    }
    void End() const
    {
        if (at != bytes.size())
            throw NetMessageError(std::to_string(bytes.size() - at) + " bytes too many");
    }

private:
    void Need(std::size_t n) const
    {
        if (bytes.size() - at < n)
            throw NetMessageError("the message ends early");
    }
    std::uint64_t Little(int count)
    {
        Need(std::size_t(count));
        std::uint64_t v = 0;
        for (int i = 0; i < count; ++i)
            v |= std::uint64_t(bytes[at++]) << (8 * i);
        return v;
    }

    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

void WriteEvent(Writer& w, const InputEvent& e)
{
    switch (e.kind)
    {
    case EventKind::KeyDown:
    case EventKind::KeyUp:
        w.U8(std::uint32_t(e.kind == EventKind::KeyDown ? WireEvent::KeyDown : WireEvent::KeyUp));
        w.U8(std::uint32_t(e.key));
        break;
    case EventKind::MouseDown:
        w.U8(std::uint32_t(WireEvent::MouseDown));
        w.U8(std::uint32_t(e.button));
        w.U16(std::uint32_t(std::int16_t(e.x)));
        w.U16(std::uint32_t(std::int16_t(e.y)));
        break;
    case EventKind::PadDown:
    case EventKind::PadUp:
        w.U8(std::uint32_t(e.kind == EventKind::PadDown ? WireEvent::PadDown : WireEvent::PadUp));
        w.U8(std::uint32_t(e.pad));
        w.U8(std::uint32_t(e.padButton));
        break;
    case EventKind::PadAxis:
        w.U8(std::uint32_t(WireEvent::PadAxis));
        w.U8(std::uint32_t(e.pad));
        w.U8(std::uint32_t(e.axis));
        w.U16(std::uint32_t(std::int16_t(e.axisValue)));
        break;
    case EventKind::PadRemoved:
        w.U8(std::uint32_t(WireEvent::PadRemoved));
        w.U8(std::uint32_t(e.pad));
        break;
    default: throw NetMessageError("an event of this kind does not travel");
    }
}

int ReadPad(Reader& r)
{
    const int pad = r.U8();
    if (pad >= PadCount)
        throw NetMessageError("pad " + std::to_string(pad) + " does not exist");
    return pad;
}

InputEvent ReadEvent(Reader& r)
{
    InputEvent e;
    const std::uint8_t kind = r.U8();
    switch (WireEvent(kind))
    {
    case WireEvent::KeyDown:
    case WireEvent::KeyUp:
        e.kind = WireEvent(kind) == WireEvent::KeyDown ? EventKind::KeyDown : EventKind::KeyUp;
        e.key = r.U8();
        if (e.key == 0)
            throw NetMessageError("key 0 does not exist");
        return e;
    case WireEvent::MouseDown:
    {
        e.kind = EventKind::MouseDown;
        const std::uint8_t button = r.U8();
        if (button > std::uint8_t(MouseButton::Middle))
            throw NetMessageError("mouse button " + std::to_string(button) + " does not exist");
        e.button = MouseButton(button);
        e.x = r.I16();
        e.y = r.I16();
        return e;
    }
    case WireEvent::PadDown:
    case WireEvent::PadUp:
    {
        e.kind = WireEvent(kind) == WireEvent::PadDown ? EventKind::PadDown : EventKind::PadUp;
        e.pad = ReadPad(r);
        const std::uint8_t button = r.U8();
        if (button >= PadButtonCount)
            throw NetMessageError("pad button " + std::to_string(button) + " does not exist");
        e.padButton = PadButton(button);
        return e;
    }
    case WireEvent::PadAxis:
    {
        e.kind = EventKind::PadAxis;
        e.pad = ReadPad(r);
        const std::uint8_t axis = r.U8();
        if (axis > std::uint8_t(PadAxis::LeftY))
            throw NetMessageError("pad axis " + std::to_string(axis) + " does not exist");
        e.axis = PadAxis(axis);
        e.axisValue = r.I16();
        return e;
    }
    case WireEvent::PadRemoved:
        e.kind = EventKind::PadRemoved;
        e.pad = ReadPad(r);
        return e;
    }
    throw NetMessageError("unknown event kind " + std::to_string(kind));
}

void Write(Writer& w, const HelloMessage& m)
{
    w.U16(m.protocol);
    w.Text(m.gameVersion, MaxNameBytes);
    if (m.files.size() > MaxDataFiles)
        throw NetMessageError("too many data files to send");
    w.U16(std::uint32_t(m.files.size()));
    for (const FileDigest& f : m.files)
    {
        w.Text(f.name, MaxNameBytes);
        w.U64(f.digest);
    }
}

void Write(Writer& w, const WelcomeMessage& m)
{
    w.U64(m.seed);
    w.U32(std::uint32_t(m.level));
    w.U32(std::uint32_t(m.difficulty));
    w.U8(m.delay);
}

void Write(Writer& w, const RefusalMessage& m) { w.Text(m.reason, MaxTextBytes); }

void Write(Writer& w, const TurnMessage& m)
{
    w.U32(m.turn);
    if (m.events.size() > MaxEventsPerTurn)
        throw NetMessageError("too many events in one turn");
    w.U16(std::uint32_t(m.events.size()));
    for (const InputEvent& e : m.events)
        WriteEvent(w, e);
}

void Write(Writer& w, const DigestMessage& m)
{
    w.U32(m.frame);
    w.U64(m.digest);
}

void Write(Writer&, const GoodbyeMessage&) {}

constexpr std::uint8_t TypeOf(const NetMessage& m) { return std::uint8_t(m.index() + 1); }

}  // namespace

bool TravelsInTurn(const InputEvent& e)
{
    switch (e.kind)
    {
    case EventKind::KeyDown:
    case EventKind::KeyUp: return e.key >= 1 && e.key <= 255;
    case EventKind::MouseDown: return true;
    case EventKind::PadDown:
    case EventKind::PadUp:
    case EventKind::PadAxis:
    case EventKind::PadRemoved: return e.pad >= 0 && e.pad < PadCount;
    default: return false;
    }
}

bool SameTravellingEvent(const InputEvent& a, const InputEvent& b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind)
    {
    case EventKind::KeyDown:
    case EventKind::KeyUp: return a.key == b.key;
    case EventKind::MouseDown: return a.button == b.button && a.x == b.x && a.y == b.y;
    case EventKind::PadDown:
    case EventKind::PadUp: return a.pad == b.pad && a.padButton == b.padButton;
    case EventKind::PadAxis: return a.pad == b.pad && a.axis == b.axis && a.axisValue == b.axisValue;
    case EventKind::PadRemoved: return a.pad == b.pad;
    default: return true;
    }
}

std::vector<std::uint8_t> EncodeMessage(const NetMessage& message)
{
    Writer w;
    w.U8(TypeOf(message));
    std::visit([&w](const auto& m) { Write(w, m); }, message);
    return std::move(w.bytes);
}

NetMessage DecodeMessage(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > MaxNetMessageBytes)
        throw NetMessageError("a message of " + std::to_string(bytes.size()) + " bytes is too long");
    Reader r(bytes);
    const std::uint8_t type = r.U8();
    NetMessage message;
    switch (MessageType(type))
    {
    case MessageType::Hello:
    {
        HelloMessage m;
        m.protocol = r.U16();
        m.gameVersion = r.Text(MaxNameBytes);
        const std::size_t count = r.Count(MaxDataFiles, 10, "data files");
        m.files.resize(count);
        for (FileDigest& f : m.files)
        {
            f.name = r.Text(MaxNameBytes);
            f.digest = r.U64();
        }
        message = std::move(m);
        break;
    }
    case MessageType::Welcome:
    {
        WelcomeMessage m;
        m.seed = r.U64();
        m.level = r.I32();
        m.difficulty = r.I32();
        m.delay = r.U8();
        message = m;
        break;
    }
    case MessageType::Refusal: message = RefusalMessage{r.Text(MaxTextBytes)}; break;
    case MessageType::Turn:
    {
        TurnMessage m;
        m.turn = r.U32();
        const std::size_t count = r.Count(MaxEventsPerTurn, 2, "events in one turn");
        m.events.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            m.events.push_back(ReadEvent(r));
        message = std::move(m);
        break;
    }
    case MessageType::Digest:
    {
        DigestMessage m;
        m.frame = r.U32();
        m.digest = r.U64();
        message = m;
        break;
    }
    case MessageType::Goodbye: message = GoodbyeMessage{}; break;
    default: throw NetMessageError("unknown message type " + std::to_string(type));
    }
    r.End();
    return message;
}

}  // namespace vorlanex
