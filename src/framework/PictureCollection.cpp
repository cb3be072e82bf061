// Picture items and their catalogue: cutting pictures into patterns, the name index, loading on the display.

#include "framework/PictureCollection.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace vorlanex {

namespace {

// Rgb565 of every colour, eight at a time: a level loads its background and tiles this way, some million pixels.
void ConvertToRgb565(const TColor* from, std::uint16_t* to, std::size_t count)
{
    using Colours = std::uint32_t __attribute__((vector_size(32)));
    using Pixels = std::uint16_t __attribute__((vector_size(16)));
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8)
    {
        Colours c;
        std::memcpy(&c, from + i, sizeof c);
        const Colours wide = ((c & 0xF8) << 8) | ((c >> 5) & 0x7E0) | ((c >> 19) & 0x1F);
        const Pixels narrow = __builtin_convertvector(wide, Pixels);
        std::memcpy(to + i, &narrow, sizeof narrow);
    }
    for (; i < count; ++i)
        to[i] = Rgb565(from[i]);
}

}  // namespace

TPictureCollectionItem::TPictureCollectionItem(TPictureCollection& collection) : collection(collection) {}

TPictureCollectionItem::~TPictureCollectionItem() = default;

void TPictureCollectionItem::SetName(const std::string& newName)
{
    const std::string oldName = name;
    name = newName;
    collection.Reindex(*this, oldName);
}

TPictureCollectionItem::Grid TPictureCollectionItem::PatternGrid() const
{
    Grid g;
    const int w = Picture.Width(), h = Picture.Height();
    const int pw = PatternWidth(), ph = PatternHeight();
    if (Picture.Empty() || pw <= 0 || ph <= 0)
        return g;
    if (pw == w && ph == h)
        return {1, 1, w, h};
    // Wide arithmetic: the gaps are plain fields and may hold anything.
    const std::int64_t cellWidth = std::int64_t(pw) + SkipWidth, cellHeight = std::int64_t(ph) + SkipHeight;
    // A gap that swallows the whole pattern leaves no cell to step by: no patterns rather than a division by 0.
    if (cellWidth <= 0 || cellHeight <= 0)
        return {};
    g.columns = int(std::max<std::int64_t>(0, (std::int64_t(w) + SkipWidth) / cellWidth));
    g.rows = int(std::max<std::int64_t>(0, (std::int64_t(h) + SkipHeight) / cellHeight));
    // A cell wider than an int is only ever stepped over with a single column or row.
    g.cellWidth = int(std::min<std::int64_t>(cellWidth, INT32_MAX));
    g.cellHeight = int(std::min<std::int64_t>(cellHeight, INT32_MAX));
    return g;
}

// Loaded items report what was cut; unloaded ones what cutting would give, so callers without a display agree.
int TPictureCollectionItem::PatternCount() const
{
    if (loaded)
        return int(patterns.size());
    const Grid g = PatternGrid();
    return g.columns * g.rows;
}

void TPictureCollectionItem::SetTransparentColor(TColor c)
{
    transparentColor = c & 0x00FFFFFF;
    if (!loaded)
        return;
    for (auto& surface : surfaces)
        if (Transparent)
            surface->SetColorKey(Rgb565(transparentColor));
}

// One surface holds the whole picture and every pattern refers into it: surfaces here have no size limit,
// so the display-memory blocks of old hardware are not needed, and the numbering is unchanged.
void TPictureCollectionItem::Load(TDXDraw& display)
{
    Unload();
    loadedOn = &display;
    if (Picture.Empty())
        return;
    const int w = Picture.Width(), h = Picture.Height();
    auto surface = std::make_unique<TDirectDrawSurface>(w, h);
    ConvertToRgb565(Picture.Pixels().data(), surface->Bits(), Picture.Pixels().size());
    if (Transparent)
        surface->SetColorKey(Rgb565(transparentColor));
    const Grid g = PatternGrid();
    const int pw = PatternWidth(), ph = PatternHeight();
    patterns.reserve(std::size_t(g.columns) * std::size_t(g.rows));
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.columns; ++c)
            patterns.push_back({Bounds(c * g.cellWidth, r * g.cellHeight, pw, ph), surface.get()});
    surfaces.push_back(std::move(surface));
    loaded = true;
}

