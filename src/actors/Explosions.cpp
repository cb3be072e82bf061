// The three explosion effects share their start and their Step; only picture and lifetime differ.

#include "actors/Explosions.h"

#include "actors/BattleContext.h"
#include "framework/AssetNames.h"
#include "framework/FieldSink.h"
#include "framework/PictureCollection.h"

namespace vorlanex {

namespace {

constexpr ExplosionKind SmallKind{names::Explosion, 32, 4, 15};
constexpr ExplosionKind RedKind{names::ExplosionRed, 32, 5, 45};
constexpr ExplosionKind BigKind{names::BigExplosion, 64, 6, 60};

}  // namespace

// Each explosion starts on a random whole pattern, so explosions made together do not pulse in step.
ExplosionEffect::ExplosionEffect(TSprite* parent, const ExplosionKind& kind) : TImageSprite(parent)
{
    Image = FindPicture(*this, kind.picture);
    Width = Image ? Image->PatternWidth() : kind.patternSize;
    Height = Image ? Image->PatternHeight() : kind.patternSize;
    const std::int32_t patterns = Image ? Image->PatternCount() : 0;
    FrameCount = patterns > 0 ? patterns : kind.patternCount;
    FrameLooped = true;
    FrameSpeed = 0.015;
    FrameIndex = GameRandom(*this, FrameCount);
    TimeLeft = kind.timeLeft;
}

// The lifetime counts Steps, whatever the animation shows.
void ExplosionEffect::Step(std::int32_t MoveCount)
{
    TImageSprite::Step(MoveCount);
    --TimeLeft;
    if (TimeLeft < 0)
        Kill();
}

void ExplosionEffect::Fields(FieldSink& out) const
{
    TImageSprite::Fields(out);
    out.Int("TimeLeft", TimeLeft);
}

TExplosion::TExplosion(TSprite* parent) : ExplosionEffect(parent, SmallKind) {}

TExplosionRed::TExplosionRed(TSprite* parent) : ExplosionEffect(parent, RedKind) {}

TExplosionBig::TExplosionBig(TSprite* parent) : ExplosionEffect(parent, BigKind) {}

}  // namespace vorlanex
