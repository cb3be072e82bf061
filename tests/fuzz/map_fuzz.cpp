// Map files and text maps from anywhere: nothing may crash, hang or allocate beyond the input's size, and
// whatever reads back must write and read back the same.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "maps/MapFile.h"
#include "maps/MapText.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void BinaryMap(std::span<const std::uint8_t> bytes)
{
    const vorlanex::MapReadResult read = vorlanex::ReadMapBytes(bytes, "fuzz.map");
    Check((read.Status == vorlanex::MapReadStatus::Ok) == read.Message.empty());
    if (read.Status != vorlanex::MapReadStatus::Ok)
        return;
    const vorlanex::MapReadResult again = vorlanex::ReadMapBytes(vorlanex::WriteMapBytes(read.Map), "again.map");
    Check(again.Status == vorlanex::MapReadStatus::Ok && again.Map == read.Map);
    std::string text;
    try
    {
        text = vorlanex::MapToText(read.Map);
    }
    catch (const vorlanex::MapTextError&)
    {
        return;   // a name that is not GBK or holds a line break has no text form
    }
    const vorlanex::MapData parsed = vorlanex::ParseMapText(text, "dump");
    // Text trims the blanks around a name; everything else comes back as it was.
    Check(parsed.PlayerStart == read.Map.PlayerStart && parsed.EnemySpawnPoints == read.Map.EnemySpawnPoints);
    for (std::size_t i = 0; i < 3; ++i)
    {
        const auto& a = parsed.Layers[i];
        const auto& b = read.Map.Layers[i];
        Check(a.size() == b.size());
        for (std::size_t j = 0; j < a.size(); ++j)
            Check(a[j].Col == b[j].Col && a[j].Row == b[j].Row && a[j].Reserved1 == b[j].Reserved1 &&
                  a[j].Reserved2 == b[j].Reserved2 && a[j].Reserved3 == b[j].Reserved3);
    }
}

void TextMap(std::string_view text)
{
    try
    {
        const vorlanex::MapData map = vorlanex::ParseMapText(text, "fuzz.txt");
        const auto bytes = vorlanex::WriteMapBytes(map);
        Check(vorlanex::ReadMapBytes(bytes, "text.map").Map == map);
    }
    catch (const vorlanex::MapTextError&)
    {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    BinaryMap({data, size});
    TextMap({reinterpret_cast<const char*>(data), size});
    return 0;
}
