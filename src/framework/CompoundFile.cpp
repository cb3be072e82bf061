#include "framework/CompoundFile.h"

#include <algorithm>
#include <cstring>

#include "framework/CompoundFileFormat.h"
#include "framework/CompoundFileNames.h"
#include "framework/DataFile.h"

namespace vorlanex {

namespace {

using namespace compound_file;
// Files up to this size are read with one call: the tile library is opened twice for every map cell.
constexpr std::uint64_t WholeFileLimit = 8u << 20;
// Streams and allocation tables are allocated at sizes up to the file's: a tile library of thousands of tiles
// is a few megabytes.
constexpr std::uint64_t MaxFileBytes = 64u << 20;

enum EntryType : std::uint8_t { Unused = 0, StorageType = 1, StreamType = 2, RootType = 5 };

std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t Le32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint64_t Le64(const std::uint8_t* p) { return Le32(p) | (std::uint64_t(Le32(p + 4)) << 32); }

struct DirEntry
{
    std::u16string name;
    std::uint8_t type = Unused;
    std::uint32_t left = NoStream, right = NoStream, child = NoStream;
    std::uint32_t start = EndOfChain;
    std::uint64_t size = 0;
};

// Where the bytes come from: a file image in memory, or a large file read piece by piece.
class ByteSource
{
public:
    explicit ByteSource(std::vector<std::uint8_t> image) : bytes(std::move(image)), size(bytes.size()) {}
    explicit ByteSource(DataFile in) : file(std::make_unique<DataFile>(std::move(in))), size(file->Size()) {}

    std::uint64_t Size() const { return size; }

    // The caller has checked that the range lies inside the file.
    bool Read(std::uint64_t offset, std::uint8_t* dst, std::size_t count)
    {
        if (!file)
        {
            std::memcpy(dst, bytes.data() + offset, count);
            return true;
        }
        return file->ReadAt(offset, dst, count);
    }

private:
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<DataFile> file;
    std::uint64_t size = 0;
};

std::string Quoted(std::u16string_view name) { return "'" + CompoundNameToUtf8(name) + "'"; }

}  // namespace

struct CompoundFile::Impl
{
    Impl(std::string sourceName, ByteSource bytes) : name(std::move(sourceName)), source(std::move(bytes)) {}

    std::string name;
    ByteSource source;
    int major = 3;
    std::uint32_t sectorShift = 9, sectorSize = 512, sectorCount = 0;
    std::uint32_t fatSectorCount = 0, firstDirSector = 0, firstMiniFatSector = 0;
    std::uint32_t firstDifatSector = 0, difatSectorCount = 0;
    std::vector<std::uint32_t> headerFat;
    std::vector<std::uint32_t> fat, miniFat;
    std::vector<DirEntry> entries;
    std::vector<std::uint32_t> miniStreamSectors;
    std::uint64_t miniStreamSize = 0;

    [[noreturn]] void Fail(const std::string& what) const { throw CompoundFileError(name + ": " + what); }

    void Load()
    {
        ReadHeader();
        LoadFat();
        LoadDirectory();
        LoadMiniStream();
    }

    void ReadAt(std::uint64_t offset, std::uint8_t* dst, std::size_t count)
    {
        if (offset > source.Size() || count > source.Size() - offset || !source.Read(offset, dst, count))
            Fail("truncated: needs bytes up to offset " + std::to_string(offset + count) + " of " +
                 std::to_string(source.Size()));
    }

    std::uint64_t SectorOffset(std::uint32_t sector) const { return (std::uint64_t(sector) + 1) << sectorShift; }

    std::vector<std::uint8_t> ReadSector(std::uint32_t sector)
    {
        std::vector<std::uint8_t> data(sectorSize);
        ReadAt(SectorOffset(sector), data.data(), data.size());
        return data;
    }

