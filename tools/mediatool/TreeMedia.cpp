// Writes "trees/": the race's tree kinds (a broad-leaf tree and three pines for the grass
// terrain, three palms for the desert), their bark and foliage textures, the tree-shadow
// stamp, the colour maps that tint trees and grass, and the grass blade textures.
// Meshes stay small (a few hundred vertices) so that a page's batch keeps 16-bit indices.
#include "MediaGenerator.h"
#include "PngWriter.h"
#include "ValueNoise.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace
{
using Ogre::Vector3;

constexpr float kPi = 3.14159265f;
constexpr int kTerrainLightmapSize = 1024;  // pixels, each side

// One sub-mesh in the making, written through a manual object.
struct Piece
{
    std::string material;
    struct Vertex
    {
        Vector3 position, normal;
        float u, v;
    };
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;

    std::uint32_t add(const Vector3& p, const Vector3& n, float u, float v)
    {
        vertices.push_back({p, n.normalisedCopy(), u, v});
        return static_cast<std::uint32_t>(vertices.size() - 1);
    }
    // Wound so that the face looks along outward.
    void triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, const Vector3& outward)
    {
        const Vector3 face = (vertices[b].position - vertices[a].position)
                                 .crossProduct(vertices[c].position - vertices[a].position);
        if (face.dotProduct(outward) >= 0.0f)
            indices.insert(indices.end(), {a, b, c});
        else
            indices.insert(indices.end(), {a, c, b});
    }
};

// A ring-by-ring surface of revolution about a (possibly leaning) axis: rings of (centre,
// radius), sides around; outward normals from the axis, tilted by the radius' slope.
void lathe(Piece& piece, const std::vector<std::pair<Vector3, float>>& rings, int sides, float vRepeat)
{
    const std::uint32_t base = static_cast<std::uint32_t>(piece.vertices.size());
    for (std::size_t r = 0; r < rings.size(); ++r)
    {
        const std::size_t prev = r == 0 ? 0 : r - 1, next = std::min(r + 1, rings.size() - 1);
        const float dy = rings[next].first.y - rings[prev].first.y;
        const float dr = rings[next].second - rings[prev].second;
        const float slope = dy != 0.0f ? -dr / dy : 0.0f;
        for (int s = 0; s <= sides; ++s)
        {
            const float a = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(sides);
            const Vector3 out(std::cos(a), 0.0f, std::sin(a));
            piece.add(rings[r].first + out * rings[r].second, out + Vector3(0, slope, 0),
                      static_cast<float>(s) / static_cast<float>(sides),
                      vRepeat * static_cast<float>(r) / static_cast<float>(rings.size() - 1));
        }
    }
    const std::uint32_t row = static_cast<std::uint32_t>(sides + 1);
    for (std::uint32_t r = 0; r + 1 < rings.size(); ++r)
        for (std::uint32_t s = 0; s < static_cast<std::uint32_t>(sides); ++s)
        {
            const std::uint32_t a = base + r * row + s, b = a + 1, c = a + row, d = c + 1;
            const Vector3 out = piece.vertices[a].position - rings[r].first;
            piece.triangle(a, b, d, out);
            piece.triangle(a, d, c, out);
        }
}

