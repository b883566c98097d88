// The sky's pictures and the sun's disc: the gradient picture the sky colour model reads
// (columns from the sun at the zenith to the sun at the nadir, rows from the zenith down
// to the horizon, alpha thinning the dome at night so the stars show through), the star
// map, and the disc's sphere. Fixed seeds: the same bytes every build.
#include "MediaGenerator.h"
#include "PngWriter.h"

#include "sky/SphereMesh.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>
#include <OGRE/OgreMeshSerializer.h>

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace
{
struct Colour
{
    float r, g, b;
};

Colour mix(const Colour& a, const Colour& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// e: 0 sun at the zenith, 0.5 on the horizon, 1 at the nadir; v: 0 zenith, 1 horizon.
// The sun's light is read from the same picture at (e, e) and tripled: along that diagonal
// of the upper dome, which the chase camera never sees, the sky gives way to the sunlight's
// colour, or the whole race would be lit sky-blue.
RgbaPicture skyGradient()
{
    const Colour dayZenith{0.20f, 0.40f, 0.82f}, dayHorizon{0.72f, 0.82f, 0.94f};
    const Colour duskZenith{0.22f, 0.26f, 0.52f}, duskHorizon{0.98f, 0.56f, 0.28f};
    const Colour nightZenith{0.01f, 0.012f, 0.04f}, nightHorizon{0.05f, 0.06f, 0.12f};
    // A third of the light: warm white by day, orange low in the sky, faint blue at night.
    const Colour daySun{0.333f, 0.325f, 0.315f}, duskSun{0.45f, 0.28f, 0.14f}, nightSun{0.02f, 0.025f, 0.05f};
    RgbaPicture picture(128, 64);
    for (int x = 0; x < picture.width; ++x)
    {
        const float e = x / float(picture.width - 1);
        const float dusk = smoothstep(0.30f, 0.50f, e);
        const float night = smoothstep(0.50f, 0.62f, e);
        const Colour zenith = mix(mix(dayZenith, duskZenith, dusk), nightZenith, night);
        const Colour horizon = mix(mix(dayHorizon, duskHorizon, dusk), nightHorizon, night);
        const Colour sun = mix(mix(daySun, duskSun, smoothstep(0.25f, 0.48f, e)), nightSun, night);
        const float alpha = 1.0f - 0.75f * night;
        for (int y = 0; y < picture.height; ++y)
        {
            const float v = y / float(picture.height - 1);
            const float sunlight =
                (1.0f - smoothstep(0.03f, 0.09f, std::fabs(v - e))) * (1.0f - smoothstep(0.52f, 0.6f, v));
            const Colour c = mix(mix(zenith, horizon, std::pow(v, 1.6f)), sun, sunlight);
            picture.set(x, y, c.r, c.g, c.b, alpha);
        }
    }
    return picture;
}

// The star map, as the starfield's sphere reads it: columns run round the axis, rows evenly
// in the cosine of the angle from the north pole, so every texel covers the same patch of
// sky and stars scattered evenly over the map are scattered evenly over the sky. Wide
// enough that a texel is about a pixel and a half of the race's view, and tall enough that
// a row is at most about two pixels as far in as 14 degrees from the poles: stars stay points.
void writeStarfield(const std::string& path)
{
    const int width = 4096, height = 4096;
    const float pi = 3.14159265f;
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3, 0);
    unsigned seed = 20261210u;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / float(1 << 24);
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            // The band crosses the map on a slant; it is brightest at its middle.
            const float across = (y - height * 0.5f - 0.25f * (x - width * 0.5f)) / (height * 0.08f);
            const float latitude = std::fabs(y / float(height) - 0.5f) * 2.0f;  // 0 equator, 1 pole
            const float band = 10.0f * std::exp(-across * across) * (1.0f - smoothstep(0.6f, 0.8f, latitude));
            unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = static_cast<unsigned char>(band * 0.8f);
            p[1] = static_cast<unsigned char>(band * 0.85f);
            p[2] = static_cast<unsigned char>(band);
        }
    // Each star a small round spot on the sphere, its size in texels worked out from the
    // texel's size where it stands: rows are short circles near the poles, and there a row is
    // taller than a star, so the star gets one row and is dimmed, more than by the area it was
    // given extra: a streak pointing at the pole shows even when faint.
    for (int star = 0; star < 4000; ++star)
    {
        const float u = next();
        const float v = next();
        const float magnitude = next();
        const float warmth = next();
        const float radius = magnitude > 0.93f ? 0.002f : 0.0012f;  // radians
        const float polar = std::acos(1.0f - 2.0f * v);
        const float across = std::max(std::sin(polar), 0.001f);
        const float rowsHalf = radius * height * across * 0.5f;
        const float columnsHalf = std::min(radius * width / (2.0f * pi * across), width * 0.5f);
        // The sphere's first two rings of triangles, 11 degrees round each pole, stretch the
        // map's rows unevenly: a star there would be drawn as a streak, so it fades out.
        const float poleFade = smoothstep(0.08f, 0.2f, std::min(polar, pi - polar));
        const float brightness =
            (90.0f + 165.0f * magnitude * magnitude) * std::pow(std::min(1.0f, 2.0f * rowsHalf), 2.0f) * poleFade;
        const int cy = std::min(static_cast<int>(v * height), height - 1), cx = static_cast<int>(u * width);
        for (int dy = -static_cast<int>(rowsHalf) - 1; dy <= static_cast<int>(rowsHalf) + 1; ++dy)
            for (int dx = -static_cast<int>(columnsHalf) - 1; dx <= static_cast<int>(columnsHalf) + 1; ++dx)
            {
                const float ny = dy / std::max(rowsHalf, 0.5f), nx = dx / std::max(columnsHalf, 0.5f);
                const float fall = std::max(0.0f, 1.0f - (nx * nx + ny * ny) * 0.5f);
                if (fall <= 0.0f)
                    continue;
                const int px = ((cx + dx) % width + width) % width, py = std::clamp(cy + dy, 0, height - 1);
                unsigned char* p = &pixels[(static_cast<size_t>(py) * width + px) * 3];
                p[0] = std::max<unsigned char>(p[0], static_cast<unsigned char>(brightness * fall * (0.85f + 0.15f * warmth)));
                p[1] = std::max<unsigned char>(p[1], static_cast<unsigned char>(brightness * fall * 0.92f));
                p[2] = std::max<unsigned char>(p[2], static_cast<unsigned char>(brightness * fall * (1.0f - 0.15f * warmth)));
            }
    }

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    // Stored grey: a map this fine in colour would hold 64 MB of texture in every race, grey
    // 16, and the stars' tints are too faint to see.
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> grey(static_cast<size_t>(width));
    while (info.next_scanline < info.image_height)
    {
        const unsigned char* rgb = &pixels[static_cast<size_t>(info.next_scanline) * width * 3];
        for (int x = 0; x < width; ++x)
            grey[static_cast<size_t>(x)] = static_cast<unsigned char>(
                (299 * rgb[3 * x] + 587 * rgb[3 * x + 1] + 114 * rgb[3 * x + 2] + 500) / 1000);
        JSAMPROW row = grey.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (std::fclose(file) != 0)
        throw std::runtime_error("cannot write " + path);
}

// A sphere seen from outside, of the given radius and material.
void writeOutwardSphere(const std::string& path, const std::string& meshName, const std::string& materialName,
                        float radius)
{
    auto log = std::make_unique<Ogre::LogManager>();
    log->createLog("", true, false, true);
    auto root = std::make_unique<Ogre::Root>("", "", "");
    auto buffers = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    Ogre::MaterialManager::getSingleton().initialise();
    Ogre::MaterialManager::getSingleton().create(materialName, Ogre::RGN_DEFAULT);
    Ogre::SceneManager* manager = root->createSceneManager();
    {
        const sky::SphereGeometry sphere = sky::buildSphereGeometry(16, sky::SphereKind::UV);
        Ogre::ManualObject* object = manager->createManualObject();
        object->begin(materialName, Ogre::RenderOperation::OT_TRIANGLE_LIST);
        for (const sky::SphereVertex& v : sphere.vertices)
        {
            object->position(v.position[0] * radius, v.position[1] * radius, v.position[2] * radius);
            object->normal(-v.normal[0], -v.normal[1], -v.normal[2]);
            object->textureCoord(v.uv[0], v.uv[1]);
        }
        // The sky's spheres face inwards: turn each triangle round.
        for (std::size_t i = 0; i + 2 < sphere.indices.size(); i += 3)
            object->triangle(sphere.indices[i], sphere.indices[i + 2], sphere.indices[i + 1]);
        object->end();
        Ogre::MeshPtr mesh = object->convertToMesh(meshName);
        Ogre::MeshSerializer().exportMesh(mesh.get(), path);
        manager->destroyManualObject(object);
        Ogre::MeshManager::getSingleton().remove(mesh);
    }
    root->destroySceneManager(manager);
    Ogre::MaterialManager::getSingleton().removeAll();
    root.reset();
    buffers.reset();
}

const RegisterMedia registerSky{"sky", [](const std::string& mediaDir) {
                                    makeFolders(mediaDir + "sky");
                                    makeFolders(mediaDir + "skybox");
                                    writePng(mediaDir + "sky/SkyGradient.png", skyGradient());
                                    writeStarfield(mediaDir + "sky/Starfield.jpg");
                                    // The sun's disc: its radius in mesh units sets how big the sun looks (the
                                    // sky scales it by tan 0.01 degrees of its distance: 40 is about 0.4 degrees).
                                    writeOutwardSphere(mediaDir + "sky/sphere.mesh", "sphere.mesh", "SkySunMaterial",
                                                       40.0f);
                                    // The computer driver's target marker, a metre across.
                                    writeOutwardSphere(mediaDir + "skybox/sphere.1m.mesh", "sphere.1m.mesh",
                                                       "AIDebug/Marker", 0.5f);
                                }};
}
