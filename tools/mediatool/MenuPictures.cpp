// The menus' pictures: the main-menu backdrop (a road into dusk hills) and two track
// preview pictures, drawn procedurally with fixed seeds.
#include "MediaGenerator.h"
#include "PngWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
// Deterministic value noise in [0, 1].
float hashNoise(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xffffu) / 65535.0f;
}

float smoothNoise(float x, float y, uint32_t seed)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = x - x0, fy = y - y0;
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float top = hashNoise(x0, y0, seed) * (1 - sx) + hashNoise(x0 + 1, y0, seed) * sx;
    const float bottom = hashNoise(x0, y0 + 1, seed) * (1 - sx) + hashNoise(x0 + 1, y0 + 1, seed) * sx;
    return top * (1 - sy) + bottom * sy;
}

float mix(float a, float b, float t)
{
    return a + (b - a) * std::clamp(t, 0.0f, 1.0f);
}

void drawMainMenuBackdrop(const std::string& path)
{
    const int width = 1024, height = 512;
    const float horizon = height * 0.55f;
    RgbaPicture picture(width, height);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const float fx = static_cast<float>(x) / width;
            // Dusk sky: deep blue above, orange at the horizon, a sun glow left of centre.
            const float t = y / horizon;
            float r = mix(0.08f, 0.95f, t * t), g = mix(0.10f, 0.55f, t * t), b = mix(0.30f, 0.30f, t);
            const float sunDistance = std::hypot(fx - 0.35f, (y - horizon * 0.9f) / height);
            const float glow = std::exp(-sunDistance * 9.0f);
            r += glow * 0.5f;
            g += glow * 0.35f;
            b += glow * 0.1f;

            // Two ranges of hills, the nearer one darker.
            const float farHill = horizon - 40 - 30 * std::sin(fx * 7.1f) - 18 * smoothNoise(fx * 12, 0, 11) * 2;
            const float nearHill = horizon - 10 - 22 * std::sin(fx * 4.3f + 1.0f) - 12 * smoothNoise(fx * 20, 3, 12);
            if (y > farHill)
            {
                r = 0.25f, g = 0.22f, b = 0.35f;
            }
            if (y > nearHill)
            {
                r = 0.12f, g = 0.20f, b = 0.16f;
            }
            if (y >= horizon)
            {
                // Grass with noise, and the road running to a vanishing point.
                const float depth = (y - horizon) / (height - horizon);
                const float grass = 0.8f + 0.2f * smoothNoise(x * 0.08f, y * 0.3f, 5);
                r = 0.18f * grass, g = (0.32f + 0.1f * depth) * grass, b = 0.12f * grass;
                const float centre = width * 0.5f;
                const float halfRoad = 20 + depth * 420;
                const float offset = std::fabs(x - centre);
                if (offset < halfRoad)
                {
                    const float asphalt = 0.25f + 0.06f * hashNoise(x, y, 7);
                    r = g = b = asphalt;
                    // Dashed centre line, spaced in perspective.
                    const float stripe = std::fmod(1.0f / (depth + 0.02f), 1.2f);
                    if (offset < 2 + depth * 8 && stripe < 0.6f)
                        r = g = b = 0.9f;
                }
                else if (offset < halfRoad * 1.08f)
                {
                    // Red and white kerbs.
                    const bool red = std::fmod(1.0f / (depth + 0.02f), 0.6f) < 0.3f;
                    r = red ? 0.8f : 0.92f, g = red ? 0.1f : 0.92f, b = red ? 0.1f : 0.92f;
                }
            }
            picture.set(x, y, r, g, b);
        }
    }
    writePng(path, picture, RowFilter::None);  // noise all over: see RowFilter
}

// A track preview: a closed road drawn along a parametric curve over noisy grass.
void drawTrackPreview(const std::string& path, uint32_t seed, float lobes)
{
    const int size = 256;
    RgbaPicture picture(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            const float grass = 0.75f + 0.25f * smoothNoise(x * 0.1f, y * 0.1f, seed);
            picture.set(x, y, 0.20f * grass, 0.45f * grass, 0.15f * grass);
        }
    const int steps = 4000;
    for (int i = 0; i < steps; ++i)
    {
        const float a = 2.0f * 3.14159265f * i / steps;
        const float radius = 80 + 25 * std::sin(lobes * a);
        const float cx = size / 2 + radius * std::cos(a);
        const float cy = size / 2 + radius * std::sin(a) * 0.8f;
        for (int dy = -9; dy <= 9; ++dy)
            for (int dx = -9; dx <= 9; ++dx)
            {
                const int px = static_cast<int>(cx) + dx, py = static_cast<int>(cy) + dy;
                if (px < 0 || py < 0 || px >= size || py >= size)
                    continue;
                const float d = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
                if (d < 6)
                    picture.set(px, py, 0.3f, 0.3f, 0.32f);
                else if (d < 8 && picture.at(px, py)[0] != 77)
                    picture.set(px, py, 0.85f, 0.85f, 0.85f);
            }
    }
    writePng(path, picture, RowFilter::None);  // noise all over: see RowFilter
}

RegisterMedia menuPictures{"menu pictures", [](const std::string& mediaDir) {
                               makeFolders(mediaDir + "gui");
                               drawMainMenuBackdrop(mediaDir + "gui/MainMenu.png");
                               drawTrackPreview(mediaDir + "gui/Map1.png", 21, 2);
                               drawTrackPreview(mediaDir + "gui/Map3.png", 23, 3);
                           }};
}
