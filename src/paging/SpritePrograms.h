// The two vertex programs of the accelerated billboard sets, written in GLSL 1.20: they turn
// every baked quad towards the camera, and the fading one also fades it out with distance.
#pragma once

#include <string>

namespace SpritePrograms
{
constexpr const char* kSprite = "Sprite_vp";
constexpr const char* kSpriteFade = "SpriteFade_vp";

// The program sources, as the engine compiles them.
std::string spriteSource();
std::string spriteFadeSource();

// Creates and loads the programs that the engine does not hold yet.
void ensureLoaded();
}
