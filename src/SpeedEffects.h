// How the race view follows the car's speed: the field of view widens and the camera lag
// shortens up to 200 km/h, and the speed blur switches with a gap (on above 110 km/h, off
// below 100) so that a speed near one edge does not make it flicker.
#pragma once

class SpeedEffects
{
public:
    static constexpr float kBlurOnAboveKmh = 110.0f;
    static constexpr float kBlurOffBelowKmh = 100.0f;
    static constexpr float kTopEffectKmh = 200.0f;

    // Vertical field of view in degrees for the window's aspect ratio.
    static float fieldOfView(float speedKmh, float aspectRatio);
    static float cameraLag(float speedKmh);

    // Feeds one frame's speed; true when the blur is to be switched (on or off) now.
    bool updateBlur(float speedKmh);
    bool isBlurActive() const { return blurActive; }
    void setBlurActive(bool active) { blurActive = active; }

private:
    bool blurActive = false;
};
