// How a grass layer fades with distance and what shape its blades take.
#pragma once

enum FadeTechnique
{
    FADETECH_ALPHA = 0,      // transparent towards the fade range
    FADETECH_GROW = 1,       // sinks into the ground towards the fade range
    FADETECH_ALPHAGROW = 2   // both
};

enum GrassTechnique
{
    GRASSTECH_QUAD = 0,        // one upright quad per blade
    GRASSTECH_CROSSQUADS = 1,  // two quads crossed at right angles
    GRASSTECH_SPRITE = 2       // one quad the vertex program turns to the camera
};
