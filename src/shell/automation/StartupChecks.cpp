#include "shell/automation/StartupChecks.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "framework/DataFile.h"
#include "maps/MapFile.h"
#include "maps/Tiles.h"

namespace vorlanex {

namespace {

namespace fs = std::filesystem;

struct NamedFile
{
    std::string option;   // "--record", "--screenshot 10:", ...
    std::string path;
};

// Two names are one file when they lead to the same inode, or, for files not made yet, to the same place.
bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    const bool aExists = ::stat(a.c_str(), &sa) == 0, bExists = ::stat(b.c_str(), &sb) == 0;
    if (aExists && bExists)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    if (aExists != bExists)
        return false;
    std::error_code ec;
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return ca == cb;
}

std::string SystemReason() { return std::strerror(errno); }

// Empty when `path` can be written (made, or overwritten); otherwise why not.
std::string WriteProblem(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
    {
        if (S_ISDIR(st.st_mode))
            return std::strerror(EISDIR);
        return ::access(path.c_str(), W_OK) == 0 ? std::string() : SystemReason();
    }
    if (errno != ENOENT)
        return SystemReason();
    fs::path parent = fs::path(path).parent_path();
    if (parent.empty())
        parent = ".";
    if (::stat(parent.c_str(), &st) != 0)
        return SystemReason();
    if (!S_ISDIR(st.st_mode))
        return std::strerror(ENOTDIR);
    return ::access(parent.c_str(), W_OK | X_OK) == 0 ? std::string() : SystemReason();
}

std::vector<NamedFile> Outputs(const CommandLine& options)
{
    std::vector<NamedFile> outputs;
    if (!options.record.empty())
        outputs.push_back({"--record", options.record});
    if (!options.dumpState.empty())
        outputs.push_back({"--dump-state", options.dumpState});
    for (const auto& [frame, path] : options.screenshots)
        outputs.push_back({"--screenshot " + std::to_string(frame) + ":", path});
    return outputs;
}

std::string FileProblem(const std::string& path)
{
    try
    {
        DataFile::Open(path);
        return {};
    }
    catch (const DataFileError& e)
    {
        return e.Problem();
    }
}

}  // namespace

void CheckOutputs(const CommandLine& options)
{
    const std::vector<NamedFile> outputs = Outputs(options);
    for (std::size_t i = 0; i < outputs.size(); ++i)
    {
        const NamedFile& out = outputs[i];
        if (!options.inputScript.empty() && SameFile(out.path, options.inputScript))
            throw std::invalid_argument(out.option + (out.option.back() == ':' ? "" : " ") + out.path +
                                        " is the input script: writing it would destroy it");
        for (std::size_t j = 0; j < i; ++j)
            if (SameFile(out.path, outputs[j].path))
                throw std::invalid_argument(out.path + " is named by both " + outputs[j].option + " and " +
                                            out.option + "; each output needs a file of its own");
        if (const std::string why = WriteProblem(out.path); !why.empty())
            throw std::invalid_argument(out.path + ": cannot be written (" + why + ")");
    }
}

std::string GameFolderProblem(const std::string& folder)
{
    const auto refuse = [&folder](const std::string& why) { return folder + " is not a game folder (" + why + ")"; };
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return refuse(SystemReason());
    if (!S_ISDIR(st.st_mode))
        return refuse(std::strerror(ENOTDIR));
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return refuse(SystemReason());
    ::closedir(listing);
    std::string base = folder;
    if (base.back() != '/')
        base += '/';
    const std::string map = ResolveFileName(base + "MAP001.map");
    if (const std::string why = FileProblem(map); !why.empty())
        return refuse(fs::path(map).filename().string() + ": " + why);
    const std::string tiles = FindTileLibrary(base);
    if (const std::string why = FileProblem(tiles); !why.empty())
        return refuse(fs::path(tiles).filename().string() + ": " + why);
    return {};
}

}  // namespace vorlanex
