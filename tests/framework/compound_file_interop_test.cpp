// The compound-file reader against files of an independent writer (libgsf's `gsf createole`), and our writer
// against an independent reader (python3-olefile): listings and contents must agree both ways.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <map>
#include <set>

#include "framework/CompoundFile.h"
#include "framework/CompoundFileNames.h"
#include "framework/CompoundFileWriter.h"
#include "platform/common/Gbk.h"
#include "support/CompoundFileTesting.h"

namespace vorlanex {
namespace {

using testing::PatternBytes;
using testing::RunCommand;
using testing::ScratchFolder;
using testing::ShellQuote;

constexpr const char* Gsf = "/usr/bin/gsf";
constexpr const char* Python = "/usr/bin/python3";

std::uint32_t Adler(const std::vector<std::uint8_t>& bytes)
{
    return std::uint32_t(adler32(adler32(0, nullptr, 0), bytes.data(), uInt(bytes.size())));
}

// "D path" for every storage, "S path size adler32" for every stream, sorted; paths joined with '/'.
std::vector<std::string> OurListing(const CompoundFile& file)
{
    std::vector<std::string> lines;
    std::vector<std::pair<CompoundFile::EntryId, std::string>> pending{{CompoundFile::RootId, ""}};
    while (!pending.empty())
    {
        const auto [storage, prefix] = pending.back();
        pending.pop_back();
        for (const auto id : file.Children(storage))
        {
            const std::string path = prefix + Utf16ToUtf8(file.Name(id));
            if (file.IsStorage(id))
            {
                lines.push_back("D " + path);
                pending.emplace_back(id, path + "/");
                continue;
            }
            const auto data = file.ReadStream(id);
            EXPECT_EQ(data.size(), file.StreamSize(id)) << path;
            lines.push_back("S " + path + " " + std::to_string(data.size()) + " " + std::to_string(Adler(data)));
        }
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> OlefileListing(const std::filesystem::path& file)
{
    const std::string script =
        "import olefile, sys, zlib\n"
        "o = olefile.OleFileIO(sys.argv[1])\n"
        "for e in o.listdir(streams=False, storages=True): print('D ' + '/'.join(e))\n"
        "for e in o.listdir(streams=True, storages=False):\n"
        "    d = o.openstream(e).read()\n"
        "    print('S %s %d %d' % ('/'.join(e), len(d), zlib.adler32(d)))\n";
    const auto result = RunCommand(std::string("PYTHONIOENCODING=utf-8 ") + Python + " -c " + ShellQuote(script) + " " +
                                   ShellQuote(file.string()));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = result.output.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(result.output.substr(start, end - start));
    std::sort(lines.begin(), lines.end());
    return lines;
}

class CompoundFileInterop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(Gsf) || !std::filesystem::exists(Python))
            GTEST_SKIP() << "libgsf-bin and python3-olefile are needed (scripts/debian-packages.txt)";
    }

    // Writes `streams` (paths with '/' between storages, UTF-8) as files and folders, then packs the top-level
    // folders into one compound file with gsf.
    std::filesystem::path WriteWithGsf(const std::map<std::string, std::vector<std::uint8_t>>& streams)
    {
        std::set<std::string> tops;
        for (const auto& [path, data] : streams)
        {
            testing::WriteBytes(folder / ("src/" + path), data);
            tops.insert(path.substr(0, path.find('/')));
        }
        const auto out = folder / "gsf.ole";
        std::string command = std::string(Gsf) + " createole " + ShellQuote(out.string());
        for (const auto& top : tops)
            command += " " + ShellQuote((folder / ("src/" + top)).string());
        const auto result = RunCommand(command + " >/dev/null 2>&1");
        EXPECT_EQ(result.exitCode, 0);
        return out;
    }

