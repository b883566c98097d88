// Generates the tile set's binary media into media/tiles/: render and physics meshes of
// every tile type, the editor pictures and the surface textures.
#include "MediaGenerator.h"
#include "PngWriter.h"
#include "TileMeshWriter.h"
#include "TileShapes.h"
#include "ValueNoise.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>

#include <cmath>
#include <memory>

namespace
{
constexpr int kPicturePixelsPerCell = 64;
constexpr int kTextureSize = 256;

// Two octaves that wrap every `period` lattice cells, so textures tile without seams.
float tilingNoise(int px, int py, int size, int period, uint32_t seed)
{
    float sum = 0, weight = 0, amplitude = 1;
    for (int octave = 0; octave < 3; ++octave, period *= 2, amplitude *= 0.5f)
    {
        const float x = static_cast<float>(px) * period / size, y = static_cast<float>(py) * period / size;
        const int ix = static_cast<int>(x), iy = static_cast<int>(y);
        const float fx = x - ix, fy = y - iy;
        auto at = [&](int cx, int cy) { return latticeNoise(cx % period, cy % period, seed + octave); };
        const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
        const float top = at(ix, iy) * (1 - sx) + at(ix + 1, iy) * sx;
        const float bottom = at(ix, iy + 1) * (1 - sx) + at(ix + 1, iy + 1) * sx;
        sum += amplitude * (top * (1 - sy) + bottom * sy);
        weight += amplitude;
    }
    return sum / weight;
}

struct Colour
{
    float r, g, b;
};

Colour surfaceColour(tiles::Surface surface, float x, float z)
{
    switch (surface)
    {
    case tiles::Surface::Road: return {0.33f, 0.33f, 0.35f};
    case tiles::Surface::Kerb:
        return static_cast<int>(std::floor((x + z) * 12)) % 2 ? Colour{0.85f, 0.12f, 0.1f} : Colour{0.95f, 0.95f, 0.95f};
    case tiles::Surface::Verge: return {0.36f, 0.55f, 0.22f};
    case tiles::Surface::Line:
        return (static_cast<int>(std::floor(x * 16)) + static_cast<int>(std::floor(z * 16))) % 2
                   ? Colour{0.05f, 0.05f, 0.05f}
                   : Colour{0.95f, 0.95f, 0.95f};
    default: return {0.18f, 0.3f, 0.14f};
    }
}

// The editor shows a tile's picture across its cells: u along the tile's x, v along its z.
void writeEditorPicture(const tiles::TileShape& shape, const std::string& path)
{
    RgbaPicture picture(shape.width * kPicturePixelsPerCell, shape.height * kPicturePixelsPerCell);
    for (int py = 0; py < picture.height; ++py)
    {
        for (int px = 0; px < picture.width; ++px)
        {
            const float x = (px + 0.5f) / kPicturePixelsPerCell, z = (py + 0.5f) / kPicturePixelsPerCell;
            const Colour c = surfaceColour(tiles::surfaceAt(shape, x, z), x, z);
            const float shade = 0.9f + 0.2f * valueNoise(px * 0.3f, py * 0.3f, 7);
            picture.set(px, py, c.r * shade, c.g * shade, c.b * shade);
        }
    }
    writePng(path, picture);
}

void writeEraserPicture(const std::string& path)
{
    RgbaPicture picture(kPicturePixelsPerCell, kPicturePixelsPerCell);
    for (int y = 0; y < kPicturePixelsPerCell; ++y)
    {
        for (int x = 0; x < kPicturePixelsPerCell; ++x)
        {
            const bool cross = std::abs(x - y) < 5 || std::abs(x + y - kPicturePixelsPerCell + 1) < 5;
            const bool inside = x > 8 && x < kPicturePixelsPerCell - 9 && y > 8 && y < kPicturePixelsPerCell - 9;
            if (cross && inside)
                picture.set(x, y, 0.85f, 0.1f, 0.1f);
            else
                picture.set(x, y, 0.25f, 0.25f, 0.27f);
        }
    }
    writePng(path, picture);
}

// Asphalt with white edge lines and a dashed centre line: u across the road, v along it.
void writeTextures(const std::string& folder)
{
    RgbaPicture road(kTextureSize, kTextureSize), kerb(kTextureSize, kTextureSize);
    RgbaPicture verge(kTextureSize, kTextureSize), line(kTextureSize, kTextureSize);
    for (int y = 0; y < kTextureSize; ++y)
    {
        for (int x = 0; x < kTextureSize; ++x)
        {
            const float u = (x + 0.5f) / kTextureSize, v = (y + 0.5f) / kTextureSize;
            const float grain = tilingNoise(x, y, kTextureSize, 32, 11);
            const float wear = tilingNoise(x, y, kTextureSize, 4, 12);
            const bool edgeLine = u < 0.04f || u > 0.96f;
            const bool centreDash = std::fabs(u - 0.5f) < 0.015f && std::fmod(v * 2, 1.0f) < 0.5f;
            const float asphalt = 0.22f + 0.12f * grain - 0.05f * wear;
            if (edgeLine || centreDash)
                road.set(x, y, 0.82f + 0.1f * grain, 0.82f + 0.1f * grain, 0.8f + 0.1f * grain);
            else
                road.set(x, y, asphalt, asphalt, asphalt * 1.05f);

            const bool red = u < 0.5f;
            const float dirt = 0.85f + 0.15f * grain;
            kerb.set(x, y, (red ? 0.8f : 0.92f) * dirt, (red ? 0.1f : 0.92f) * dirt, (red ? 0.08f : 0.9f) * dirt);

            const float blades = tilingNoise(x, y, kTextureSize, 64, 13);
            verge.set(x, y, 0.25f + 0.15f * wear, 0.42f + 0.2f * blades, 0.15f + 0.08f * grain);

            const bool white = (x / (kTextureSize / 8) + y / (kTextureSize / 8)) % 2 == 0;
            const float paint = white ? 0.9f + 0.08f * grain : 0.06f + 0.06f * grain;
            line.set(x, y, paint, paint, paint);
        }
    }
    writePng(folder + "TileRoad.png", road);
    writePng(folder + "TileKerb.png", kerb);
    writePng(folder + "TileVerge.png", verge);
    writePng(folder + "TileLine.png", line);
}

// An engine root without a render system: enough to build and serialise meshes.
struct HeadlessEngine
{
    std::unique_ptr<Ogre::LogManager> logManager = std::make_unique<Ogre::LogManager>();
    Ogre::Log* log = logManager->createLog("", true, false, true);
    std::unique_ptr<Ogre::Root> root = std::make_unique<Ogre::Root>("", "", "");
    std::unique_ptr<Ogre::DefaultHardwareBufferManager> buffers = std::make_unique<Ogre::DefaultHardwareBufferManager>();