void TPictureCollectionItem::Unload()
{
    loaded = false;
    loadedOn = nullptr;
    patterns.clear();
    surfaces.clear();
}

const TPictureCollectionItem::Pattern* TPictureCollectionItem::DrawablePattern(int index) const
{
    if (!loaded || index < 0 || std::size_t(index) >= patterns.size())
        return nullptr;
    return &patterns[std::size_t(index)];
}

void TPictureCollectionItem::LoadPictureFromFile(const std::string& path) { Picture = TBitmap::FromFile(path); }

// Assigning an item to itself is how a replaced picture gets onto the display: the surfaces are rebuilt
// whenever the item's catalogue is live on a display, even if the old picture was empty.
void TPictureCollectionItem::AssignItem(const TPictureCollectionItem& source)
{
    if (&source != this) {
        patternWidth = source.patternWidth;
        patternHeight = source.patternHeight;
        SkipWidth = source.SkipWidth;
        SkipHeight = source.SkipHeight;
        SystemMemory = source.SystemMemory;
        Transparent = source.Transparent;
        transparentColor = source.transparentColor;
        Picture = source.Picture;
    }
    TDXDraw* display = loadedOn;
    Unload();
    if (display)
        Load(*display);
}

TPictureCollection::~TPictureCollection() { Clear(); }

TPictureCollectionItem& TPictureCollection::Item(int index) const
{
    if (index < 0 || index >= Count()) {
        char message[64];
        std::snprintf(message, sizeof message, "Index of the list exceeds the range. (%d)", index);
        throw std::out_of_range(message);
    }
    return *items[std::size_t(index)];
}

TPictureCollectionItem& TPictureCollection::Add()
{
    items.push_back(std::make_unique<TPictureCollectionItem>(*this));
    TPictureCollectionItem& item = *items.back();
    item.position = items.size() - 1;
    names.Add(&item, item.name);
    return item;
}

void TPictureCollection::Delete(int index)
{
    TPictureCollectionItem& item = Item(index);
    names.Remove(&item, item.name);
    items.erase(items.begin() + index);
    for (std::size_t i = std::size_t(index); i < items.size(); ++i)
        items[i]->position = i;
}

void TPictureCollection::Clear()
{
    names.Clear();
    items.clear();
}

void TPictureCollection::Reindex(TPictureCollectionItem& item, const std::string& oldName)
{
    names.Rename(&item, oldName, item.name);
}

// The index is the item's current position: deleting an earlier item never leaves a stale answer.
int TPictureCollection::ImageIndexOf(const std::string& name) const
{
    const TPictureCollectionItem* item = names.Find(name);
    return item ? int(item->position) : -1;
}

TPictureCollectionItem* TPictureCollection::ImageFind(const std::string& name) const { return names.Find(name); }

void TPictureCollection::LoadAll(TDXDraw& display)
{
    for (auto& item : items)
        item->Load(display);
}

void TPictureCollection::UnloadAll()
{
    for (auto& item : items)
        item->Unload();
}

TDXImageList::~TDXImageList() { SetDXDraw(nullptr); }

void TDXImageList::SetDXDraw(TDXDraw* newDisplay)
{
    if (display)
        display->UnRegisterNotifyEvent(this);
    display = newDisplay;
    if (!display)
        return;
    display->RegisterNotifyEvent(this, [this](TDXDraw& from, TDXDrawNotifyType type) {
        switch (type) {
        case TDXDrawNotifyType::dxntInitialize:
        case TDXDrawNotifyType::dxntRestore: Items.LoadAll(from); break;
        case TDXDrawNotifyType::dxntFinalize: Items.UnloadAll(); break;
        case TDXDrawNotifyType::dxntDestroying:
            Items.UnloadAll();
            SetDXDraw(nullptr);
            break;
        default: break;
        }
    });
    // Attached to a display that already runs: load now rather than wait for its next start.
    if (display->Initialized())
        Items.LoadAll(*display);
}

}  // namespace vorlanex
