// vorlanex-assetgen --data-src DIR --out DIR --archive FILE

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "Assetgen.h"

namespace vorlanex::assetgen {

namespace {

struct Step
{
    int order;
    std::string name;
    StepFunction fn;
};

std::vector<Step>& Steps()
{
    static std::vector<Step> steps;
    return steps;
}

}  // namespace

RegisterStep::RegisterStep(int order, std::string name, StepFunction fn)
{
    Steps().push_back({order, std::move(name), std::move(fn)});
}

void WriteFileIfChanged(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    {
        std::ifstream in(path, std::ios::binary);
        if (in)
        {
            std::vector<std::uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (old == bytes)
                return;
        }
    }
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

}  // namespace vorlanex::assetgen

int main(int argc, char** argv)
{
    using namespace vorlanex::assetgen;
    std::map<std::string, std::string> args;
    for (int i = 1; i + 1 < argc; i += 2)
        args[argv[i]] = argv[i + 1];
    if (!args.count("--data-src") || !args.count("--out") || !args.count("--archive"))
    {
        std::fprintf(stderr, "usage: vorlanex-assetgen --data-src DIR --out DIR --archive FILE\n");
        return 2;
    }
    try
    {
        Context ctx{args["--data-src"], args["--out"]};
        auto steps = Steps();
        std::sort(steps.begin(), steps.end(),
                  [](const Step& a, const Step& b) { return std::tie(a.order, a.name) < std::tie(b.order, b.name); });
        std::vector<vorlanex::AssetEntry> archive;
        for (const Step& step : steps)
            step.fn(ctx, archive);
        // Always rewritten: the build compares its time stamp with the generator's.
        const auto bytes = vorlanex::WriteAssetArchive(archive);
        std::filesystem::create_directories(std::filesystem::path(args["--archive"]).parent_path());
        std::ofstream out(args["--archive"], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + args["--archive"]);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "vorlanex-assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