    ScratchFolder folder;
};

// Names of many lengths and cases, so the directory trees have depth and the ordering is exercised.
std::map<std::string, std::vector<std::uint8_t>> SampleStreams()
{
    std::map<std::string, std::vector<std::uint8_t>> streams{
        {"地形/墙体/砖墙", PatternBytes(3000, 1)},   // in the mini stream
        {"地形/大块", PatternBytes(10000, 2)},       // in ordinary sectors
        {"地形/边界/恰好4095", PatternBytes(4095, 3)},
        {"地形/边界/恰好4096", PatternBytes(4096, 4)},
        {"水/Lake", {'h', 'i', '\n'}},
    };
    const char* names[] = {"a", "Bb", "ccc", "DDDD", "eE", "Zeta", "alpha", "BETA", "Gamma", "delta",
                           "x1", "X22", "y333", "长名字流", "短", "Ärger", "ärmel", "omega", "Omicron", "pi"};
    int seed = 10;
    for (const char* name : names)
        streams[std::string("多/") + name] = PatternBytes(std::size_t(seed * 37), std::uint32_t(seed)), ++seed;
    return streams;
}

TEST_F(CompoundFileInterop, ReadsNestedStoragesAndChineseNamesWrittenByGsf)
{
    const auto streams = SampleStreams();
    const auto file = CompoundFile::Open(WriteWithGsf(streams).string());

    for (const auto& [path, data] : streams)
    {
        CompoundFile::EntryId at = CompoundFile::RootId;
        std::size_t start = 0;
        for (std::size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1)
            at = file.OpenStorage(at, CompoundNameFromUtf8(path.substr(start, slash - start)));
        const auto stream = file.OpenStream(at, CompoundNameFromUtf8(path.substr(start)));
        EXPECT_EQ(file.StreamSize(stream), data.size()) << path;
        EXPECT_EQ(file.ReadStream(stream), data) << path;
    }

    const auto water = file.OpenStorage(CompoundFile::RootId, u"水");
    EXPECT_TRUE(file.FindChild(water, u"LAKE"));
    EXPECT_TRUE(file.FindChild(water, u"lake"));
    EXPECT_FALSE(file.FindChild(water, u"Lakes"));
    EXPECT_THROW(file.OpenStorage(water, u"Lake"), CompoundFileError);   // a stream, not a storage
    EXPECT_THROW(file.OpenStream(CompoundFile::RootId, u"水"), CompoundFileError);
}

TEST_F(CompoundFileInterop, GsfOrdersSiblingsAsOurComparisonDoes)
{
    const auto file = CompoundFile::Open(WriteWithGsf(SampleStreams()).string());
    const auto many = file.OpenStorage(CompoundFile::RootId, u"多");
    const auto children = file.Children(many);
    ASSERT_EQ(children.size(), 20u);
    // An in-order walk of a red-black tree gives its sort order; the search depends on agreeing with it.
    for (std::size_t i = 1; i < children.size(); ++i)
        EXPECT_LT(CompareCompoundNames(file.Name(children[i - 1]), file.Name(children[i])), 0)
            << Utf16ToUtf8(file.Name(children[i - 1])) << " / " << Utf16ToUtf8(file.Name(children[i]));
}

TEST_F(CompoundFileInterop, OlefileAndOurReaderAgreeOnAGsfFile)
{
    const auto path = WriteWithGsf(SampleStreams());
    const auto listing = OurListing(CompoundFile::Open(path.string()));
    EXPECT_EQ(listing.size(), 25u + 5u);   // every stream and every storage
    EXPECT_EQ(listing, OlefileListing(path));
}

TEST_F(CompoundFileInterop, OlefileReadsWhatOurWriterWritesInBothVersions)
{
    for (const int version : {3, 4})
    {
        CompoundFileWriter writer(version);
        for (const auto& [path, data] : SampleStreams())
        {
            std::vector<std::u16string> parts;
            std::size_t start = 0;
            for (std::size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1)
                parts.push_back(CompoundNameFromUtf8(path.substr(start, slash - start)));
            parts.push_back(CompoundNameFromUtf8(path.substr(start)));
            writer.AddStream(parts, data);
        }
        writer.AddStream({u"空流"}, {});
        writer.AddStorage({u"空目录", u"子目录"});
        const auto out = folder / ("ours" + std::to_string(version) + ".ole");
        testing::WriteBytes(out, writer.Build());

        const auto ours = CompoundFile::Open(out.string());
        EXPECT_EQ(ours.MajorVersion(), version);
        EXPECT_EQ(ours.SectorSize(), version == 3 ? 512u : 4096u);
        EXPECT_EQ(OurListing(ours), OlefileListing(out)) << "version " << version;
    }
}

TEST_F(CompoundFileInterop, AllocationTableBeyondTheHeaderIsWrittenAndRead)
{
    // 9 MB in 512-byte sectors needs about 140 table sectors: more than the header's 109 entries, and more
    // than the reader takes into memory at once.
    CompoundFileWriter writer(3);
    const auto big = PatternBytes(9u << 20, 77);
    writer.AddStream({u"大", u"数据"}, big);
    writer.AddStream({u"小"}, PatternBytes(100, 78));
    const auto out = folder / "large.ole";
    testing::WriteBytes(out, writer.Build());
    const auto image = testing::ReadBytes(out);
    ASSERT_GT(testing::GetLe32(image, 44), 109u);
    ASSERT_GT(testing::GetLe32(image, 72), 0u);

    const auto file = CompoundFile::Open(out.string());
    EXPECT_EQ(file.ReadStream(file.OpenStream(file.OpenStorage(CompoundFile::RootId, u"大"), u"数据")), big);
    EXPECT_EQ(OurListing(file), OlefileListing(out));
}

}  // namespace
}  // namespace vorlanex
