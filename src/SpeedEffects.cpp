// Speed-dependent view effects of the race.
#include "SpeedEffects.h"

namespace
{
constexpr float kBaseFovPerAspect = 40.0f;    // degrees at standstill per unit of aspect ratio
constexpr float kKmhPerDegreePerAspect = 3.43f;
constexpr float kLagAtStandstill = 1.0f;
constexpr float kLagLossPerKmh = 1.0f / 800.0f;
}

float SpeedEffects::fieldOfView(float speedKmh, float aspectRatio)
{
    const float base = aspectRatio * kBaseFovPerAspect;
    if (speedKmh <= 0.0f)
        return base;
    const float speed = speedKmh < kTopEffectKmh ? speedKmh : kTopEffectKmh;
    return base + speed / (aspectRatio * kKmhPerDegreePerAspect);
}

float SpeedEffects::cameraLag(float speedKmh)
{
    if (speedKmh <= 0.0f)
        return kLagAtStandstill;
    const float speed = speedKmh < kTopEffectKmh ? speedKmh : kTopEffectKmh;
    return kLagAtStandstill - speed * kLagLossPerKmh;
}

bool SpeedEffects::updateBlur(float speedKmh)
{
    const bool switchNow = blurActive ? speedKmh < kBlurOffBelowKmh : speedKmh > kBlurOnAboveKmh;
    if (switchNow)
        blurActive = !blurActive;
    return switchNow;
}
