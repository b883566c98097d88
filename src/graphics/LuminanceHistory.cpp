// The adapted luminance.
#include "graphics/LuminanceHistory.h"

#include <numeric>

float LuminanceHistory::add(float luminance)
{
    if (fading == 0)
        return kFixedLuminance;
    readings.push_back(luminance);
    const float mean = std::accumulate(readings.begin(), readings.end(), 0.0f) / readings.size();
    if (readings.size() > static_cast<std::size_t>(fading))
        readings.pop_front();
    return mean;
}
