// The one way the game opens its data files: only regular files, read-only, never blocking, never beyond
// the limit of their kind.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "framework/DataFile.h"
#include "support/CompoundFileTesting.h"
#include "support/HardTimeLimit.h"

namespace vorlanex {
namespace {

namespace fs = std::filesystem;
using testing::HardTimeLimit;
using testing::ScratchFolder;

std::string Refusal(const fs::path& path, std::uint64_t maxBytes = 1u << 20)
{
    try
    {
        ReadDataFile(path.string(), maxBytes, "a test file");
    }
    catch (const DataFileError& e)
    {
        EXPECT_EQ(std::string(e.what()), path.string() + ": " + e.Problem());
        return e.Problem();
    }
    ADD_FAILURE() << path << " was read";
    return {};
}

TEST(DataFile, ReadsRegularFilesAndFilesBehindLinks)
{
    ScratchFolder folder;
    testing::WriteBytes(folder / "a.bin", {1, 2, 3});
    fs::create_symlink(folder / "a.bin", folder / "link.bin");
    fs::permissions(folder / "a.bin", fs::perms::owner_read);
    EXPECT_EQ(ReadDataFile((folder / "link.bin").string(), 3, "x"), (std::vector<std::uint8_t>{1, 2, 3}));
    const DataFile file = DataFile::Open((folder / "a.bin").string());
    EXPECT_EQ(file.Size(), 3u);
    EXPECT_EQ(file.ReadHead(2), (std::vector<std::uint8_t>{1, 2}));
    std::uint8_t byte = 0;
    EXPECT_TRUE(file.ReadAt(2, &byte, 1));
    EXPECT_EQ(byte, 3);
    EXPECT_FALSE(file.ReadAt(2, &byte, 2)) << "a read past the end fails instead of returning less";
    EXPECT_FALSE(file.ReadAt(~std::uint64_t(0), &byte, 1));
    testing::WriteBytes(folder / "empty.bin", {});
    EXPECT_TRUE(ReadDataFile((folder / "empty.bin").string(), 0, "x").empty());
}

TEST(DataFile, RefusesEverythingButARegularFileWithoutBlocking)
{
    HardTimeLimit limit(20);
    ScratchFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", folder / "zero");
    fs::create_symlink(folder / "pipe", folder / "to-pipe");
    EXPECT_EQ(Refusal(folder / "pipe"), "is a named pipe, not a regular file");
    EXPECT_EQ(Refusal(folder / "to-pipe"), "is a named pipe, not a regular file");
    EXPECT_EQ(Refusal(folder / "zero"), "is a device, not a regular file");
    EXPECT_EQ(Refusal(folder.Path()), "is a folder, not a regular file");
    EXPECT_EQ(Refusal(folder / "absent"), "No such file or directory");
    fs::create_symlink(folder / "absent", folder / "dangling");
    EXPECT_EQ(Refusal(folder / "dangling"), "No such file or directory");
    EXPECT_EQ(ClassifyDataFile((folder / "zero").string()), DataFileKind::Device);
    EXPECT_EQ(ClassifyDataFile((folder / "pipe").string()), DataFileKind::NamedPipe);
}

TEST(DataFile, RefusesFilesOverTheLimitOfTheirKindInPlainWords)
{
    ScratchFolder folder;
    testing::WriteBytes(folder / "big", {});
    fs::resize_file(folder / "big", std::uintmax_t(3) << 30);   // sparse: nothing is written
    EXPECT_EQ(Refusal(folder / "big", 4u << 20), "is 3072 MB, more than the 4 MB a test file may have");
    testing::WriteBytes(folder / "five", {1, 2, 3, 4, 5});
    EXPECT_EQ(Refusal(folder / "five", 4), "is 5 bytes, more than the 4 bytes a test file may have");
    EXPECT_EQ(DescribeSize(1), "1 byte");
    EXPECT_EQ(DescribeSize(20000), "19 KB");
    EXPECT_EQ(DescribeSize(3u << 19), "1.5 MB");
}

}  // namespace
}  // namespace vorlanex