// A cone from a base ring to a tip, its underside closed.
void cone(Piece& piece, float bottom, float top, float radius, int sides, float phase)
{
    const std::uint32_t tip = piece.add({0, top, 0}, {0, 1, 0}, 0.5f, 0.0f);
    const std::uint32_t centre = piece.add({0, bottom, 0}, {0, -1, 0}, 0.5f, 1.0f);
    const float slope = radius / (top - bottom);
    std::vector<std::uint32_t> ring, under;
    for (int s = 0; s < sides; ++s)
    {
        const float a = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(sides) + phase;
        const Vector3 out(std::cos(a), 0.0f, std::sin(a));
        ring.push_back(piece.add(out * radius + Vector3(0, bottom, 0), out + Vector3(0, slope, 0),
                                 static_cast<float>(s) / static_cast<float>(sides), 1.0f));
        under.push_back(piece.add(out * radius + Vector3(0, bottom, 0), {0, -1, 0}, 0.5f + 0.5f * out.x,
                                  0.5f + 0.5f * out.z));
    }
    for (int s = 0; s < sides; ++s)
    {
        const int n = (s + 1) % sides;
        const Vector3 out = piece.vertices[ring[s]].position - Vector3(0, bottom, 0);
        piece.triangle(tip, ring[s], ring[n], out + Vector3(0, radius * slope, 0));
        piece.triangle(centre, under[n], under[s], {0, -1, 0});
    }
}

// A lumpy ball of foliage: a UV sphere with its radius pushed in and out by noise.
void crown(Piece& piece, const Vector3& centre, const Vector3& radii, int rings, int sides, std::uint32_t seed)
{
    const std::uint32_t base = static_cast<std::uint32_t>(piece.vertices.size());
    for (int r = 0; r <= rings; ++r)
    {
        const float polar = kPi * static_cast<float>(r) / static_cast<float>(rings);
        for (int s = 0; s <= sides; ++s)
        {
            const float a = 2.0f * kPi * static_cast<float>(s % sides) / static_cast<float>(sides);
            const Vector3 dir(std::sin(polar) * std::cos(a), std::cos(polar), std::sin(polar) * std::sin(a));
            const float lump = 0.85f + 0.3f * latticeNoise(r, s % sides, seed);
            piece.add(centre + dir * radii * lump, dir, 2.0f * static_cast<float>(s) / static_cast<float>(sides),
                      static_cast<float>(r) / static_cast<float>(rings));
        }
    }
    const std::uint32_t row = static_cast<std::uint32_t>(sides + 1);
    for (std::uint32_t r = 0; r < static_cast<std::uint32_t>(rings); ++r)
        for (std::uint32_t s = 0; s < static_cast<std::uint32_t>(sides); ++s)
        {
            const std::uint32_t a = base + r * row + s, b = a + 1, c = a + row, d = c + 1;
            const Vector3 out = piece.vertices[a].position + piece.vertices[d].position - centre * 2.0f;
            piece.triangle(a, b, d, out);
            piece.triangle(a, d, c, out);
        }
}

// One palm frond: a drooping strip from the crown outwards, two-sided by its own back face.
void frond(Piece& piece, const Vector3& from, float heading, float length, float width, float droop)
{
    const Vector3 along(std::cos(heading), 0.0f, std::sin(heading));
    const Vector3 side(-along.z, 0.0f, along.x);
    constexpr int kSegments = 4;
    std::vector<std::uint32_t> front, back;
    for (int i = 0; i <= kSegments; ++i)
    {
        const float t = static_cast<float>(i) / kSegments;
        const Vector3 spine = from + along * (length * t) + Vector3(0, 0.6f * t - droop * t * t, 0);
        const float w = width * std::sin(kPi * std::min(0.15f + t, 1.0f)) + 0.05f;
        for (float sign : {-1.0f, 1.0f})
        {
            const Vector3 p = spine + side * (w * sign) + Vector3(0, -0.15f * w, 0);
            front.push_back(piece.add(p, {0, 1, 0}, 0.5f + 0.5f * sign, t));
            back.push_back(piece.add(p, {0, -1, 0}, 0.5f + 0.5f * sign, t));
        }
    }
    for (int i = 0; i < kSegments; ++i)
    {
        const std::uint32_t k = static_cast<std::uint32_t>(2 * i);
        piece.triangle(front[k], front[k + 1], front[k + 3], {0, 1, 0});
        piece.triangle(front[k], front[k + 3], front[k + 2], {0, 1, 0});
        piece.triangle(back[k], back[k + 3], back[k + 1], {0, -1, 0});
        piece.triangle(back[k], back[k + 2], back[k + 3], {0, -1, 0});
    }
}