    HeadlessEngine() { Ogre::MaterialManager::getSingleton().initialise(); }
    ~HeadlessEngine()
    {
        buffers.reset();
        root.reset();
    }
};

void buildTiles(const std::string& mediaDir)
{
    const std::string folder = mediaDir + "tiles/";
    makeFolders(folder);
    HeadlessEngine engine;
    const tiles::SurfaceMaterials render = {{tiles::Surface::Road, "Quillmor/TileRoad"},
                                            {tiles::Surface::Kerb, "Quillmor/TileKerb"},
                                            {tiles::Surface::Verge, "Quillmor/TileVerge"},
                                            {tiles::Surface::Line, "Quillmor/TileLine"}};
    // Physics sub-meshes are named after the physics materials, for their friction.
    const tiles::SurfaceMaterials physics = {{tiles::Surface::Road, "roadMaterial"},
                                             {tiles::Surface::Kerb, "roadMaterial"},
                                             {tiles::Surface::Line, "roadMaterial"},
                                             {tiles::Surface::Verge, "terrainMaterial"}};
    for (const auto& shape : tiles::tileShapes())
    {
        tiles::writeTileMesh(shape, render, folder + "Tile" + shape.name + ".mesh");
        tiles::writeTileMesh(shape, physics, folder + "Tile" + shape.name + "Physic.mesh");
        writeEditorPicture(shape, folder + "Tile" + shape.name + ".png");
    }
    writeEraserPicture(folder + "TileEraser.png");
    writeTextures(folder);
}

const RegisterMedia registerTiles{"tiles", buildTiles};
}
