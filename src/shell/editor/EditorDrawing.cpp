// The editor's picture of the map: the level background, the three layers (the chosen one bright, the others
// dimmed), the canopy over the lower layers, the spawn and start markers, the palette and the status line.

#include <filesystem>

#include "framework/AssetNames.h"
#include "shell/MainForm.h"
#include "shell/editor/MapEditor.h"

namespace vorlanex {

namespace {

constexpr int DimmedAlpha = 90;
constexpr TColor PanelColor = RGBColor(24, 28, 36);
constexpr TColor ChosenColor = RGBColor(70, 90, 130);

void TileOver(TDirectDrawSurface& back, const TPictureCollectionItem& picture)
{
    const int w = picture.PatternWidth(), h = picture.PatternHeight();
    if (w <= 0 || h <= 0)
        return;
    for (int y = 0; y < back.Height(); y += h)
        for (int x = 0; x < back.Width(); x += w)
            picture.DrawPattern(back, x, y, 0);
}

void ShadowText(TDirectDrawSurfaceCanvas& canvas, int x, int y, const std::string& text, TColor color)
{
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Color = clBlack;
    canvas.TextOut(x + 1, y + 1, text);
    canvas.Font.Color = color;
    canvas.TextOut(x, y, text);
}

}  // namespace

class EditorDrawing
{
public:
    explicit EditorDrawing(MapEditor& editor) : e(editor), back(editor.form.DXDraw.BackSurface) {}

    void Draw()
    {
        FillSurface(back, 0);
        if (e.listShown)
        {
            DrawList();
            return;
        }
        DrawBackground();
        for (int layer = 0; layer < 3; ++layer)
            DrawLayer(layer);
        DrawMarkers();
        TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(back);
        DrawCursorCell(canvas);
        if (e.paletteShown)
            DrawPalette(canvas);
        DrawStatus(canvas);
        ReleaseCanvas(canvas);
    }

private:
    void DrawBackground()
    {
        TPictureCollectionItem* picture = e.palette.BackgroundPicture(e.document->Map().BackgroundFileName);
        if (!picture)
            picture = e.form.DXImageList.Items.ImageFind(names::PlainBackground);
        if (picture)
            TileOver(back, *picture);
    }

    void DrawLayer(int layer)
    {
        for (const TCell& cell : e.document->Map().Layers[std::size_t(layer)])
        {
            const PaletteTile* tile = e.palette.Find(cell.TileName);
            if (!tile)
                continue;
            const int x = cell.Col * MapEditor::Cell, y = cell.Row * MapEditor::Cell;
            if (layer == e.layer)
                tile->picture->DrawPattern(back, x, y, 0);
            else
                tile->picture->DrawPatternRotatedAlpha(back, x, y, tile->picture->PatternWidth(),
                                                       tile->picture->PatternHeight(), 0, 0, 0, 0, DimmedAlpha);
        }
    }

    void DrawMarkers()
    {
        const MapData& map = e.document->Map();
        if (TPictureCollectionItem* enemy = e.form.DXImageList.Items.ImageFind(names::EnemyPos))
            for (const TCellPoint& p : map.EnemySpawnPoints)
                enemy->DrawPattern(back, p.Column * MapEditor::Cell, p.Row * MapEditor::Cell, 0);
        if (TPictureCollectionItem* start = e.form.DXImageList.Items.ImageFind(names::PlayerPos))
            start->DrawPattern(back, map.PlayerStart.Column * MapEditor::Cell, map.PlayerStart.Row * MapEditor::Cell, 0);
    }

    void DrawCursorCell(TDirectDrawSurfaceCanvas& canvas)
    {
        if (e.mouseX < 0 || e.mouseY < 0 || e.InPalette(e.mouseX, e.mouseY))
            return;
        const int x = e.mouseX / MapEditor::Cell * MapEditor::Cell, y = e.mouseY / MapEditor::Cell * MapEditor::Cell;
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Pen.Color = clYellow;
        canvas.Rectangle(x, y, x + MapEditor::Cell, y + MapEditor::Cell);
    }

    void DrawPalette(TDirectDrawSurfaceCanvas& canvas)
    {
        const auto& tiles = e.palette.Tiles();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = PanelColor;
        canvas.FillRect({MapEditor::PaletteLeft, MapEditor::PaletteTop - 4, back.Width(),
                         MapEditor::PaletteTop + int(tiles.size()) * MapEditor::PaletteRowHeight + 4});
        canvas.Font.Size = 10;
        for (std::size_t i = 0; i < tiles.size(); ++i)
        {
            const int y = MapEditor::PaletteTop + int(i) * MapEditor::PaletteRowHeight;
            if (i == e.tileIndex)
            {
                canvas.Brush.Color = ChosenColor;
                canvas.FillRect({MapEditor::PaletteLeft, y, back.Width(), y + MapEditor::PaletteRowHeight});
            }
            tiles[i].picture->DrawPattern(back, MapEditor::PaletteLeft + 4, y + 2, 0);
            ShadowText(canvas, MapEditor::PaletteLeft + 42, y + 10, tiles[i].name, clWhite);
        }
    }

    void DrawStatus(TDirectDrawSurfaceCanvas& canvas)
    {
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = PanelColor;
        canvas.FillRect({0, MapEditor::StatusTop, back.Width(), back.Height()});
        canvas.Font.Size = 10;
        ShadowText(canvas, 6, MapEditor::StatusTop + 3, e.StatusText(), clYellow);
    }

    void DrawList()
    {
        if (TPictureCollectionItem* star = e.form.ImageList.Items.ImageFind(names::Star))
            star->DrawPattern(back, 0, 0, 0);
        TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(back);
        canvas.Font.Size = 16;
        ShadowText(canvas, 200, MapEditor::ListTop - 60, "Map editor: open a map", clYellow);
        canvas.Font.Size = 12;
        for (std::size_t i = 0; i < e.mapList.size(); ++i)
        {
            const int y = MapEditor::ListTop + int(i) * MapEditor::ListRowHeight;
            if (i == e.listChoice)
            {
                canvas.Brush.Style = TBrushStyle::bsSolid;
                canvas.Brush.Color = ChosenColor;
                canvas.FillRect({190, y - 2, 834, y + MapEditor::ListRowHeight - 4});
            }
            const std::string name = i == 0 ? "A new map" : std::filesystem::path(e.mapList[i]).filename().string();
            ShadowText(canvas, 200, y, name, clWhite);
        }
        DrawStatus(canvas);
        ReleaseCanvas(canvas);
    }

    MapEditor& e;
    TDirectDrawSurface& back;
};

void MapEditor::Frame() { EditorDrawing(*this).Draw(); }

}  // namespace vorlanex
