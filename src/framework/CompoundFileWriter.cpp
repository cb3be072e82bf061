#include "framework/CompoundFileWriter.h"

#include <algorithm>
#include <cstring>

#include "framework/CompoundFile.h"
#include "framework/CompoundFileFormat.h"
#include "framework/CompoundFileNames.h"

namespace vorlanex {

namespace {

using namespace compound_file;
constexpr std::uint8_t Red = 0, Black = 1;

void Put16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b) { return (a + b - 1) / b; }

}  // namespace

struct CompoundFileWriter::Node
{
    std::u16string name;
    bool storage = true;
    std::vector<std::uint8_t> data;
    std::vector<std::unique_ptr<Node>> children;   // kept in directory order

    Node& Child(const std::u16string& childName, bool asStorage)
    {
        if (!IsValidCompoundName(childName))
            throw CompoundFileError("invalid storage or stream name '" + CompoundNameToUtf8(childName) + "'");
        auto at = std::lower_bound(children.begin(), children.end(), childName,
                                   [](const auto& c, const std::u16string& n) { return CompareCompoundNames(c->name, n) < 0; });
        if (at != children.end() && CompareCompoundNames((*at)->name, childName) == 0)
        {
            if ((*at)->storage != asStorage)
                throw CompoundFileError("'" + CompoundNameToUtf8(childName) + "' is already used for a " +
                                        ((*at)->storage ? "storage" : "stream"));
            return **at;
        }
        auto node = std::make_unique<Node>();
        node->name = childName;
        node->storage = asStorage;
        return **children.insert(at, std::move(node));
    }
};

namespace {

struct OutEntry
{
    std::u16string name;
    std::uint8_t type = 0;
    std::uint8_t color = Black;
    std::uint32_t left = NoStream, right = NoStream, child = NoStream;
    std::uint32_t start = EndOfChain;
    std::uint64_t size = 0;
    const std::vector<std::uint8_t>* data = nullptr;
};

// A size-balanced tree has every level full except perhaps the last; colouring that last level red keeps
// the black height equal on every path.
std::uint32_t BuildTree(std::vector<OutEntry>& dir, std::uint32_t lo, std::uint32_t hi, int depth, int redDepth)
{
    if (lo >= hi)
        return NoStream;
    const std::uint32_t mid = lo + (hi - lo) / 2;
    dir[mid].left = BuildTree(dir, lo, mid, depth + 1, redDepth);
    dir[mid].right = BuildTree(dir, mid + 1, hi, depth + 1, redDepth);
    dir[mid].color = depth == redDepth ? Red : Black;
    return mid;
}

int RedDepth(std::uint32_t count)
{
    int fullLevels = 0;
    while ((std::uint64_t(2) << fullLevels) - 1 <= count)
        ++fullLevels;
    return (std::uint64_t(1) << fullLevels) - 1 == count ? -1 : fullLevels;
}

void WriteEntry(std::uint8_t* p, const OutEntry& e)
{
    for (std::size_t i = 0; i < e.name.size(); ++i)
        Put16(p + 2 * i, std::uint16_t(e.name[i]));
    Put16(p + 64, e.type == 0 ? 0 : std::uint16_t(2 * (e.name.size() + 1)));
    p[66] = e.type;
    p[67] = e.color;
    Put32(p + 68, e.left);
    Put32(p + 72, e.right);
    Put32(p + 76, e.child);
    Put32(p + 116, e.type == 0 ? 0 : e.start);
    Put32(p + 120, std::uint32_t(e.size));
    Put32(p + 124, std::uint32_t(e.size >> 32));
}

}  // namespace

CompoundFileWriter::CompoundFileWriter(int version) : majorVersion(version), root(std::make_unique<Node>())
{
    if (version != 3 && version != 4)
        throw CompoundFileError("compound file version " + std::to_string(version) + " cannot be written");
    root->name = u"Root Entry";
}

