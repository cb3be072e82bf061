#include "framework/AssetArchive.h"

#include <stdexcept>

namespace vorlanex {

namespace {

class Reader
{
public:
    explicit Reader(std::span<const std::uint8_t> data) : data(data) {}
    std::uint32_t Le(int bytes)
    {
        Need(std::size_t(bytes));
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= std::uint32_t(data[pos + std::size_t(i)]) << (8 * i);
        pos += std::size_t(bytes);
        return v;
    }
    std::span<const std::uint8_t> Take(std::size_t n)
    {
        Need(n);
        auto s = data.subspan(pos, n);
        pos += n;
        return s;
    }

private:
    void Need(std::size_t n)
    {
        if (n > data.size() - pos)
            throw std::runtime_error("built-in asset archive is truncated");
    }
    std::span<const std::uint8_t> data;
    std::size_t pos = 0;
};

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

}  // namespace

std::vector<AssetEntry> ReadAssetArchive(std::span<const std::uint8_t> archive)
{
    Reader in(archive);
    const auto magic = in.Take(4);
    if (std::string(magic.begin(), magic.end()) != "VXA1")
        throw std::runtime_error("built-in asset archive has a wrong signature");
    const std::uint32_t count = in.Le(4);
    std::vector<AssetEntry> entries;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        AssetEntry e;
        const std::uint32_t kind = in.Le(1);
        if (kind != 1 && kind != 2)
            throw std::runtime_error("built-in asset archive has an unknown entry kind");
        e.kind = AssetKind(kind);
        const auto name = in.Take(in.Le(2));
        e.name.assign(name.begin(), name.end());
        const auto bytes = in.Take(in.Le(4));
        e.bytes.assign(bytes.begin(), bytes.end());
        entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<std::uint8_t> WriteAssetArchive(const std::vector<AssetEntry>& entries)
{
    std::vector<std::uint8_t> out{'V', 'X', 'A', '1'};
    PutLe(out, std::uint32_t(entries.size()), 4);
    for (const AssetEntry& e : entries)
    {
        out.push_back(std::uint8_t(e.kind));
        PutLe(out, std::uint32_t(e.name.size()), 2);
        out.insert(out.end(), e.name.begin(), e.name.end());
        PutLe(out, std::uint32_t(e.bytes.size()), 4);
        out.insert(out.end(), e.bytes.begin(), e.bytes.end());
    }
    return out;
}

const AssetEntry* FindAsset(const std::vector<AssetEntry>& entries, AssetKind kind, const std::string& name)
{
    for (const AssetEntry& e : entries)
        if (e.kind == kind && e.name == name)
            return &e;
    return nullptr;
}

}  // namespace vorlanex
