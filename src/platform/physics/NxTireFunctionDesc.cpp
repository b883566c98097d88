// Tyre force curve: two cubic Hermite pieces, zero slope at the extremum.
#include "platform/physics/NxTireFunctionDesc.h"

#include <cmath>

namespace nxOgre
{
namespace
{
// Start slope of the rising piece in units of extremum value / extremum slip. Above 3 the
// Hermite piece overshoots its extremum.
constexpr float kStartSlopeFactor = 2.0f;
}

bool NxTireFunctionDesc::isValid() const
{
    return extremumSlip > 0.0f && asymptoteSlip > extremumSlip;
}

float NxTireFunctionDesc::curve(float slip) const
{
    const float s = std::fabs(slip);
    if (!isValid() || s <= 0.0f)
        return 0.0f;
    if (s < extremumSlip)
    {
        const float x = s / extremumSlip;
        const float a = kStartSlopeFactor;
        return extremumValue * (((a - 2.0f) * x + (3.0f - 2.0f * a)) * x + a) * x;
    }
    if (s < asymptoteSlip)
    {
        const float x = (s - extremumSlip) / (asymptoteSlip - extremumSlip);
        return extremumValue + (asymptoteValue - extremumValue) * x * x * (3.0f - 2.0f * x);
    }
    return asymptoteValue;
}

float NxTireFunctionDesc::curveSlope(float slip) const
{
    const float s = std::fabs(slip);
    if (!isValid())
        return 0.0f;
    const float a = kStartSlopeFactor;
    if (s < extremumSlip)
    {
        const float x = s / extremumSlip;
        return extremumValue / extremumSlip * ((3.0f * (a - 2.0f) * x + 2.0f * (3.0f - 2.0f * a)) * x + a);
    }
    if (s < asymptoteSlip)
    {
        const float x = (s - extremumSlip) / (asymptoteSlip - extremumSlip);
        return (asymptoteValue - extremumValue) * 6.0f * x * (1.0f - x) / (asymptoteSlip - extremumSlip);
    }
    return 0.0f;
}

}
