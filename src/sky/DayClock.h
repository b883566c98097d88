// The sky's clock: seconds since the start of the year, advanced by the frame time times
// a time scale, and the rate at which the sky is redrawn.
#pragma once

namespace sky
{
class DayClock
{
public:
    DayClock();

    void setDayLength(float seconds);
    void setYearLength(float days);
    void setTimeScale(float skySecondsPerRealSecond) { timeScale = skySecondsPerRealSecond; }
    // Real seconds between two sky updates at least; a negative rate counts as 0.
    void setUpdateRate(float seconds);
    // The next update reports a sky update whatever the rate.
    void forceUpdate() { secondsSinceUpdate = updateRate + 1.0; }

    // Any time is wrapped into the year; a negative one by its magnitude: an hour before the
    // year's start is one o'clock on its first day.
    void setCurrentTime(double seconds);
    void setCurrentRelativeTime(double fractionOfYear);

    float getDayLength() const { return static_cast<float>(dayLength); }
    float getYearLength() const { return static_cast<float>(yearLength); }
    double getCurrentTime() const { return currentTime; }
    float getTimeScale() const { return timeScale; }
    float getUpdateRate() const { return static_cast<float>(updateRate); }
    float getCurrentRelativeYearTime() const;
    double getCurrentDayTime() const;
    // 0 is midnight, 0.5 noon.
    float getCurrentRelativeDayTime() const;

    // Advances the clock by dtSeconds of real time; true when the sky should be updated.
    bool update(float dtSeconds);

private:
    // Kept in double: a float of some 31 million seconds cannot hold a frame's step.
    double dayLength = 86400.0;   // seconds
    double yearLength = 365.0;    // days
    double totalTime = dayLength * yearLength;
    double currentTime = 0.0;     // seconds since the start of the year, in [0, totalTime)
    float timeScale = 1.0f;
    double updateRate = 0.0;      // real seconds
    double secondsSinceUpdate = 1.0;
};
}
