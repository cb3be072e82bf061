// Arbitrary bytes as a compound file: open it, walk every storage and read every stream. Only
// CompoundFileError may come out.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/CompoundFile.h"

namespace {

// Storages may share children in a hostile directory, so the walk has a budget rather than a depth limit.
void Walk(const vorlanex::CompoundFile& file, vorlanex::CompoundFile::EntryId storage, int& budget)
{
    for (const auto id : file.Children(storage))
    {
        if (--budget < 0)
            return;
        file.FindChild(storage, file.Name(id));
        if (file.IsStorage(id))
            Walk(file, id, budget);
        else if (file.IsStream(id))
            file.ReadStream(id);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try
    {
        const auto file = vorlanex::CompoundFile::FromBytes(std::vector<std::uint8_t>(data, data + size), "fuzz");
        int budget = 10000;
        Walk(file, vorlanex::CompoundFile::RootId, budget);
        file.FindChild(vorlanex::CompoundFile::RootId, u"\u56fe\u5e93");
    }
    catch (const vorlanex::CompoundFileError&)
    {
    }
    return 0;
}
