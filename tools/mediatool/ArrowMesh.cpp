// Writes "overlays/Arrow.mesh": the race display's arrow to the next checkpoint, a flat
// bevelled arrow lying in the x/z plane below its origin, its tip along -z, lit from above.
#include "MediaGenerator.h"
#include "PngWriter.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>

#include <memory>
#include <vector>

namespace
{
using Ogre::Vector3;

constexpr float kThickness = 0.6f;  // world units, top to bottom
// The race hangs the arrow's node 15 units above the view's centre at 30 units ahead, which
// is the top edge of the narrowest view (40 degrees high, a square window, standing still):
// drawn about its node the arrow was half cut off, pointing ahead most. Drawn this far
// below it, it stays inside every view while it turns about its own middle.
constexpr float kBelowNode = 7.0f;  // world units

// The outline seen from above, counter-clockwise from the tip; world units.
const std::vector<Ogre::Vector2> kOutline = {
    {0.0f, -4.0f}, {-2.6f, -0.6f}, {-1.0f, -0.6f}, {-1.0f, 3.0f}, {1.0f, 3.0f}, {1.0f, -0.6f}, {2.6f, -0.6f},
};

void buildArrow(Ogre::ManualObject* object)
{
    object->begin("Arrow_material", Ogre::RenderOperation::OT_TRIANGLE_LIST);
    std::vector<Vector3> positions;
    auto vertex = [&](const Vector3& p, const Vector3& n) {
        object->position(p);
        object->normal(n);
        positions.push_back(p);
        return static_cast<std::uint32_t>(positions.size() - 1);
    };
    // Wound so that the triangle faces along the normal.
    auto triangle = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c, const Vector3& normal) {
        const Vector3 face = (positions[b] - positions[a]).crossProduct(positions[c] - positions[a]);
        if (face.dotProduct(normal) >= 0.0f)
            object->triangle(a, b, c);
        else
            object->triangle(a, c, b);
    };
    const float top = kThickness / 2 - kBelowNode, bottom = -kThickness / 2 - kBelowNode;
    // The outline is not convex at the barbs: the head and the shaft are filled apart.
    const std::vector<std::vector<int>> pieces = {{0, 1, 2, 5, 6}, {2, 3, 4, 5}};
    for (float y : {top, bottom}) {
        const Vector3 normal(0, y == top ? 1.0f : -1.0f, 0);
        for (const auto& piece : pieces) {
            std::vector<std::uint32_t> ids;
            for (int i : piece)
                ids.push_back(vertex({kOutline[i].x, y, kOutline[i].y}, normal));
            for (std::size_t i = 1; i + 1 < ids.size(); ++i)
                triangle(ids[0], ids[i], ids[i + 1], normal);
        }
    }
    // The rim, facing out: which side is out follows from the outline's winding.
    float twiceArea = 0.0f;
    for (std::size_t i = 0; i < kOutline.size(); ++i) {
        const Ogre::Vector2 a = kOutline[i], b = kOutline[(i + 1) % kOutline.size()];
        twiceArea += a.x * b.y - b.x * a.y;
    }
    const float outward = twiceArea > 0.0f ? 1.0f : -1.0f;
    for (std::size_t i = 0; i < kOutline.size(); ++i) {
        const Ogre::Vector2 a = kOutline[i], b = kOutline[(i + 1) % kOutline.size()];
        const Ogre::Vector2 edge = b - a;
        const Vector3 normal = Vector3(edge.y, 0, -edge.x).normalisedCopy() * outward;
        const std::uint32_t a0 = vertex({a.x, bottom, a.y}, normal), a1 = vertex({a.x, top, a.y}, normal);
        const std::uint32_t b0 = vertex({b.x, bottom, b.y}, normal), b1 = vertex({b.x, top, b.y}, normal);
        triangle(a0, b1, a1, normal);
        triangle(a0, b0, b1, normal);
    }
    object->end();
}

void saveArrow(const std::string& path)
{
    auto log = std::make_unique<Ogre::LogManager>();
    log->createLog("", true, false, true);
    auto root = std::make_unique<Ogre::Root>("", "", "");
    auto buffers = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    Ogre::MaterialManager::getSingleton().initialise();
    // The manual object keeps only names of materials that exist.
    Ogre::MaterialManager::getSingleton().create("Arrow_material", Ogre::RGN_DEFAULT);
    Ogre::SceneManager* manager = root->createSceneManager();
    Ogre::ManualObject* object = manager->createManualObject();
    buildArrow(object);
    Ogre::MeshPtr mesh = object->convertToMesh("Arrow.mesh");
    Ogre::MeshSerializer().exportMesh(mesh.get(), path);
    manager->destroyManualObject(object);
    Ogre::MeshManager::getSingleton().remove(mesh);
    mesh.reset();  // before the buffer manager it was made with
    root->destroySceneManager(manager);
    Ogre::MaterialManager::getSingleton().removeAll();
    root.reset();
    buffers.reset();
}

const RegisterMedia registerArrowMesh{"checkpoint arrow", [](const std::string& mediaDir) {
                                          makeFolders(mediaDir + "overlays");
                                          saveArrow(mediaDir + "overlays/Arrow.mesh");
                                      }};
}  // namespace
