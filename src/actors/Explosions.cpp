// The three explosion effects share their start and their Step; only picture and lifetime differ.

#include "actors/Explosions.h"

#include "actors/BattleContext.h"
#include "framework/AssetNames.h"
#include "framework/PictureCollection.h"

namespace vorlanex {

namespace {

struct ExplosionKind
{
    const char* picture;
    std::int32_t patternSize;    // the built-in picture's pattern size, used when the picture is missing
    std::int32_t patternCount;
    std::int32_t timeLeft;
};

constexpr ExplosionKind SmallKind{names::Explosion, 32, 4, 15};
constexpr ExplosionKind RedKind{names::ExplosionRed, 32, 5, 45};
constexpr ExplosionKind BigKind{names::BigExplosion, 64, 6, 60};

// Each explosion starts on a random whole pattern, so explosions made together do not pulse in step.
void StartExplosion(TImageSprite& sprite, std::int32_t& timeLeft, const ExplosionKind& kind)
{
    sprite.Image = FindPicture(sprite, kind.picture);
    sprite.Width = sprite.Image ? sprite.Image->PatternWidth() : kind.patternSize;
    sprite.Height = sprite.Image ? sprite.Image->PatternHeight() : kind.patternSize;
    const std::int32_t patterns = sprite.Image ? sprite.Image->PatternCount() : 0;
    sprite.FrameCount = patterns > 0 ? patterns : kind.patternCount;
    sprite.FrameLooped = true;
    sprite.FrameSpeed = 0.015;
    sprite.FrameIndex = GameRandom(sprite, sprite.FrameCount);
    timeLeft = kind.timeLeft;
}

// The lifetime counts Steps, whatever the animation shows.
void StepExplosion(TImageSprite& sprite, std::int32_t& timeLeft, std::int32_t moveCount)
{
    sprite.TImageSprite::Step(moveCount);
    --timeLeft;
    if (timeLeft < 0)
        sprite.Kill();
}

}  // namespace

TExplosion::TExplosion(TSprite* parent) : TImageSprite(parent)
{
    StartExplosion(*this, TimeLeft, SmallKind);
}

void TExplosion::Step(std::int32_t MoveCount)
{
    StepExplosion(*this, TimeLeft, MoveCount);
}

void TExplosion::Fields(FieldSink& out) const
{
    TImageSprite::Fields(out);
    out.Int("TimeLeft", TimeLeft);
}

TExplosionRed::TExplosionRed(TSprite* parent) : TImageSprite(parent)
{
    StartExplosion(*this, TimeLeft, RedKind);
}

void TExplosionRed::Step(std::int32_t MoveCount)
{
    StepExplosion(*this, TimeLeft, MoveCount);
}

void TExplosionRed::Fields(FieldSink& out) const
{
    TImageSprite::Fields(out);
    out.Int("TimeLeft", TimeLeft);
}

TExplosionBig::TExplosionBig(TSprite* parent) : TImageSprite(parent)
{
    StartExplosion(*this, TimeLeft, BigKind);
}

void TExplosionBig::Step(std::int32_t MoveCount)
{
    StepExplosion(*this, TimeLeft, MoveCount);
}

void TExplosionBig::Fields(FieldSink& out) const
{
    TImageSprite::Fields(out);
    out.Int("TimeLeft", TimeLeft);
}

}  // namespace vorlanex
