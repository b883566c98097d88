// The three terrains of the terrain list, drawn from fixed seeds: per terrain a 257 x 257
// 16-bit heightmap, a colour texture painted from the heights and slopes, a detail grain
// texture and the menu's top-view picture. Their terrain files and materials are text
// media in media/terrain/.
#include "MediaGenerator.h"
#include "PngWriter.h"
#include "ValueNoise.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace
{
constexpr int kPageSize = 257;            // samples per side; 256 * 12 world units = 3072
constexpr float kSampleSpacing = 12.0f;   // world units
constexpr int kColourSize = 1024;         // texels per side of the colour texture
constexpr int kDetailSize = 256;
constexpr int kLevelImageSize = 256;
constexpr float kPi = 3.14159265f;

struct Colour
{
    float r, g, b;
};

Colour mix(const Colour& a, const Colour& b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scaled(const Colour& c, float f)
{
    return {c.r * f, c.g * f, c.b * f};
}

float smoothStep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// Fractal noise in about [0, 1]: octaves of value noise, each twice as fine and half as strong.
float fractal(float x, float y, int octaves, uint32_t seed)
{
    float sum = 0, amplitude = 0.5f, total = 0;
    for (int octave = 0; octave < octaves; ++octave, amplitude *= 0.5f, x *= 2, y *= 2)
    {
        sum += amplitude * valueNoise(x, y, seed + octave * 101);
        total += amplitude;
    }
    return sum / total;
}

// What makes one terrain: its height field over samples (column x, row z), both 0..256,
// in 0..1 of its largest height, and the paint for a point of given height and steepness.
struct TerrainLook
{
    const char* name;
    std::function<float(float x, float z)> height;
    std::function<Colour(float x, float z, float height, float steepness)> paint;
    uint32_t seed;
    float maxHeight;  // world units, the terrain file's MaxHeight
    float pictureRelief = 1.0f;
};

// Gentle grass hills: long rolling swells, meadows with darker clover and dry patches.
TerrainLook grassHills()
{
    TerrainLook look;
    look.name = "Grass";
    look.seed = 11;
    look.maxHeight = 160.0f;
    look.pictureRelief = 4.0f;
    look.height = [](float x, float z) { return 0.08f + 0.8f * fractal(x / 70.0f, z / 70.0f, 4, 11); };
    look.paint = [](float x, float z, float height, float steepness) {
        const Colour meadow{0.30f, 0.50f, 0.17f}, lush{0.20f, 0.42f, 0.13f}, dry{0.55f, 0.55f, 0.28f},
            earth{0.42f, 0.34f, 0.22f};
        Colour c = mix(lush, meadow, height * 1.3f);
        c = mix(c, dry, 0.7f * smoothStep(0.6f, 0.8f, fractal(x / 14.0f, z / 14.0f, 4, 12)));
        c = mix(c, earth, smoothStep(0.25f, 0.45f, steepness));
        return scaled(c, 0.85f + 0.3f * fractal(x / 3.0f, z / 3.0f, 2, 13));
    };
    return look;
}

// A flat desert: a low plain under long wind-cut dune ridges, pale sand, darker gravel flats.
TerrainLook flatDesert()
{
    TerrainLook look;
    look.name = "Desert";
    look.seed = 21;
    look.maxHeight = 60.0f;
    look.pictureRelief = 3.0f;
    look.height = [](float x, float z) {
        const float warp = 9.0f * fractal(x / 40.0f, z / 40.0f, 3, 22);
        const float dune = std::pow(0.5f + 0.5f * std::sin((x * 0.6f + z * 0.8f) / 7.0f + warp), 3.0f);
        return 0.2f + 0.35f * fractal(x / 90.0f, z / 90.0f, 3, 21) + 0.25f * dune * fractal(x / 30.0f, z / 30.0f, 2, 23);
    };
    look.paint = [](float x, float z, float height, float steepness) {
        const Colour sand{0.86f, 0.72f, 0.48f}, pale{0.93f, 0.84f, 0.64f}, gravel{0.74f, 0.60f, 0.42f};
        Colour c = mix(sand, pale, (height - 0.3f) * 3.0f);
        c = mix(c, gravel, smoothStep(0.6f, 0.75f, fractal(x / 25.0f, z / 25.0f, 3, 24)));
        c = scaled(c, 1.0f - 0.6f * steepness);  // the lee faces of the dunes
        return scaled(c, 0.9f + 0.2f * fractal(x / 2.0f, z / 2.0f, 2, 25));
    };
    return look;
}

// A mountain valley: a broad meadow winding from one end to the other between rock walls
// with snow on the peaks.
TerrainLook mountainValley()
{
    TerrainLook look;
    look.name = "Valley";
    look.seed = 31;
    look.maxHeight = 600.0f;
    look.pictureRelief = 0.5f;
    look.height = [](float x, float z) {
        const float centre = 128.0f - 60.0f * std::sin(kPi * z / 256.0f);
        const float away = std::fabs(x - centre) + 12.0f * fractal(x / 20.0f, z / 20.0f, 2, 32);
        const float walls = smoothStep(50.0f, 110.0f, away);
        const float ridges = 1.0f - std::fabs(2.0f * fractal(x / 45.0f, z / 45.0f, 5, 31) - 1.0f);
        return 0.02f + 0.03f * fractal(x / 40.0f, z / 40.0f, 3, 33) + walls * (0.35f + 0.6f * ridges);
    };
    look.paint = [](float x, float z, float height, float steepness) {
        const Colour meadow{0.28f, 0.48f, 0.18f}, alpine{0.42f, 0.50f, 0.28f}, rock{0.45f, 0.42f, 0.40f},
            snow{0.93f, 0.94f, 0.97f};
        Colour c = mix(meadow, alpine, height * 3.0f);
        c = mix(c, rock, smoothStep(0.35f, 0.6f, steepness) + smoothStep(0.45f, 0.6f, height));
        c = mix(c, snow, smoothStep(0.8f, 0.9f, height + 0.1f * fractal(x / 6.0f, z / 6.0f, 2, 34)) *
                             (1.0f - smoothStep(0.7f, 0.9f, steepness)));
        return scaled(c, 0.85f + 0.3f * fractal(x / 3.0f, z / 3.0f, 2, 35));
    };
    return look;
}

struct HeightField
{
    std::vector<float> samples;  // kPageSize x kPageSize, 0..1
    float at(float x, float z) const
    {
        x = std::clamp(x, 0.0f, kPageSize - 1.001f);
        z = std::clamp(z, 0.0f, kPageSize - 1.001f);
        const int x0 = static_cast<int>(x), z0 = static_cast<int>(z);
        const float fx = x - x0, fz = z - z0;
        auto s = [&](int cx, int cz) { return samples[static_cast<size_t>(cz) * kPageSize + cx]; };
        return (s(x0, z0) * (1 - fx) + s(x0 + 1, z0) * fx) * (1 - fz) + (s(x0, z0 + 1) * (1 - fx) + s(x0 + 1, z0 + 1) * fx) * fz;
    }
    // World rise per world unit, from the gradient at a point.
    float steepness(float x, float z, float maxHeight) const
    {
        const float dx = (at(x + 0.5f, z) - at(x - 0.5f, z)) * maxHeight / kSampleSpacing;
        const float dz = (at(x, z + 0.5f) - at(x, z - 0.5f)) * maxHeight / kSampleSpacing;
        return std::sqrt(dx * dx + dz * dz);
    }
    // Light from the sun's side (low in the north-west) for the baked shading; relief
    // exaggerates the heights so that gentle ground still reads in a small picture.
    float light(float x, float z, float maxHeight) const
    {
        const float dx = (at(x + 0.5f, z) - at(x - 0.5f, z)) * maxHeight / kSampleSpacing;
        const float dz = (at(x, z + 0.5f) - at(x, z - 0.5f)) * maxHeight / kSampleSpacing;
        const float length = std::sqrt(dx * dx + 1 + dz * dz);
        const float sun[3] = {-0.5f, 0.7f, -0.5f};
        return std::max(0.0f, (-dx * sun[0] + sun[1] - dz * sun[2]) / length / 0.99f);
    }
};

HeightField makeHeights(const TerrainLook& look, std::vector<uint16_t>& out)
{
    HeightField field;
    field.samples.resize(static_cast<size_t>(kPageSize) * kPageSize);
    out.resize(field.samples.size());
    for (int z = 0; z < kPageSize; ++z)
        for (int x = 0; x < kPageSize; ++x)
        {
            const float h = std::clamp(look.height(static_cast<float>(x), static_cast<float>(z)), 0.0f, 1.0f);
            const size_t i = static_cast<size_t>(z) * kPageSize + x;
            out[i] = static_cast<uint16_t>(std::lround(h * 65535.0f));
            field.samples[i] = out[i] / 65535.0f;
        }
    return field;
}

// A top view of width x width pixels over the whole page; row 0 is z = 0.
RgbaPicture paintTopView(const TerrainLook& look, const HeightField& field, int width, float shading, float relief)
{
    RgbaPicture picture(width, width);
    const float samplesPerPixel = (kPageSize - 1) / static_cast<float>(width - 1);
    for (int v = 0; v < width; ++v)
        for (int u = 0; u < width; ++u)
        {
            const float x = u * samplesPerPixel, z = v * samplesPerPixel;
            const float h = field.at(x, z);
            const Colour c = look.paint(x, z, h, field.steepness(x, z, look.maxHeight));
            const float lit = 1.0f - shading + shading * field.light(x, z, look.maxHeight * relief);
            picture.set(u, v, c.r * lit, c.g * lit, c.b * lit);
        }
    return picture;
}

// Grey grain around mid-grey: the material doubles it over the colour, so it brightens and
// darkens without changing the colour's average.
RgbaPicture paintDetail(uint32_t seed)
{
    RgbaPicture picture(kDetailSize, kDetailSize);
    constexpr int kCells = 16;  // noise cells per side, whole so the grain tiles
    for (int y = 0; y < kDetailSize; ++y)
        for (int x = 0; x < kDetailSize; ++x)
        {
            const float u = x * kCells / static_cast<float>(kDetailSize), v = y * kCells / static_cast<float>(kDetailSize);
            auto tiled = [&](float scale, uint32_t s) {
                // Wrapping the lattice makes the grain repeat seamlessly.
                const int period = static_cast<int>(kCells * scale);
                const float px = u * scale, py = v * scale;
                const int ix = static_cast<int>(px), iy = static_cast<int>(py);
                const float fx = px - ix, fy = py - iy;
                auto n = [&](int cx, int cy) { return latticeNoise(cx % period, cy % period, s); };
                const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
                return (n(ix, iy) * (1 - sx) + n(ix + 1, iy) * sx) * (1 - sy) + (n(ix, iy + 1) * (1 - sx) + n(ix + 1, iy + 1) * sx) * sy;
            };
            const float grain = 0.5f * tiled(1, seed) + 0.3f * tiled(4, seed + 1) + 0.2f * tiled(16, seed + 2);
            const float grey = 0.5f + 0.25f * (grain - 0.5f) * 2.0f;
            picture.set(x, y, grey, grey, grey);
        }
    return picture;
}

void buildTerrains(const std::string& mediaDir)
{
    const std::string folder = mediaDir + "terrain/";
    makeFolders(folder);
    for (const TerrainLook& look : {grassHills(), flatDesert(), mountainValley()})
    {
        std::vector<uint16_t> samples;
        const HeightField field = makeHeights(look, samples);
        const std::string base = folder + look.name;
        writeGrey16Png(base + "_height.png", kPageSize, kPageSize, samples);
        writePng(base + "_colour.png", paintTopView(look, field, kColourSize, 0.35f, 1.0f));
        writePng(base + "_detail.png", paintDetail(look.seed));
        writePng(base + ".png", paintTopView(look, field, kLevelImageSize, 0.7f, look.pictureRelief));
    }
}

const RegisterMedia registerTerrains{"terrains", buildTerrains};
}
