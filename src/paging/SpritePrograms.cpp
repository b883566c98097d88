// Billboard vertex programs: the baked vertex carries the quad's centre as its position, and
// half width, half height and corner number as its normal; preRotatedQuad holds the four
// camera-facing corner directions of this frame.
#include "paging/SpritePrograms.h"

#include <OGRE/OgreHighLevelGpuProgram.h>
#include <OGRE/OgreHighLevelGpuProgramManager.h>
#include <OGRE/OgreResourceGroupManager.h>

namespace
{
// Both programs share everything but the colour.
std::string source(bool fade)
{
    std::string text =
        "#version 120\n"
        "uniform mat4 worldViewProj;\n";
    if (fade)
        text +=
            "uniform vec3 camPos;\n"
            "uniform float fadeGap;\n"
            "uniform float invisibleDist;\n";
    text +=
        "uniform float uScroll;\n"
        "uniform float vScroll;\n"
        "uniform vec4 preRotatedQuad[4];\n"
        "void main()\n"
        "{\n"
        "    vec4 centre = vec4(gl_Vertex.xyz, 1.0);\n"
        "    vec4 scale = vec4(gl_Normal.x, gl_Normal.y, gl_Normal.x, 1.0);\n"
        "    gl_Position = worldViewProj * (centre + preRotatedQuad[int(gl_Normal.z)] * scale);\n"
        "    gl_TexCoord[0] = vec4(gl_MultiTexCoord0.x + uScroll, gl_MultiTexCoord0.y + vScroll, 0.0, 1.0);\n";
    if (fade)
        text +=
            "    float dist = distance(camPos.xz, gl_Vertex.xz);\n"
            "    gl_FrontColor = vec4(gl_Color.rgb, (invisibleDist - dist) / fadeGap);\n";
    else
        text += "    gl_FrontColor = gl_Color;\n";
    text +=
        "    gl_FogFragCoord = gl_Position.z;\n"
        "}\n";
    return text;
}

void ensureProgram(const char* name, const std::string& text)
{
    Ogre::HighLevelGpuProgramManager& programs = Ogre::HighLevelGpuProgramManager::getSingleton();
    if (programs.getByName(name, Ogre::RGN_DEFAULT))
        return;
    Ogre::HighLevelGpuProgramPtr program =
        programs.createProgram(name, Ogre::RGN_DEFAULT, "glsl", Ogre::GPT_VERTEX_PROGRAM);
    program->setSource(text);
    program->load();
}
}

namespace SpritePrograms
{
std::string spriteSource() { return source(false); }
std::string spriteFadeSource() { return source(true); }

void ensureLoaded()
{
    ensureProgram(kSprite, spriteSource());
    ensureProgram(kSpriteFade, spriteFadeSource());
}
}
