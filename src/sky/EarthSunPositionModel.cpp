// The astronomical sun: declination, hour angle, elevation and azimuth.
#include "sky/EarthSunPositionModel.h"

#include <OGRE/OgreQuaternion.h>

#include <algorithm>
#include <cmath>

namespace sky
{
Ogre::Vector3 EarthSunPositionModel::getSunDirection(float relativeDayTime)
{
    constexpr double kMaxDeclination = 0.4093;  // radians, the tilt of the earth's axis
    const double phi = latitude.valueRadians();
    const double dayOfYear = 365.0 * julianDate;
    const double declination = kMaxDeclination * std::sin(2.0 * M_PI * (dayOfYear - 81.0) / 368.0);
    // The hour angle: 0 at midnight here, so noon is half a turn.
    const double hour = 2.0 * M_PI * relativeDayTime;

    const double sinElevation =
        std::sin(phi) * std::sin(declination) - std::cos(phi) * std::cos(declination) * std::cos(hour);
    const double elevation = std::asin(std::clamp(sinElevation, -1.0, 1.0));
    const double zenith = M_PI / 2.0 - elevation;
    // atan2 keeps the quadrant: the sun stays in the east in the morning, west after noon.
    const double azimuth = std::atan2(-std::cos(declination) * std::sin(hour),
                                      std::cos(phi) * std::sin(declination) -
                                          std::sin(phi) * std::cos(declination) * std::cos(hour));

    const Ogre::Vector3 towardsSun =
        Ogre::Quaternion(Ogre::Radian(static_cast<float>(azimuth)), Ogre::Vector3::UNIT_Y) *
        (Ogre::Quaternion(Ogre::Radian(static_cast<float>(zenith)), Ogre::Vector3::UNIT_X) * Ogre::Vector3::UNIT_Y);
    // The sky wants the direction the light travels: away from the sun.
    return remember(-towardsSun);
}
}