using Pieces = std::vector<Piece>;

// The trunks are made around the game's trunk colliders where a car meets them, up to
// 2 units: a pine's is a capsule of radius 0.1, a broad-leaf tree's a box 0.5 wide.
Pieces pineTree(float height, int tiers, std::uint32_t seed)
{
    Piece bark{"Trees/Bark", {}, {}};
    lathe(bark, {{{0, -0.3f, 0}, 0.105f}, {{0, 2.2f, 0}, 0.1f}, {{0, height * 0.5f, 0}, 0.08f},
                 {{0, height * 0.9f, 0}, 0.03f}},
          8, 3.0f);
    Piece needles{"Trees/Pine", {}, {}};
    const float start = height * 0.22f;
    for (int t = 0; t < tiers; ++t)
    {
        const float f = static_cast<float>(t) / static_cast<float>(tiers);
        const float bottom = start + (height - start) * f * 0.8f;
        const float radius = (height * 0.32f) * (1.0f - 0.7f * f);
        cone(needles, bottom, bottom + height * 0.38f, radius, 8, 0.4f * static_cast<float>(t) + 0.1f * latticeNoise(t, 0, seed));
    }
    return {bark, needles};
}

Pieces broadLeafTree()
{
    Piece bark{"Trees/Bark", {}, {}};
    // Round, between the box's faces and its corners.
    lathe(bark, {{{0, -0.3f, 0}, 0.31f}, {{0, 2.2f, 0}, 0.3f}, {{0.1f, 3.6f, 0}, 0.18f}}, 12, 3.0f);
    Piece leaves{"Trees/Leaves", {}, {}};
    crown(leaves, {0.0f, 5.0f, 0.0f}, {2.6f, 2.2f, 2.6f}, 5, 9, 41);
    crown(leaves, {0.9f, 3.9f, 0.6f}, {1.6f, 1.3f, 1.6f}, 4, 7, 42);
    return {bark, leaves};
}

Pieces palmTree(float height, float lean, int fronds, std::uint32_t seed)
{
    Piece bark{"Trees/PalmBark", {}, {}};
    std::vector<std::pair<Vector3, float>> rings;
    constexpr int kRings = 6;
    for (int r = 0; r <= kRings; ++r)
    {
        const float t = static_cast<float>(r) / kRings;
        rings.push_back({{lean * t * t * height, -0.3f + (height + 0.3f) * t, 0.0f}, 0.28f - 0.12f * t});
    }
    lathe(bark, rings, 6, 6.0f);
    Piece leaves{"Trees/PalmLeaves", {}, {}};
    const Vector3 top = rings.back().first;
    for (int f = 0; f < fronds; ++f)
    {
        const float heading = 2.0f * kPi * static_cast<float>(f) / static_cast<float>(fronds) +
                              0.5f * latticeNoise(f, 1, seed);
        frond(leaves, top, heading, height * 0.45f, 0.45f, 1.6f + 0.6f * latticeNoise(f, 2, seed));
    }
    return {bark, leaves};
}

void saveMesh(Ogre::SceneManager* manager, const Pieces& pieces, const std::string& name, const std::string& path)
{
    Ogre::ManualObject* object = manager->createManualObject();
    for (const Piece& piece : pieces)
    {
        object->begin(piece.material, Ogre::RenderOperation::OT_TRIANGLE_LIST);
        for (const Piece::Vertex& v : piece.vertices)
        {
            object->position(v.position);
            object->normal(v.normal);
            object->textureCoord(v.u, v.v);
        }
        for (std::size_t i = 0; i < piece.indices.size(); i += 3)
            object->triangle(piece.indices[i], piece.indices[i + 1], piece.indices[i + 2]);
        object->end();
    }
    Ogre::MeshPtr mesh = object->convertToMesh(name);
    Ogre::MeshSerializer().exportMesh(mesh.get(), path);
    manager->destroyManualObject(object);
    Ogre::MeshManager::getSingleton().remove(mesh);
}

