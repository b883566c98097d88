// A position, velocity or direction handed to the sound layer.
#pragma once

struct AudioVector
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
