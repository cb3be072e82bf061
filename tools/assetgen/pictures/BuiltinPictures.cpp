// Build steps for the pictures: the built-in catalogues (embedded into the program) and the five
// screen pictures of the game folder.

#include <span>
#include <stdexcept>

#include "../Assetgen.h"
#include "framework/AssetTable.h"
#include "Encode.h"
#include "Pictures.h"

namespace vorlanex::assetgen {

PictureBook AllBuiltinPictures()
{
    PictureBook book;
    AddTankPictures(book);
    AddBossAndPlanePictures(book);
    AddExplosionPictures(book);
    AddGemPictures(book);
    AddBulletPictures(book);
    AddEffectPictures(book);
    AddMenuPictures(book);
    return book;
}

namespace {

std::vector<std::uint8_t> EncodeFor(const PictureSpec& spec, const Canvas& canvas)
{
    if (canvas.Width() != spec.width || canvas.Height() != spec.height)
        throw std::runtime_error(std::string("picture ") + spec.name + " was drawn at " + std::to_string(canvas.Width()) +
                                 "x" + std::to_string(canvas.Height()) + ", the catalogue stores " +
                                 std::to_string(spec.width) + "x" + std::to_string(spec.height));
    const std::optional<TColor> key = spec.transparent ? std::optional<TColor>(spec.transparentColor) : std::nullopt;
    return spec.bitCount == 24 ? EncodeTrueColor(canvas, key) : EncodeIndexed(canvas, key);
}

void AddCatalogue(std::span<const PictureSpec> specs, const PictureBook& book, std::vector<AssetEntry>& archive)
{
    for (const PictureSpec& spec : specs)
    {
        if (*spec.fileName)
            continue;
        const auto it = book.find(spec.name);
        if (it == book.end())
            throw std::runtime_error(std::string("no drawing for built-in picture ") + spec.name);
        archive.push_back({AssetKind::Picture, spec.name, EncodeFor(spec, it->second)});
    }
}

void BuildBuiltinPictures(const Context&, std::vector<AssetEntry>& archive)
{
    const PictureBook book = AllBuiltinPictures();
    AddCatalogue(kImageListSpec, book, archive);
    AddCatalogue(kDXImageListSpec, book, archive);
}

void BuildScreenPictures(const Context& ctx, std::vector<AssetEntry>&)
{
    // The backdrop is opaque and full of soft gradients, so it keeps 24 bits; the others are keyed on black.
    WriteFileIfChanged(ctx.outDir / "背景1.BMP", EncodeTrueColor(DrawBackdrop(), std::nullopt));
    WriteFileIfChanged(ctx.outDir / "标题.BMP", EncodeIndexed(DrawTitleLogo(), clBlack));
    WriteFileIfChanged(ctx.outDir / "胜利.BMP", EncodeIndexed(DrawVictoryBanner(), clBlack));
    WriteFileIfChanged(ctx.outDir / "失败.BMP", EncodeIndexed(DrawDefeatBanner(), clBlack));
    WriteFileIfChanged(ctx.outDir / "边框1.BMP", EncodeIndexed(DrawMenuFrame(), clBlack));
}

const RegisterStep builtinStep{10, "builtin-pictures", BuildBuiltinPictures};
const RegisterStep screenStep{20, "screen-pictures", BuildScreenPictures};

}  // namespace

}  // namespace vorlanex::assetgen