void saveMeshes(const std::string& folder)
{
    auto log = std::make_unique<Ogre::LogManager>();
    log->createLog("", true, false, true);
    auto root = std::make_unique<Ogre::Root>("", "", "");
    auto buffers = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    Ogre::MaterialManager::getSingleton().initialise();
    for (const char* material : {"Trees/Bark", "Trees/Pine", "Trees/Leaves", "Trees/PalmBark", "Trees/PalmLeaves"})
        Ogre::MaterialManager::getSingleton().create(material, Ogre::RGN_DEFAULT);
    Ogre::SceneManager* manager = root->createSceneManager();
    const struct
    {
        const char* name;
        Pieces pieces;
    } kinds[] = {
        {"NormalTree.mesh", broadLeafTree()},
        {"pinetree_01.mesh", pineTree(9.0f, 4, 11)},
        {"pinetree_02.mesh", pineTree(7.0f, 3, 12)},
        {"pinetree_03.mesh", pineTree(11.0f, 5, 13)},
        {"palmtree.mesh", palmTree(8.0f, 0.18f, 8, 21)},
        {"palmtree_mid.mesh", palmTree(6.0f, 0.25f, 7, 22)},
        {"palmtree_small.mesh", palmTree(4.0f, 0.1f, 6, 23)},
    };
    for (const auto& kind : kinds)
        saveMesh(manager, kind.pieces, kind.name, folder + kind.name);
    root->destroySceneManager(manager);
    Ogre::MaterialManager::getSingleton().removeAll();
    root.reset();
    buffers.reset();
}

using Shade = std::function<void(float x, float y, float& r, float& g, float& b, float& a)>;

void savePicture(const std::string& path, int size, const Shade& shade)
{
    RgbaPicture picture(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            float r = 1, g = 1, b = 1, a = 1;
            shade(static_cast<float>(x) / static_cast<float>(size), static_cast<float>(y) / static_cast<float>(size),
                  r, g, b, a);
            picture.set(x, y, r, g, b, a);
        }
    writePng(path, picture);
}

// Noise that tiles across the picture's edges: the textures repeat along the trunks.
float tiledNoise(float x, float y, float cells, std::uint32_t seed)
{
    const float fx = x * cells, fy = y * cells;
    const auto wrap = [cells](float v) { return std::fmod(v, cells); };
    const float a = valueNoise(wrap(fx), wrap(fy), seed), b = valueNoise(wrap(fx + cells / 2), wrap(fy), seed + 1);
    return 0.5f * (a + b);
}

