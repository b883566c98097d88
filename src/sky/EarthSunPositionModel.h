// The sun as seen from a latitude on a day of the year: its elevation and azimuth from
// the solar declination and the hour angle.
#pragma once

#include "sky/SunPositionModel.h"

#include <OGRE/OgreMath.h>

namespace sky
{
class EarthSunPositionModel : public SunPositionModel
{
public:
    // julianDate: the fraction of the year (0 is the first of January).
    EarthSunPositionModel(Ogre::Radian latitude, float julianDate) : latitude(latitude), julianDate(julianDate) {}

    void setLatitude(Ogre::Radian angle) { latitude = angle; }
    Ogre::Radian getLatitude() const { return latitude; }
    void setJulianDate(float fractionOfYear) { julianDate = fractionOfYear; }
    float getJulianDate() const { return julianDate; }

    Ogre::Vector3 getSunDirection(float relativeDayTime) override;

private:
    Ogre::Radian latitude;
    float julianDate;
};
}