    void ReadHeader();
    void LoadFat();
    void LoadDirectory();
    void LoadMiniStream();
    std::vector<std::uint32_t> Chain(std::uint32_t start, const std::vector<std::uint32_t>& table,
                                     std::uint64_t limit, std::uint64_t maxLength, const std::string& what) const;
    const DirEntry& Entry(EntryId id) const;
    std::vector<EntryId> Children(EntryId storage) const;
    std::optional<EntryId> SearchTree(EntryId storage, std::u16string_view wanted) const;
    std::vector<std::uint8_t> ReadMini(const DirEntry& entry);
    std::vector<std::uint8_t> ReadRegular(const DirEntry& entry);
};

void CompoundFile::Impl::ReadHeader()
{
    if (source.Size() < 512)
        Fail("too short for a compound file (" + std::to_string(source.Size()) + " bytes)");
    std::uint8_t h[512];
    ReadAt(0, h, sizeof h);
    if (std::memcmp(h, Signature, sizeof Signature) != 0)
        Fail("not a compound file (wrong signature)");
    if (Le16(h + 28) != 0xFFFE)
        Fail("unsupported byte order mark");
    major = Le16(h + 26);
    sectorShift = Le16(h + 30);
    if (!((major == 3 && sectorShift == 9) || (major == 4 && sectorShift == 12)))
        Fail("unsupported version " + std::to_string(major) + " with sector shift " + std::to_string(sectorShift));
    if (Le16(h + 32) != 6)
        Fail("unsupported mini sector shift " + std::to_string(Le16(h + 32)));
    if (Le32(h + 56) != MiniStreamCutoff)
        Fail("unsupported mini stream cutoff " + std::to_string(Le32(h + 56)));
    sectorSize = 1u << sectorShift;
    if (source.Size() < sectorSize)
        Fail("truncated header sector");
    const std::uint64_t sectors = (source.Size() - sectorSize + sectorSize - 1) / sectorSize;
    sectorCount = std::uint32_t(std::min<std::uint64_t>(sectors, MaxRegularSector));
    fatSectorCount = Le32(h + 44);
    firstDirSector = Le32(h + 48);
    firstMiniFatSector = Le32(h + 60);
    firstDifatSector = Le32(h + 68);
    difatSectorCount = Le32(h + 72);
    for (std::uint32_t i = 0; i < HeaderFatEntries; ++i)
        headerFat.push_back(Le32(h + 76 + 4 * i));
}

void CompoundFile::Impl::LoadFat()
{
    if (fatSectorCount > sectorCount)
        Fail("claims " + std::to_string(fatSectorCount) + " allocation table sectors but holds only " +
             std::to_string(sectorCount) + " sectors");
    std::vector<std::uint32_t> fatSectors(headerFat.begin(),
                                          headerFat.begin() + std::min(fatSectorCount, HeaderFatEntries));
    const std::uint32_t perDifat = sectorSize / 4 - 1;
    std::uint32_t next = firstDifatSector;
    for (std::uint32_t d = 0; fatSectors.size() < fatSectorCount; ++d)
    {
        if (d >= difatSectorCount || next >= sectorCount)
            Fail("the extended allocation table ends after " + std::to_string(d) + " sectors");
        const auto sector = ReadSector(next);
        for (std::uint32_t j = 0; j < perDifat && fatSectors.size() < fatSectorCount; ++j)
            fatSectors.push_back(Le32(sector.data() + 4 * j));
        next = Le32(sector.data() + 4 * perDifat);
    }
    fat.resize(std::size_t(fatSectorCount) * (sectorSize / 4));
    for (std::size_t i = 0; i < fatSectors.size(); ++i)
    {
        if (fatSectors[i] >= sectorCount)
            Fail("allocation table sector " + std::to_string(fatSectors[i]) + " lies outside the file");
        const auto sector = ReadSector(fatSectors[i]);
        for (std::uint32_t j = 0; j < sectorSize / 4; ++j)
            fat[i * (sectorSize / 4) + j] = Le32(sector.data() + 4 * j);
    }
}

std::vector<std::uint32_t> CompoundFile::Impl::Chain(std::uint32_t start, const std::vector<std::uint32_t>& table,
                                                     std::uint64_t limit, std::uint64_t maxLength,
                                                     const std::string& what) const
{
    limit = std::min<std::uint64_t>(limit, table.size());
    std::vector<std::uint32_t> chain;
    std::vector<bool> seen(limit);
    for (std::uint32_t s = start; s != EndOfChain && chain.size() < maxLength; s = table[s])
    {
        if (s >= limit)
            Fail("the chain of " + what + " refers to sector " + std::to_string(s) + ", outside the " +
                 std::to_string(limit) + " sectors there are");
        if (seen[s])
            Fail("the chain of " + what + " loops back to sector " + std::to_string(s));
        seen[s] = true;
        chain.push_back(s);
    }
    return chain;
}

void CompoundFile::Impl::LoadDirectory()
{
    const auto chain = Chain(firstDirSector, fat, sectorCount, UINT64_MAX, "the directory");
    if (chain.empty())
        Fail("has no directory");
    const std::uint32_t perSector = sectorSize / EntrySize;
    entries.reserve(chain.size() * perSector);
    for (const std::uint32_t sector : chain)
    {
        const auto data = ReadSector(sector);
        for (std::uint32_t k = 0; k < perSector; ++k)
        {
            const std::uint8_t* p = data.data() + k * EntrySize;
            DirEntry e;
            e.type = p[66];
            const std::size_t index = entries.size();
            if (e.type != Unused)
            {
                const std::uint16_t nameBytes = Le16(p + 64);
                if (e.type != StorageType && e.type != StreamType && e.type != RootType)
                    Fail("directory entry " + std::to_string(index) + " has unknown type " + std::to_string(e.type));
                if ((e.type == RootType) != (index == 0))
                    Fail("directory entry " + std::to_string(index) + " is misplaced as or instead of the root");
                if (nameBytes > 64 || nameBytes % 2 != 0)
                    Fail("directory entry " + std::to_string(index) + " has a bad name length " +
                         std::to_string(nameBytes));
                for (std::uint16_t u = 0; u + 1 < nameBytes / 2; ++u)
                    e.name.push_back(char16_t(Le16(p + 2 * u)));
                e.left = Le32(p + 68);
                e.right = Le32(p + 72);
                e.child = Le32(p + 76);
                e.start = Le32(p + 116);
                e.size = major == 3 ? Le32(p + 120) : Le64(p + 120);   // version 3 leaves the high half undefined
            }
            entries.push_back(std::move(e));
        }
    }
    if (entries[0].type != RootType)
        Fail("has no root entry");
}

void CompoundFile::Impl::LoadMiniStream()
{
    const DirEntry& root = entries[0];
    if (root.size == 0)
        return;
    if (root.size > std::uint64_t(sectorCount) * sectorSize)
        Fail("the mini stream claims " + std::to_string(root.size) + " bytes, more than the file holds");
    const std::uint64_t needed = (root.size + sectorSize - 1) / sectorSize;
    miniStreamSectors = Chain(root.start, fat, sectorCount, needed, "the mini stream");
    if (miniStreamSectors.size() < needed)
        Fail("the mini stream ends before its size of " + std::to_string(root.size) + " bytes");
    miniStreamSize = root.size;
    for (const std::uint32_t sector : Chain(firstMiniFatSector, fat, sectorCount, UINT64_MAX, "the mini table"))
    {
        const auto data = ReadSector(sector);
        for (std::uint32_t j = 0; j < sectorSize / 4; ++j)
            miniFat.push_back(Le32(data.data() + 4 * j));
    }
}

const DirEntry& CompoundFile::Impl::Entry(EntryId id) const
{
    if (id >= entries.size() || entries[id].type == Unused)
        Fail("the directory refers to entry " + std::to_string(id) + ", which does not exist");
    return entries[id];
}

std::vector<CompoundFile::EntryId> CompoundFile::Impl::Children(EntryId storage) const
{
    std::vector<EntryId> out, stack;
    std::vector<bool> seen(entries.size());
    EntryId id = Entry(storage).child;
    while (id != NoStream || !stack.empty())
    {
        while (id != NoStream)
        {
            const DirEntry& e = Entry(id);
            if (id == 0 || seen[id])
                Fail("the directory tree of " + Quoted(Entry(storage).name) + " loops back to entry " +
                     std::to_string(id));
            seen[id] = true;
            stack.push_back(id);
            id = e.left;
        }
        id = stack.back();
        stack.pop_back();
        out.push_back(id);
        id = entries[id].right;
    }
    return out;
}

std::optional<CompoundFile::EntryId> CompoundFile::Impl::SearchTree(EntryId storage, std::u16string_view wanted) const
{
    EntryId id = Entry(storage).child;
    for (std::size_t steps = 0; id != NoStream; ++steps)
    {
        if (steps > entries.size())
            Fail("the directory tree of " + Quoted(Entry(storage).name) + " loops");
        const DirEntry& e = Entry(id);
        const int order = CompareCompoundNames(wanted, e.name);
        if (order == 0)
            return id;
        id = order < 0 ? e.left : e.right;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> CompoundFile::Impl::ReadMini(const DirEntry& entry)
{
    if (entry.size > miniStreamSize)
        Fail("stream " + Quoted(entry.name) + " claims " + std::to_string(entry.size) +
             " bytes, more than the mini stream holds");
    const std::uint64_t needed = (entry.size + MiniSectorSize - 1) / MiniSectorSize;
    const std::uint64_t miniSectors = (miniStreamSize + MiniSectorSize - 1) / MiniSectorSize;
    const auto chain = Chain(entry.start, miniFat, miniSectors, needed, "stream " + Quoted(entry.name));
    if (chain.size() < needed)
        Fail("stream " + Quoted(entry.name) + " ends before its size of " + std::to_string(entry.size) + " bytes");
    std::vector<std::uint8_t> out(entry.size);
    for (std::size_t i = 0; i < chain.size(); ++i)
    {
        const std::uint64_t offset = std::uint64_t(chain[i]) * MiniSectorSize;
        const std::size_t count = std::size_t(std::min<std::uint64_t>(MiniSectorSize, entry.size - i * MiniSectorSize));
        const std::uint32_t sector = miniStreamSectors[offset >> sectorShift];
        ReadAt(SectorOffset(sector) + (offset & (sectorSize - 1)), out.data() + i * MiniSectorSize, count);
    }
    return out;
}

std::vector<std::uint8_t> CompoundFile::Impl::ReadRegular(const DirEntry& entry)
{
    if (entry.size > std::uint64_t(sectorCount) * sectorSize)
        Fail("stream " + Quoted(entry.name) + " claims " + std::to_string(entry.size) +
             " bytes, more than the file holds");
    const std::uint64_t needed = (entry.size + sectorSize - 1) / sectorSize;
    const auto chain = Chain(entry.start, fat, sectorCount, needed, "stream " + Quoted(entry.name));
    if (chain.size() < needed)
        Fail("stream " + Quoted(entry.name) + " ends before its size of " + std::to_string(entry.size) + " bytes");
    std::vector<std::uint8_t> out(entry.size);
    for (std::size_t i = 0; i < chain.size(); ++i)
    {
        const std::uint64_t done = std::uint64_t(i) * sectorSize;
        const std::size_t count = std::size_t(std::min<std::uint64_t>(sectorSize, entry.size - done));
        ReadAt(SectorOffset(chain[i]), out.data() + done, count);
    }
    return out;
}

CompoundFile::CompoundFile(std::unique_ptr<Impl> p) : impl(std::move(p)) {}
CompoundFile::CompoundFile(CompoundFile&&) noexcept = default;
CompoundFile& CompoundFile::operator=(CompoundFile&&) noexcept = default;
CompoundFile::~CompoundFile() = default;

CompoundFile CompoundFile::Open(const std::string& path)
{
    try
    {
        DataFile file = DataFile::Open(path);
        file.RefuseLargerThan(MaxFileBytes, "a compound file");
        if (file.Size() <= WholeFileLimit)
            return FromBytes(file.ReadAll(WholeFileLimit, "a compound file"), path);
        auto impl = std::make_unique<Impl>(path, ByteSource(std::move(file)));
        impl->Load();
        return CompoundFile(std::move(impl));
    }
    catch (const DataFileError& e)
    {
        throw CompoundFileError(e.what());
    }
}

CompoundFile CompoundFile::FromBytes(std::vector<std::uint8_t> bytes, std::string sourceName)
{
    auto impl = std::make_unique<Impl>(std::move(sourceName), ByteSource(std::move(bytes)));
    impl->Load();
    return CompoundFile(std::move(impl));
}

int CompoundFile::MajorVersion() const { return impl->major; }
std::uint32_t CompoundFile::SectorSize() const { return impl->sectorSize; }
const std::string& CompoundFile::SourceName() const { return impl->name; }

bool CompoundFile::IsStorage(EntryId id) const
{
    return id < impl->entries.size() && (impl->entries[id].type == StorageType || impl->entries[id].type == RootType);
}

bool CompoundFile::IsStream(EntryId id) const
{
    return id < impl->entries.size() && impl->entries[id].type == StreamType;
}

std::u16string CompoundFile::Name(EntryId id) const { return impl->Entry(id).name; }

std::optional<CompoundFile::EntryId> CompoundFile::FindChild(EntryId storage, std::u16string_view name) const
{
    if (!IsStorage(storage))
        impl->Fail("entry " + std::to_string(storage) + " is not a storage");
    if (auto found = impl->SearchTree(storage, name))
        return found;
    // Writers that sort names with a different case mapping leave a tree the search cannot follow: look at
    // every child before giving up.
    for (const EntryId id : impl->Children(storage))
        if (CompareCompoundNames(name, impl->entries[id].name) == 0)
            return id;
    return std::nullopt;
}

CompoundFile::EntryId CompoundFile::OpenStorage(EntryId parent, std::u16string_view name) const
{
    const auto id = FindChild(parent, name);
    if (!id || !IsStorage(*id))
        impl->Fail("no storage " + Quoted(name) + " in " + Quoted(Name(parent)));
    return *id;
}

CompoundFile::EntryId CompoundFile::OpenStream(EntryId parent, std::u16string_view name) const
{
    const auto id = FindChild(parent, name);
    if (!id || !IsStream(*id))
        impl->Fail("no stream " + Quoted(name) + " in " + Quoted(Name(parent)));
    return *id;
}

std::vector<CompoundFile::EntryId> CompoundFile::Children(EntryId storage) const
{
    if (!IsStorage(storage))
        impl->Fail("entry " + std::to_string(storage) + " is not a storage");
    return impl->Children(storage);
}

std::uint64_t CompoundFile::StreamSize(EntryId stream) const
{
    if (!IsStream(stream))
        impl->Fail("entry " + std::to_string(stream) + " is not a stream");
    return impl->entries[stream].size;
}

std::vector<std::uint8_t> CompoundFile::ReadStream(EntryId stream) const
{
    if (!IsStream(stream))
        impl->Fail("entry " + std::to_string(stream) + " is not a stream");
    const DirEntry& entry = impl->entries[stream];
    if (entry.size == 0)
        return {};
    return entry.size < MiniStreamCutoff ? impl->ReadMini(entry) : impl->ReadRegular(entry);
}

}  // namespace vorlanex