void saveTextures(const std::string& folder)
{
    savePicture(folder + "TreeBark.png", 64, [](float x, float y, float& r, float& g, float& b, float&) {
        const float n = tiledNoise(x * 4.0f - std::floor(x * 4.0f), y, 8.0f, 301) * 0.5f + 0.5f * tiledNoise(x, y, 16, 302);
        r = 0.30f + 0.18f * n, g = 0.22f + 0.13f * n, b = 0.14f + 0.08f * n;
    });
    savePicture(folder + "PalmBark.png", 64, [](float x, float y, float& r, float& g, float& b, float&) {
        const float rings = 0.5f + 0.5f * std::sin(y * 2.0f * kPi * 8.0f);
        const float n = tiledNoise(x, y, 8.0f, 311);
        r = 0.45f + 0.15f * n - 0.12f * rings, g = 0.36f + 0.1f * n - 0.1f * rings, b = 0.24f + 0.06f * n - 0.06f * rings;
    });
    savePicture(folder + "TreeLeaves.png", 64, [](float x, float y, float& r, float& g, float& b, float&) {
        const float n = tiledNoise(x, y, 16.0f, 321);
        r = 0.16f + 0.14f * n, g = 0.36f + 0.22f * n, b = 0.10f + 0.06f * n;
    });
    savePicture(folder + "PineNeedles.png", 64, [](float x, float y, float& r, float& g, float& b, float&) {
        const float n = tiledNoise(x, y, 16.0f, 331);
        r = 0.08f + 0.08f * n, g = 0.24f + 0.16f * n, b = 0.12f + 0.06f * n;
    });
    savePicture(folder + "PalmLeaves.png", 64, [](float x, float y, float& r, float& g, float& b, float&) {
        // Leaflets across the frond: darker stripes from the middle rib outwards.
        const float stripes = 0.5f + 0.5f * std::sin((y * 24.0f + std::fabs(x - 0.5f) * 6.0f) * 2.0f * kPi);
        const float rib = std::fabs(x - 0.5f) < 0.04f ? 0.15f : 0.0f;
        r = 0.22f + 0.1f * stripes + rib, g = 0.42f + 0.14f * stripes + rib, b = 0.12f + rib * 0.5f;
    });
    // The shadow a tree casts on the lightmap, multiplied in: white all round, darkest in the middle.
    savePicture(folder + "treeshadow.png", 8, [](float x, float y, float& r, float& g, float& b, float&) {
        const float dx = x + 1.0f / 16 - 0.5f, dy = y + 1.0f / 16 - 0.5f;
        const float d = std::min(1.0f, std::sqrt(dx * dx + dy * dy) / 0.5f);
        r = g = b = 0.55f + 0.45f * d * d;
    });
    // Colour maps stretched over the whole terrain: slow variations of hue. The trees' one is
    // multiplied pixel by pixel with the terrain lightmap, and so is as large.
    savePicture(folder + "map1_TX_light_new3.png", kTerrainLightmapSize, [](float x, float y, float& r, float& g, float& b, float&) {
        const float n = valueNoise(x * 12.0f, y * 12.0f, 341);
        r = 0.75f + 0.25f * n, g = 0.85f + 0.15f * (1.0f - n), b = 0.8f;
    });
    savePicture(folder + "map1_TX_new3_grass.png", 256, [](float x, float y, float& r, float& g, float& b, float&) {
        const float n = valueNoise(x * 16.0f, y * 16.0f, 351);
        r = 0.45f + 0.25f * n, g = 0.65f + 0.2f * n, b = 0.3f + 0.1f * n;
    });
    // Grass blades: tufts of thin upright strokes over a transparent background.
    makeFolders(folder + "GRAS");
    const auto blades = [](std::uint32_t seed, float red, float green, float blue) {
        return [=](float x, float y, float& r, float& g, float& b, float& a) {
            const float column = x * 24.0f;
            const int blade = static_cast<int>(column);
            const float within = column - static_cast<float>(blade);
            const float tip = 0.15f + 0.6f * latticeNoise(blade, 0, seed);
            const float lean = (latticeNoise(blade, 1, seed) - 0.5f) * 0.6f * (1.0f - y);
            const float centre = 0.5f + lean;
            const float half = 0.35f * (y - tip) / (1.0f - tip);
            a = y > tip && std::fabs(within - centre) < half ? 1.0f : 0.0f;
            const float shade = 0.6f + 0.4f * (1.0f - y);
            r = red * shade, g = green * shade, b = blue * shade;
        };
    };
    savePicture(folder + "GRAS/gras4.png", 64, blades(361, 0.35f, 0.6f, 0.2f));
    savePicture(folder + "GRAS/gras5.png", 64, blades(371, 0.65f, 0.6f, 0.35f));
}

const RegisterMedia registerTreeMedia{"trees and grass", [](const std::string& mediaDir) {
                                          const std::string folder = mediaDir + "trees/";
                                          makeFolders(folder);
                                          saveMeshes(folder);
                                          saveTextures(folder);
                                      }};
}  // namespace
