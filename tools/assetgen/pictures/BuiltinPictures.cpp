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

std::vector<std::uint8_t> EncodeFor(const PictureDef& def, const Canvas& canvas)
{
    if (canvas.Width() != def.width || canvas.Height() != def.height)
        throw std::runtime_error(std::string("picture ") + def.name + " was drawn at " + std::to_string(canvas.Width()) +
                                 "x" + std::to_string(canvas.Height()) + ", the catalogue stores " +
                                 std::to_string(def.width) + "x" + std::to_string(def.height));
    const std::optional<TColor> key = def.transparent ? std::optional<TColor>(def.transparentColor) : std::nullopt;
    return def.bitCount == 24 ? EncodeTrueColor(canvas, key) : EncodeIndexed(canvas, key);
}

void AddCatalogue(std::span<const PictureDef> defs, const PictureBook& book, std::vector<AssetEntry>& archive)
{
    for (const PictureDef& def : defs)
    {
        if (*def.fileName)
            continue;
        const auto it = book.find(def.name);
        if (it == book.end())
            throw std::runtime_error(std::string("no drawing for built-in picture ") + def.name);
        archive.push_back({AssetKind::Picture, def.name, EncodeFor(def, it->second)});
    }
}

void BuildBuiltinPictures(const Context&, std::vector<AssetEntry>& archive)
{
    const PictureBook book = AllBuiltinPictures();
    AddCatalogue(kImageListDefs, book, archive);
    AddCatalogue(kDXImageListDefs, book, archive);
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
