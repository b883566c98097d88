// Builds the grass vertex programs from fragments, one per option, so every combination of
// options compiles to exactly the code it needs. The programs feed the fixed-function
// fragment stage: they write the colour, the texture coordinate and the fog distance.
#include "paging/GrassProgram.h"

#include <sstream>

bool GrassProgram::grows(FadeTechnique fade)
{
    return fade == FADETECH_GROW || fade == FADETECH_ALPHAGROW;
}

std::string GrassProgram::name(const GrassProgramOptions& options)
{
    std::ostringstream name;
    name << "GrassVS_";
    if (options.animate)
        name << "anim_";
    if (options.blend)
        name << "blend_";
    name << static_cast<int>(options.renderTechnique) << "_" << static_cast<int>(options.fadeTechnique)
         << "_";
    if (grows(options.fadeTechnique))
        name << options.maximumHeight << "_";
    name << "vp";
    return name.str();
}

std::string GrassProgram::vertexSource(const GrassProgramOptions& options)
{
    const bool sprite = options.renderTechnique == GRASSTECH_SPRITE;
    const bool alphaFade = options.fadeTechnique == FADETECH_ALPHA ||
                           options.fadeTechnique == FADETECH_ALPHAGROW;
    const bool grow = grows(options.fadeTechnique);

    std::string source = "#version 120\n";
    if (options.animate)
        source += "uniform float time;\n"
                  "uniform float frequency;\n"
                  "uniform vec4 direction;\n";
    if (grow)
        source += "uniform float grassHeight;\n";
    source += "uniform mat4 worldViewProj;\n"
              "uniform vec3 camPos;\n"
              "uniform float fadeRange;\n"
              "\n"
              "void main()\n"
              "{\n"
              "\tvec4 oColor;\n"
              "\toColor.rgb = gl_Color.rgb;\n"
              "\tvec4 position = gl_Vertex;\n"
              "\tfloat dist = distance(camPos.xz, position.xz);\n";
    source += alphaFade ? "\toColor.a = 2.0 - (2.0 * dist / fadeRange);\n" : "\toColor.a = 1.0;\n";
    source += "\tfloat oldposx = position.x;\n";
    if (sprite)
        // The normal holds the corner's offset: x across the view, y up.
        source += "\tvec3 dirVec = position.xyz - camPos;\n"
                  "\tvec3 p = normalize(cross(vec3(0.0, 1.0, 0.0), dirVec));\n"
                  "\tposition += vec4(p.x * gl_Normal.x, gl_Normal.y, p.z * gl_Normal.x, 0.0);\n";
    if (options.animate)
        source += "\tif (gl_MultiTexCoord0.y == 0.0) {\n"
                  "\t\tfloat offset = sin(time + oldposx * frequency);\n"
                  "\t\tposition += direction * offset;\n"
                  "\t}\n";
    if (options.blend)
    {
        source += options.animate ? "\telse {\n" : "\tif (gl_MultiTexCoord0.y != 0.0) {\n";
        source += "\t\tif (oColor.a >= 1.0)\n"
                  "\t\t\toColor.a = 4.0 * ((dist / fadeRange) - 0.1);\n"
                  "\t}\n";
    }
    if (grow)
        source += "\tfloat offset = (2.0 * dist / fadeRange) - 1.0;\n"
                  "\tposition.y -= grassHeight * clamp(offset, 0.0, 1.0);\n";
    source += "\tgl_Position = worldViewProj * position;\n"
              "\tgl_FrontColor = oColor;\n"
              "\tgl_TexCoord[0] = gl_MultiTexCoord0;\n"
              "\tgl_FogFragCoord = gl_Position.w;\n"  // eye depth, for the scene's fog
              "}\n";
    return source;
}
