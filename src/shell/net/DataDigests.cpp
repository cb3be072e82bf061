#include "shell/net/DataDigests.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "framework/DataFile.h"

namespace vorlanex {

namespace {

namespace fs = std::filesystem;

// The screen pictures start-up looks for in the current folder before the game folder.
constexpr const char* kScreenPictures[] = {"背景1.BMP", "标题.BMP", "胜利.BMP", "失败.BMP", "边框1.BMP"};
constexpr std::uint64_t kMaxFileBytes = 64u << 20;
// The game folder's files and those of its folders (the level backgrounds); a build folder's own folders are
// not game data.
constexpr int kMaxDepth = 1;
constexpr const char* kNotGameData[] = {"CMakeFiles", "generated", "tests", "icons", "Testing", "bench", "_deps"};

bool Skipped(const fs::directory_entry& entry)
{
    const std::string name = entry.path().filename().string();
    return std::any_of(std::begin(kNotGameData), std::end(kNotGameData), [&name](const char* n) { return name == n; });
}

bool TakesPartInPlay(const fs::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".map" || ext == ".til" || ext == ".bmp" || ext == ".wav";
}

std::uint64_t FileDigestOf(const std::string& path)
{
    return BytesDigest(DataFile::Open(path).ReadAll(kMaxFileBytes, "a data file"));
}

}  // namespace

std::uint64_t BytesDigest(std::span<const std::uint8_t> bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::uint8_t b : bytes)
    {
        hash ^= b;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::vector<FileDigest> GameDataDigests(const std::string& appDir, const std::string& campaignDir,
                                        std::span<const std::uint8_t> builtinAssets)
{
    std::vector<FileDigest> files;
    std::error_code ec;
    const fs::path root(appDir);
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
    {
        if (it.depth() >= kMaxDepth || Skipped(*it))
            it.disable_recursion_pending();
        if (!TakesPartInPlay(it->path()) || ClassifyDataFile(it->path().string()) != DataFileKind::Regular)
            continue;
        const std::string name = fs::relative(it->path(), root, ec).generic_string();
        if (files.size() + 1 >= MaxDataFiles || name.size() > MaxNameBytes)
            throw std::runtime_error(appDir + ": too many data files to compare with a partner");
        files.push_back({name, FileDigestOf(it->path().string())});
    }
    for (const char* picture : kScreenPictures)
        if (ClassifyDataFile(picture) == DataFileKind::Regular)
        {
            const auto same = std::find_if(files.begin(), files.end(), [picture](const FileDigest& f) { return f.name == picture; });
            const std::uint64_t digest = FileDigestOf(picture);
            if (same != files.end())
                same->digest = digest;
            else
                files.push_back({picture, digest});
        }
    if (!campaignDir.empty())
        for (const auto& entry : fs::directory_iterator(campaignDir, ec))
        {
            const std::string name = "maps/" + entry.path().filename().string();
            if (entry.path().extension() != ".map" || ClassifyDataFile(entry.path().string()) != DataFileKind::Regular)
                continue;
            if (files.size() + 1 >= MaxDataFiles || name.size() > MaxNameBytes)
                throw std::runtime_error(campaignDir + ": too many maps to compare with a partner");
            files.push_back({name, FileDigestOf(entry.path().string())});
        }
    std::sort(files.begin(), files.end(), [](const FileDigest& a, const FileDigest& b) { return a.name < b.name; });
    files.push_back({"(built-in pictures and sounds)", BytesDigest(builtinAssets)});
    return files;
}

}  // namespace vorlanex