CompoundFileWriter::~CompoundFileWriter() = default;

CompoundFileWriter::Node& CompoundFileWriter::Descend(const std::vector<std::u16string>& path, std::size_t depth)
{
    Node* node = root.get();
    for (std::size_t i = 0; i < depth; ++i)
        node = &node->Child(path[i], true);
    return *node;
}

void CompoundFileWriter::AddStream(const std::vector<std::u16string>& path, std::vector<std::uint8_t> data)
{
    if (path.empty())
        throw CompoundFileError("a stream needs a name");
    if (majorVersion == 3 && data.size() > 0xFFFFFFFFu)
        throw CompoundFileError("a version 3 stream holds at most 4 GiB");
    Descend(path, path.size() - 1).Child(path.back(), false).data = std::move(data);
}

void CompoundFileWriter::AddStorage(const std::vector<std::u16string>& path) { Descend(path, path.size()); }

std::vector<std::uint8_t> CompoundFileWriter::Build() const
{
    const std::uint32_t shift = majorVersion == 3 ? 9 : 12;
    const std::uint32_t ss = 1u << shift;
    const std::uint32_t perSector = ss / 4;

    // Directory: the root, then each storage's children as a consecutive run that forms its tree.
    std::vector<OutEntry> dir(1);
    std::vector<const Node*> nodes{root.get()};
    dir[0].name = root->name;
    dir[0].type = 5;
    for (std::size_t i = 0; i < dir.size(); ++i)
    {
        const Node* node = nodes[i];
        const auto first = std::uint32_t(dir.size());
        for (const auto& child : node->children)
        {
            OutEntry e;
            e.name = child->name;
            e.type = child->storage ? 1 : 2;
            e.size = child->storage ? 0 : child->data.size();
            e.data = child->storage ? nullptr : &child->data;
            dir.push_back(std::move(e));
            nodes.push_back(child.get());
        }
        const auto count = std::uint32_t(node->children.size());
        dir[i].child = BuildTree(dir, first, first + count, 0, RedDepth(count));
    }

    // Small streams go into the mini stream, 64 bytes a mini sector.
    std::vector<std::uint8_t> mini;
    std::vector<std::uint32_t> miniFat;
    std::uint64_t regularSectors = 0;
    for (OutEntry& e : dir)
    {
        if (e.type != 2 || e.size == 0)
            continue;
        if (e.size >= MiniStreamCutoff)
        {
            regularSectors += CeilDiv(e.size, ss);
            continue;
        }
        const auto start = std::uint32_t(miniFat.size());
        const auto count = std::uint32_t(CeilDiv(e.size, MiniSectorSize));
        for (std::uint32_t k = 0; k < count; ++k)
            miniFat.push_back(k + 1 < count ? start + k + 1 : EndOfChain);
        e.start = start;
        mini.insert(mini.end(), e.data->begin(), e.data->end());
        mini.resize(std::size_t(miniFat.size()) * MiniSectorSize);
    }
    dir.resize(CeilDiv(dir.size(), ss / EntrySize) * (ss / EntrySize));

    const std::uint64_t miniSectors = CeilDiv(mini.size(), ss);
    const std::uint64_t miniFatSectors = CeilDiv(miniFat.size() * 4, ss);
    const std::uint64_t dirSectors = CeilDiv(dir.size() * EntrySize, ss);
    const std::uint64_t base = regularSectors + miniSectors + miniFatSectors + dirSectors;
    std::uint64_t fatCount = 0, difatCount = 0;
    for (;;)
    {
        const std::uint64_t fatNeeded = CeilDiv(base + fatCount + difatCount, perSector);
        const std::uint64_t difatNeeded =
            fatNeeded > HeaderFatEntries ? CeilDiv(fatNeeded - HeaderFatEntries, perSector - 1) : 0;
        if (fatNeeded == fatCount && difatNeeded == difatCount)
            break;
        fatCount = fatNeeded;
        difatCount = difatNeeded;
    }
    const std::uint64_t total = base + fatCount + difatCount;
    if (total >= 0xFFFFFFF0u)
        throw CompoundFileError("the compound file would be too large");

    std::vector<std::uint32_t> fat(fatCount * perSector, FreeSector);
    std::uint32_t next = 0;
    auto allocate = [&](std::uint64_t sectors) {
        if (sectors == 0)
            return EndOfChain;
        const std::uint32_t start = next;
        for (std::uint64_t k = 0; k < sectors; ++k, ++next)
            fat[next] = k + 1 < sectors ? next + 1 : EndOfChain;
        return start;
    };
    std::vector<std::uint8_t> out((total + 1) * ss, 0);
    auto sectorAt = [&](std::uint32_t s) { return out.data() + (std::size_t(s) + 1) * ss; };

    for (OutEntry& e : dir)
        if (e.type == 2 && e.size >= MiniStreamCutoff)
        {
            e.start = allocate(CeilDiv(e.size, ss));
            std::memcpy(sectorAt(e.start), e.data->data(), e.data->size());
        }
    dir[0].start = allocate(miniSectors);
    dir[0].size = mini.size();
    if (!mini.empty())
        std::memcpy(sectorAt(dir[0].start), mini.data(), mini.size());
    const std::uint32_t miniFatStart = allocate(miniFatSectors);
    miniFat.resize(miniFatSectors * perSector, FreeSector);
    for (std::size_t k = 0; k < miniFat.size(); ++k)
        Put32(sectorAt(miniFatStart) + 4 * k, miniFat[k]);
    const std::uint32_t dirStart = allocate(dirSectors);
    for (std::size_t k = 0; k < dir.size(); ++k)
        WriteEntry(sectorAt(dirStart) + EntrySize * k, dir[k]);

    std::vector<std::uint32_t> fatSectors;
    for (std::uint64_t k = 0; k < fatCount; ++k, ++next)
    {
        fat[next] = FatSector;
        fatSectors.push_back(next);
    }
    const std::uint32_t difatStart = difatCount ? next : EndOfChain;
    for (std::uint64_t d = 0; d < difatCount; ++d)
    {
        const std::uint32_t sector = next++;
        fat[sector] = DifatSector;
        std::uint8_t* p = sectorAt(sector);
        for (std::uint32_t j = 0; j < perSector - 1; ++j)
        {
            const std::uint64_t index = HeaderFatEntries + d * (perSector - 1) + j;
            Put32(p + 4 * j, index < fatSectors.size() ? fatSectors[index] : FreeSector);
        }
        Put32(p + 4 * (perSector - 1), d + 1 < difatCount ? sector + 1 : EndOfChain);
    }
    for (std::size_t k = 0; k < fat.size(); ++k)
        Put32(sectorAt(fatSectors[k / perSector]) + 4 * (k % perSector), fat[k]);

    std::uint8_t* h = out.data();
    std::memcpy(h, Signature, sizeof Signature);
    Put16(h + 24, 0x003E);
    Put16(h + 26, std::uint16_t(majorVersion));
    Put16(h + 28, 0xFFFE);
    Put16(h + 30, std::uint16_t(shift));
    Put16(h + 32, 6);
    Put32(h + 40, majorVersion == 3 ? 0 : std::uint32_t(dirSectors));
    Put32(h + 44, std::uint32_t(fatCount));
    Put32(h + 48, dirStart);
    Put32(h + 56, MiniStreamCutoff);
    Put32(h + 60, miniFatStart);
    Put32(h + 64, std::uint32_t(miniFatSectors));
    Put32(h + 68, difatStart);
    Put32(h + 72, std::uint32_t(difatCount));
    for (std::uint32_t k = 0; k < HeaderFatEntries; ++k)
        Put32(h + 76 + 4 * k, k < fatSectors.size() ? fatSectors[k] : FreeSector);
    return out;
}

}  // namespace vorlanex
