#pragma once
// A read position over bytes held in memory, with the plain reads the map and tile formats are made of:
// a read at the end of the data comes back short and leaves what it could not fill as it was.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vorlanex {

class ByteStream
{
public:
    explicit ByteStream(std::span<const std::uint8_t> bytes) : bytes(bytes) {}

    std::size_t Size() const { return bytes.size(); }
    std::size_t Position() const { return pos; }
    std::size_t Remaining() const { return bytes.size() - pos; }
    void Seek(std::size_t position) { pos = position < bytes.size() ? position : bytes.size(); }

    // Copies up to `count` bytes; returns how many were there.
    std::size_t Read(void* dst, std::size_t count)
    {
        const std::size_t n = count < Remaining() ? count : Remaining();
        for (std::size_t i = 0; i < n; ++i)
            static_cast<std::uint8_t*>(dst)[i] = bytes[pos + i];
        pos += n;
        return n;
    }

    void ReadByte(std::uint8_t& value) { Read(&value, 1); }

    // Little-endian. A short read replaces only the low bytes it got, as a raw read into the variable does.
    void ReadInt(std::int32_t& value)
    {
        auto u = std::uint32_t(value);
        for (int i = 0; i < 4 && pos < bytes.size(); ++i)
            u = (u & ~(0xFFu << (8 * i))) | (std::uint32_t(bytes[pos++]) << (8 * i));
        value = std::int32_t(u);
    }

    // The caller has checked that `count` bytes remain.
    std::string ReadText(std::size_t count)
    {
        std::string s(reinterpret_cast<const char*>(bytes.data() + pos), count);
        pos += count;
        return s;
    }

private:
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
};

}  // namespace vorlanex
