#include "actors/GameState.h"

#include "actors/MyTank.h"
#include "framework/FieldSink.h"
// The tile set and layers are complete types only where the map code is included.
#include "maps/Layers.h"
#include "maps/Tiles.h"

namespace vorlanex {

namespace {

// One value of a list, written the way its type is shown.
void Put(FieldSink& out, const char* name, std::int32_t value) { out.Int(name, value); }
void Put(FieldSink& out, const char* name, std::uint8_t value) { out.Int(name, value); }
void Put(FieldSink& out, const char* name, double value) { out.Real(name, value); }
void Put(FieldSink& out, const char* name, const std::string& value) { out.Text(name, value); }
void Put(FieldSink& out, const char* name, const TMyTank* tank) { out.Ref(name, tank); }

void Put(FieldSink& out, const char* name, const TCarry& carry)
{
    out.OpenRecord(name);
    carry.Fields(out);
    out.Close();
}

// A grid place is shown as [column, row].
void Put(FieldSink& out, const char* name, const TCellPoint& point)
{
    out.OpenList(name);
    out.Int(nullptr, point.Column);
    out.Int(nullptr, point.Row);
    out.Close();
}

void Put(FieldSink& out, const char* name, const TMenuButton& button)
{
    out.OpenRecord(name);
    out.Int("Left", button.Rect.Left);
    out.Int("Top", button.Rect.Top);
    out.Int("Right", button.Rect.Right);
    out.Int("Bottom", button.Rect.Bottom);
    out.Text("Picture", button.PictureName);
    out.Close();
}

template <class Item, std::size_t Count>
void Put(FieldSink& out, const char* name, const std::array<Item, Count>& items)
{
    out.OpenList(name);
    for (const Item& item : items)
        Put(out, nullptr, item);
    out.Close();
}

}  // namespace

#define VORLANEX_PUT_VALUE(type, name, initial) Put(out, #name, name);
#define VORLANEX_SAVE_VALUE(type, name, initial) name = tank.name;
#define VORLANEX_APPLY_VALUE(type, name, initial) tank.name = name;

void TCarry::Fields(FieldSink& out) const { VORLANEX_CARRIED_VALUES(VORLANEX_PUT_VALUE) }

void TCarry::SaveFrom(const TMyTank& tank) { VORLANEX_CARRIED_VALUES(VORLANEX_SAVE_VALUE) }

void TCarry::ApplyTo(TMyTank& tank) const { VORLANEX_CARRIED_VALUES(VORLANEX_APPLY_VALUE) }

GameState::GameState() = default;
GameState::~GameState() = default;

void GameState::Fields(FieldSink& out) const { VORLANEX_GAME_VALUES(VORLANEX_PUT_VALUE) }

#undef VORLANEX_PUT_VALUE
#undef VORLANEX_SAVE_VALUE
#undef VORLANEX_APPLY_VALUE

const std::array<const char*, 10> RankTitles = {
    "入伍新兵☆",
    "坦克战士☆★",
    "坦克排长☆★☆",
    "坦克连长☆★☆★",
    "坦克团长☆★☆★☆",
    "坦克师长☆★☆★☆★",
    "坦克司令☆★☆★☆★☆",
    "坦克皇后☆★☆★☆★☆★",
    "坦克皇帝☆★☆★☆★☆★☆",
    "坦克战神☆★☆★☆★☆★☆★☆",
};

}  // namespace vorlanex
