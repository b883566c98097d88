// The vertex programs of the grass layers, generated per set of options: their names, shared
// by every layer with the same options, and their GLSL 1.20 sources.
#pragma once

#include "paging/GrassTechniques.h"

#include <string>

struct GrassProgramOptions
{
    bool animate = false;  // tops sway in the wind
    bool blend = false;    // feet fade out close to the camera
    GrassTechnique renderTechnique = GRASSTECH_QUAD;
    FadeTechnique fadeTechnique = FADETECH_ALPHA;
    float maximumHeight = 1.0f;  // world units; part of the name when the blades grow
};

namespace GrassProgram
{
// E.g. "GrassVS_anim_blend_0_0_vp", or "GrassVS_0_1_0.6_vp" for blades that grow.
std::string name(const GrassProgramOptions& options);
std::string vertexSource(const GrassProgramOptions& options);
// Whether the program sinks its blades and so needs "grassHeight".
bool grows(FadeTechnique fade);
}
