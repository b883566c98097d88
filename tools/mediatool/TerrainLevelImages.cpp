// Generates the pictures the menus show for each terrain of the terrain list
// (media/terrain/<name>.png): a shaded top view in the terrain's colours.
#include "MediaGenerator.h"
#include "PngWriter.h"
#include "ValueNoise.h"

#include <cmath>
#include <cstdint>

namespace
{
constexpr int kImageSize = 256;

struct TerrainLook
{
    const char* name;
    float low[3], high[3];  // colours of the valleys and the tops
    float hilliness;        // 0 flat .. 1 mountains
    uint32_t seed;
};

void writeLevelImage(const std::string& path, const TerrainLook& look)
{
    RgbaPicture picture(kImageSize, kImageSize);
    auto heightAt = [&](float x, float y) {
        float h = 0, amplitude = 1, frequency = 4.0f / kImageSize;
        for (int octave = 0; octave < 4; ++octave, amplitude *= 0.5f, frequency *= 2)
            h += amplitude * valueNoise(x * frequency, y * frequency, look.seed + octave);
        const float valley = std::fabs(x / kImageSize - 0.5f) * 2;  // a valley down the middle
        return h * 0.5f * look.hilliness + (look.seed == 3 ? valley * look.hilliness * 0.6f : 0.0f);
    };
    for (int y = 0; y < kImageSize; ++y)
    {
        for (int x = 0; x < kImageSize; ++x)
        {
            const float h = heightAt(x, y);
            const float light = 0.75f + 4.0f * (heightAt(x - 1, y - 1) - h);  // lit from the top left
            const float t = std::fmin(1.0f, h);
            const float grain = 0.92f + 0.08f * latticeNoise(x, y, look.seed + 9);
            float c[3];
            for (int i = 0; i < 3; ++i)
                c[i] = (look.low[i] * (1 - t) + look.high[i] * t) * light * grain;
            picture.set(x, y, c[0], c[1], c[2]);
        }
    }
    writePng(path, picture);
}

void buildLevelImages(const std::string& mediaDir)
{
    const std::string folder = mediaDir + "terrain/";
    makeFolders(folder);
    const TerrainLook looks[] = {
        {"Grass", {0.3f, 0.55f, 0.2f}, {0.45f, 0.65f, 0.3f}, 0.5f, 1},
        {"Desert", {0.85f, 0.72f, 0.48f}, {0.93f, 0.82f, 0.6f}, 0.1f, 2},
        {"Valley", {0.28f, 0.5f, 0.22f}, {0.6f, 0.58f, 0.55f}, 1.0f, 3},
    };
    for (const auto& look : looks)
        writeLevelImage(folder + look.name + ".png", look);
}

const RegisterMedia registerLevelImages{"terrain level images", buildLevelImages};
}
