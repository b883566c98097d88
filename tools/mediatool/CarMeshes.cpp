// Writes the Roadster's meshes into "cars/": the body with its glass, trim, lights and a
// separate brake-light sub-mesh, its convex collision hull, and a wheel; plus the body's
// paint texture. Built in memory on a headless engine and saved with the mesh serializer.
#include "MediaGenerator.h"
#include "PngWriter.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace
{
using Ogre::Vector3;

constexpr float kPi = 3.14159265f;
constexpr std::uint32_t kPaintSeed = 1907;

// Body layout in the chassis frame: x forward, y up, z right; the ground is at y -0.674
// when the car stands on its springs (see media/cars/Roadster.xml).
constexpr float kRearX = -2.0f, kFrontX = 2.05f;
constexpr float kWheelRadius = 0.33f, kTyreHalfWidth = 0.11f;

// One station of the body's loft: bottom, shoulder height, shoulder and lower half widths.
struct Station
{
    float x, bottom, shoulder, width, lowerWidth;
};
const std::vector<Station> kBody = {
    {-2.00f, -0.36f, 0.10f, 0.76f, 0.66f}, {-1.92f, -0.44f, 0.16f, 0.86f, 0.70f}, {-1.65f, -0.45f, 0.19f, 0.90f, 0.68f},
    {-1.35f, -0.45f, 0.20f, 0.91f, 0.66f}, {-1.00f, -0.45f, 0.18f, 0.87f, 0.74f}, {-0.40f, -0.45f, 0.15f, 0.84f, 0.80f},
    {0.30f, -0.45f, 0.12f, 0.84f, 0.80f},  {0.95f, -0.45f, 0.10f, 0.87f, 0.74f},  {1.35f, -0.45f, 0.09f, 0.90f, 0.66f},
    {1.70f, -0.44f, 0.05f, 0.87f, 0.68f},  {1.95f, -0.40f, -0.02f, 0.80f, 0.66f}, {2.05f, -0.30f, -0.08f, 0.68f, 0.60f},
};

struct Vertex
{
    Vector3 position, normal;
    float u, v;
};

// One sub-mesh in the making.
struct Part
{
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;

    // A flat or smooth quad a-b-c-d; the winding is chosen so that its face looks along outward.
    void quad(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& d, const Vector3& outward)
    {
        const Vector3 face = (b.position - a.position).crossProduct(c.position - a.position);
        const std::uint32_t base = static_cast<std::uint32_t>(vertices.size());
        vertices.insert(vertices.end(), {a, b, c, d});
        if (face.dotProduct(outward) >= 0.0f)
            indices.insert(indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
        else
            indices.insert(indices.end(), {base, base + 2, base + 1, base, base + 3, base + 2});
    }
};

using Parts = std::map<std::string, Part>;

Vertex vertex(const Vector3& p, const Vector3& n, float u, float v)
{
    return Vertex{p, n.normalisedCopy(), u, v};
}

Vector3 faceNormal(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& outward)
{
    Vector3 n = (b - a).crossProduct(c - a);
    if (n.dotProduct(outward) < 0.0f)
        n = -n;
    return n.normalisedCopy();
}

// A loft through rings of equal size; each ring segment runs along the stations as one
// strip of its material, smooth along the length and creased at the ring's corners.
void loft(Parts& parts, const std::vector<std::vector<Vector3>>& rings, const Vector3& axisPoint,
          const std::function<std::string(std::size_t segment, std::size_t interval)>& materialOf)
{
    const std::size_t points = rings.front().size();
    // Arc length around the first full ring, for u.
    std::vector<float> arc(points, 0.0f);
    for (std::size_t j = 1; j < points; ++j)
        arc[j] = arc[j - 1] + rings[rings.size() / 2][j].distance(rings[rings.size() / 2][j - 1]);
    const float lengthX = rings.back()[0].x - rings.front()[0].x;
    for (std::size_t j = 0; j + 1 < points; ++j)
    {
        std::vector<Vector3> normals;
        for (std::size_t i = 0; i + 1 < rings.size(); ++i)
        {
            const Vector3 centre = (rings[i][j] + rings[i + 1][j + 1]) * 0.5f;
            const Vector3 outward(0, centre.y - axisPoint.y, centre.z - axisPoint.z);
            normals.push_back(faceNormal(rings[i][j], rings[i + 1][j], rings[i][j + 1], outward));
        }
        for (std::size_t i = 0; i + 1 < rings.size(); ++i)
        {
            auto smooth = [&](std::size_t station) {
                Vector3 n = Vector3::ZERO;
                if (station > 0)
                    n += normals[station - 1];
                if (station < normals.size())
                    n += normals[station];
                return n;
            };
            const float u0 = arc[j] / arc.back(), u1 = arc[j + 1] / arc.back();
            auto v = [&](std::size_t station) { return (rings[station][0].x - rings.front()[0].x) / lengthX; };
            const Vector3 n0 = smooth(i), n1 = smooth(i + 1);
            const Vector3 centre = (rings[i][j] + rings[i + 1][j + 1]) * 0.5f;
            parts[materialOf(j, i)].quad(vertex(rings[i][j], n0, u0, v(i)), vertex(rings[i + 1][j], n1, u0, v(i + 1)),
                                         vertex(rings[i + 1][j + 1], n1, u1, v(i + 1)),
                                         vertex(rings[i][j + 1], n0, u1, v(i)),
                                         Vector3(0, centre.y - axisPoint.y, centre.z - axisPoint.z));
        }
    }
}

// A flat panel on a plane of constant x: a rectangle in z and y, facing along facing.
void panel(Part& part, float x, float z0, float z1, float y0, float y1, float facing)
{
    const Vector3 n(facing, 0, 0);
    part.quad(vertex({x, y0, z0}, n, 0, 0), vertex({x, y0, z1}, n, 1, 0), vertex({x, y1, z1}, n, 1, 1),
              vertex({x, y1, z0}, n, 0, 1), n);
}

// A closing cap of a ring at one end, fanned from its centre.
void cap(Part& part, const std::vector<Vector3>& ring, float facing)
{
    Vector3 centre = Vector3::ZERO;
    for (const Vector3& p : ring)
        centre += p;
    centre /= static_cast<float>(ring.size());
    const Vector3 n(facing, 0, 0);
    for (std::size_t j = 0; j + 1 < ring.size(); ++j)
        part.quad(vertex(centre, n, 0.5f, 0.5f), vertex(centre, n, 0.5f, 0.5f), vertex(ring[j], n, 0, 0),
                  vertex(ring[j + 1], n, 1, 0), n);
}

std::vector<Vector3> bodyRing(const Station& s)
{
    const float deck = s.shoulder + 0.07f, edge = s.shoulder + 0.05f;
    return {{s.x, s.bottom, 0.0f},
            {s.x, s.bottom, s.lowerWidth},
            {s.x, s.shoulder - 0.14f, s.width},
            {s.x, s.shoulder, s.width * 0.96f},
            {s.x, edge, s.width * 0.80f},
            {s.x, deck, 0.0f},
            {s.x, edge, -s.width * 0.80f},
            {s.x, s.shoulder, -s.width * 0.96f},
            {s.x, s.shoulder - 0.14f, -s.width},
            {s.x, s.bottom, -s.lowerWidth},
            {s.x, s.bottom, 0.0f}};
}

float shoulderAt(float x)
{
    for (std::size_t i = 0; i + 1 < kBody.size(); ++i)
        if (x <= kBody[i + 1].x)
        {
            const float t = (x - kBody[i].x) / (kBody[i + 1].x - kBody[i].x);
            return kBody[i].shoulder + t * (kBody[i + 1].shoulder - kBody[i].shoulder);
        }
    return kBody.back().shoulder;
}

// The cabin: windscreen, roof and rear window over the rear half of the deck.
std::vector<std::vector<Vector3>> cabinRings()
{
    struct CabinStation
    {
        float x, top, baseWidth, roofWidth;
    };
    const CabinStation stations[] = {
        {0.80f, 0.0f, 0.74f, 0.74f}, {0.15f, 0.58f, 0.76f, 0.60f}, {-0.55f, 0.58f, 0.76f, 0.60f}, {-1.25f, 0.0f, 0.72f, 0.72f}};
    std::vector<std::vector<Vector3>> rings;
    for (const CabinStation& s : stations)
    {
        const float base = shoulderAt(s.x) + 0.06f;
        const float top = std::max(base, s.top);
        rings.push_back({{s.x, base, s.baseWidth}, {s.x, top, s.roofWidth}, {s.x, top, -s.roofWidth},
                         {s.x, base, -s.baseWidth}});
    }
    return rings;
}

Parts bodyParts()
{
    Parts parts;
    std::vector<std::vector<Vector3>> rings;
    for (const Station& s : kBody)
        rings.push_back(bodyRing(s));
    // The two bottom segments are the dark underbody, the rest is paint.
    loft(parts, rings, Vector3(0, -0.1f, 0), [](std::size_t segment, std::size_t) {
        return segment == 0 || segment == 9 ? std::string("Roadster/Trim") : std::string("Roadster/Paint");
    });
    cap(parts["Roadster/Paint"], rings.front(), -1.0f);
    cap(parts["Roadster/Paint"], rings.back(), 1.0f);
    // Windscreen and rear window are glass, the roof strip between them paint, the sides glass.
    loft(parts, cabinRings(), Vector3(0, 0.1f, 0), [](std::size_t segment, std::size_t interval) {
        return segment == 1 && interval == 1 ? std::string("Roadster/Paint") : std::string("Roadster/Glass");
    });

    const Station& rear = kBody.front();
    const Station& front = kBody.back();
    for (float side : {-1.0f, 1.0f})
    {
        // Tail lights stand a hair proud of the rear panel so they never fight it for depth.
        const float z0 = side * 0.40f, z1 = side * 0.66f;
        panel(parts["Roadster/BrakeLight"], rear.x - 0.012f, std::min(z0, z1), std::max(z0, z1), rear.shoulder - 0.16f,
              rear.shoulder - 0.04f, -1.0f);
        const float h0 = side * 0.36f, h1 = side * 0.58f;
        panel(parts["Roadster/HeadLight"], front.x + 0.012f, std::min(h0, h1), std::max(h0, h1), front.shoulder - 0.14f,
              front.shoulder - 0.05f, 1.0f);
    }
    panel(parts["Roadster/Trim"], front.x + 0.01f, -0.30f, 0.30f, front.bottom + 0.04f, front.shoulder - 0.16f, 1.0f);
    panel(parts["Roadster/Trim"], rear.x - 0.01f, -0.52f, 0.52f, rear.bottom + 0.03f, rear.bottom + 0.14f, -1.0f);
    return parts;
}

// The wheel: axle along z, centred at the origin; tread and sidewalls of rubber, a rim
// with five spokes in two shades so that its turning shows.
Parts wheelParts()
{
    constexpr int kSegments = 30;
    constexpr float kRimRadius = 0.22f, kRimDepth = 0.085f;
    Parts parts;
    for (int i = 0; i < kSegments; ++i)
    {
        const float a0 = 2 * kPi * i / kSegments, a1 = 2 * kPi * (i + 1) / kSegments;
        const Vector3 d0(std::cos(a0), std::sin(a0), 0), d1(std::cos(a1), std::sin(a1), 0);
        const float u0 = float(i) / kSegments, u1 = float(i + 1) / kSegments;
        Part& tyre = parts["Roadster/Tyre"];
        tyre.quad(vertex(d0 * kWheelRadius + Vector3(0, 0, -kTyreHalfWidth), d0, u0, 0),
                  vertex(d1 * kWheelRadius + Vector3(0, 0, -kTyreHalfWidth), d1, u1, 0),
                  vertex(d1 * kWheelRadius + Vector3(0, 0, kTyreHalfWidth), d1, u1, 1),
                  vertex(d0 * kWheelRadius + Vector3(0, 0, kTyreHalfWidth), d0, u0, 1), (d0 + d1));
        const bool spoke = (i % 6) < 3;
        for (float side : {-1.0f, 1.0f})
        {
            const Vector3 n(0, 0, side);
            const Vector3 outer(0, 0, side * kTyreHalfWidth), inner(0, 0, side * kRimDepth);
            tyre.quad(vertex(d0 * kWheelRadius + outer, n, u0, 0), vertex(d1 * kWheelRadius + outer, n, u1, 0),
                      vertex(d1 * kRimRadius + outer, n, u1, 1), vertex(d0 * kRimRadius + outer, n, u0, 1), n);
            Part& lip = parts["Roadster/Rim"];
            lip.quad(vertex(d0 * kRimRadius + outer, -d0, u0, 0), vertex(d1 * kRimRadius + outer, -d1, u1, 0),
                     vertex(d1 * kRimRadius + inner, -d1, u1, 1), vertex(d0 * kRimRadius + inner, -d0, u0, 1), -(d0 + d1));
            Part& face = parts[spoke ? "Roadster/Rim" : "Roadster/RimDark"];
            face.quad(vertex(d0 * kRimRadius + inner, n, u0, 0), vertex(d1 * kRimRadius + inner, n, u1, 0),
                      vertex(inner, n, 0.5f, 0.5f), vertex(inner, n, 0.5f, 0.5f), n);
        }
    }
    return parts;
}

// The collision hull: the body's corners at five stations and the roof's four, 34 points.
std::vector<Vector3> hullPoints()
{
    std::vector<Vector3> points;
    for (std::size_t i : {std::size_t(0), std::size_t(2), std::size_t(5), std::size_t(8), kBody.size() - 1})
    {
        const std::vector<Vector3> ring = bodyRing(kBody[i]);
        for (std::size_t j : {1, 2, 4, 6, 8, 9})
            points.push_back(ring[j]);
    }
    const auto cabin = cabinRings();
    for (const auto& ring : {cabin[1], cabin[2]})
        points.insert(points.end(), {ring[1], ring[2]});
    return points;
}

void saveMesh(Ogre::SceneManager* manager, const Parts& parts, const std::string& meshName, const std::string& path)
{
    Ogre::ManualObject* object = manager->createManualObject();
    for (const auto& [material, part] : parts)
    {
        object->begin(material, Ogre::RenderOperation::OT_TRIANGLE_LIST);
        for (const Vertex& v : part.vertices)
        {
            object->position(v.position);
            object->normal(v.normal);
            object->textureCoord(v.u, v.v);
        }
        for (std::size_t i = 0; i + 2 < part.indices.size(); i += 3)
            object->triangle(part.indices[i], part.indices[i + 1], part.indices[i + 2]);
        object->end();
    }
    Ogre::MeshPtr mesh = object->convertToMesh(meshName);
    Ogre::MeshSerializer().exportMesh(mesh.get(), path);
    manager->destroyManualObject(object);
    Ogre::MeshManager::getSingleton().remove(mesh);
}

void saveHull(Ogre::SceneManager* manager, const std::string& path)
{
    Ogre::ManualObject* object = manager->createManualObject();
    object->begin("Roadster/Trim", Ogre::RenderOperation::OT_POINT_LIST);
    for (const Vector3& p : hullPoints())
        object->position(p);
    object->end();
    Ogre::MeshPtr mesh = object->convertToMesh("RoadsterHull.mesh");
    Ogre::MeshSerializer().exportMesh(mesh.get(), path);
    manager->destroyManualObject(object);
    Ogre::MeshManager::getSingleton().remove(mesh);
}

// Deep red paint with a fine flake, twin white stripes over the middle of the car and road
// grime towards the sills.
RgbaPicture paintPicture()
{
    constexpr int kWidth = 256, kHeight = 64;
    std::mt19937 noise(kPaintSeed);
    auto flake = [&noise] { return static_cast<float>(noise() >> 8) / float(1u << 24); };
    RgbaPicture picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            const float u = (x + 0.5f) / kWidth;  // around the body, 0.5 on top
            const float fromTop = std::fabs(u - 0.5f);
            const bool stripe = (fromTop > 0.012f && fromTop < 0.035f);
            const float grime = std::clamp((fromTop - 0.30f) * 5.0f, 0.0f, 0.45f);
            const float sparkle = 0.92f + 0.08f * flake();
            float r = 0.62f, g = 0.05f, b = 0.06f;
            if (stripe)
                r = g = b = 0.93f;
            const float keep = sparkle * (1.0f - grime);
            picture.set(x, y, r * keep + 0.08f * grime, g * keep + 0.07f * grime, b * keep + 0.05f * grime);
        }
    return picture;
}

// An engine without a window: enough to build meshes and serialise them.
struct MeshEngine
{
    std::unique_ptr<Ogre::LogManager> log = std::make_unique<Ogre::LogManager>();
    std::unique_ptr<Ogre::Root> root;
    std::unique_ptr<Ogre::DefaultHardwareBufferManager> buffers;
    Ogre::SceneManager* manager = nullptr;

    MeshEngine()
    {
        log->createLog("", true, false, true);
        root = std::make_unique<Ogre::Root>("", "", "");
        buffers = std::make_unique<Ogre::DefaultHardwareBufferManager>();
        Ogre::MaterialManager::getSingleton().initialise();
        // The manual object keeps only names of materials that exist.
        for (const char* name : {"Roadster/Paint", "Roadster/Glass", "Roadster/Trim", "Roadster/BrakeLight",
                                 "Roadster/HeadLight", "Roadster/Tyre", "Roadster/Rim", "Roadster/RimDark"})
            Ogre::MaterialManager::getSingleton().create(name, Ogre::RGN_DEFAULT);
        manager = root->createSceneManager();
    }
    ~MeshEngine()
    {
        root->destroySceneManager(manager);
        Ogre::MaterialManager::getSingleton().removeAll();
        root.reset();
        buffers.reset();
    }
};

const RegisterMedia registerCarMeshes{"roadster meshes", [](const std::string& mediaDir) {
                                          makeFolders(mediaDir + "cars");
                                          MeshEngine engine;
                                          saveMesh(engine.manager, bodyParts(), "Roadster.mesh", mediaDir + "cars/Roadster.mesh");
                                          saveMesh(engine.manager, wheelParts(), "RoadsterWheel.mesh",
                                                   mediaDir + "cars/RoadsterWheel.mesh");
                                          saveHull(engine.manager, mediaDir + "cars/RoadsterHull.mesh");
                                          writePng(mediaDir + "cars/RoadsterPaint.png", paintPicture());
                                      }};
}
