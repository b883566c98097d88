// Grass pages: the blade populations, the three blade meshes and the wind.
#include "paging/GrassLoader.h"

#include "paging/ColorMap.h"
#include "paging/DensityMap.h"
#include "paging/GeometryPager.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMath.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSubMesh.h>
#include <OGRE/OgreTechnique.h>

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace
{
constexpr uint32_t kWhite = 0xFFFFFFFFu;   // the same in either vertex colour layout
constexpr size_t kIndexLimit = 65536;       // vertices a 16-bit index reaches
unsigned meshesMade = 0;                    // names meshes and entities "GrassLDR" + n

std::string nextName() { return "GrassLDR" + std::to_string(++meshesMade); }

// The vertices of one mesh as bytes, in declaration order, copied to the buffer at once.
// The storage is the loader's, kept between pages: a page's vertices run to a megabyte.
class VertexWriter
{
public:
    VertexWriter(std::vector<uint8_t>& storage, size_t bytes) : data(storage)
    {
        data.clear();
        data.reserve(bytes);
    }
    void floats(std::initializer_list<float> values)
    {
        for (float value : values)
            append(&value, sizeof value);
    }
    void colour(uint32_t packed) { append(&packed, sizeof packed); }
    const std::vector<uint8_t>& bytes() const { return data; }

private:
    void append(const void* source, size_t size)
    {
        const auto* first = static_cast<const uint8_t*>(source);
        data.insert(data.end(), first, first + size);
    }
    std::vector<uint8_t>& data;
};

struct BladeSize
{
    float halfWidth;
    float height;
};

// Quiet while a manual mesh loads: without a loader the engine warns about every one.
class QuietLog
{
public:
    QuietLog()
    {
        if (Ogre::LogManager* logs = Ogre::LogManager::getSingletonPtr())
            log = logs->getDefaultLog();
        if (!log)
            return;
        previous = log->getLogDetail();
        log->setLogDetail(static_cast<Ogre::LoggingLevel>(0));
    }
    ~QuietLog()
    {
        if (log)
            log->setLogDetail(previous);
    }
    QuietLog(const QuietLog&) = delete;
    QuietLog& operator=(const QuietLog&) = delete;

private:
    Ogre::Log* log = nullptr;
    Ogre::LoggingLevel previous = Ogre::LL_NORMAL;
};
}

GrassLoader::GrassLoader(GeometryPager* geometry) : geom(geometry) { timer.reset(); }

GrassLoader::~GrassLoader()
{
    for (PageMeshes& page : loadedPages)
        freeMeshes(page);
    loadedPages.clear();
    layerList.clear();
}

GrassLayer* GrassLoader::addLayer(const std::string& material)
{
    std::unique_ptr<GrassLayer> layer(new GrassLayer(this));
    layer->setMaterialName(material);
    layerList.push_back(std::move(layer));
    return layerList.back().get();
}

size_t GrassLoader::getLiveMeshCount() const
{
    size_t count = 0;
    for (const PageMeshes& page : loadedPages)
        count += page.meshes.size();
    return count;
}

float GrassLoader::getHeightAt(float x, float z)
{
    return heightFunction ? heightFunction(x, z) : 0.0f;
}

void GrassLoader::adjustGrassSize(float, float, float&, float&) {}

size_t GrassLoader::maxBladesPerPage(GrassTechnique technique)
{
    return kIndexLimit / (technique == GRASSTECH_CROSSQUADS ? 8 : 4);
}

unsigned GrassLoader::pageSeed(int xIndex, int zIndex)
{
    const unsigned xm = static_cast<unsigned>(xIndex % 65535) & 0xFFFFu;
    const unsigned zm = static_cast<unsigned>(zIndex % 65535) & 0xFFFFu;
    return (xm << 16) | zm;
}

void GrassLoader::loadPage(PageInfo& page)
{
    std::srand(pageSeed(page.xIndex, page.zIndex));
    PageMeshes made;
    try
    {
        for (const std::unique_ptr<GrassLayer>& layerOwner : layerList)
        {
            GrassLayer& layer = *layerOwner;
            const float tries = layer.density * densityFactor * page.bounds.width() * page.bounds.height();
            const size_t count = tries > 0.0f ? static_cast<size_t>(tries) : 0;

            std::vector<Position> blades;
            if (!layer.densityMap)
                blades = _populateGrassList_Uniform(layer, page.bounds, count);
            else if (layer.densityMapFilter == MAPFILTER_NONE)
                blades = _populateGrassList_UnfilteredDM(layer, page.bounds, count);
            else
                blades = _populateGrassList_BilinearDM(layer, page.bounds, count);

            const size_t cap = maxBladesPerPage(layer.renderTechnique);
            if (blades.size() == cap && count > cap && !layer.bladeCapLogged)
            {
                layer.bladeCapLogged = true;
                Ogre::LogManager::getSingleton().logWarning(
                    "Grass layer \"" + layer.baseMaterial->getName() + "\": a page asks for up to " +
                    std::to_string(count) + " blades, but one page's mesh holds " +
                    std::to_string(cap) + "; the rest are left out");
            }
            if (blades.empty())
                continue;

            Ogre::MeshPtr mesh = generateMesh(page, layer, blades);
            made.meshes.push_back(mesh);
            Ogre::SceneManager* scene = geom->getCamera()->getSceneManager();
            Ogre::Entity* entity = scene->createEntity(nextName(), mesh);
            entity->setRenderQueueGroup(renderQueue);
            entity->setCastShadows(false);
            addEntity(entity, page.centerPoint, Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE,
                      Ogre::ColourValue::White);
            scene->destroyEntity(entity);  // the page keeps its clone
        }
    }
    catch (...)
    {
        freeMeshes(made);
        throw;
    }

    if (made.meshes.empty())
    {
        page.userData = nullptr;
        return;
    }
    loadedPages.push_back(std::move(made));
    page.userData = &loadedPages.back();
}

void GrassLoader::unloadPage(const PageInfo& page)
{
    if (!page.userData)
        return;
    for (auto it = loadedPages.begin(); it != loadedPages.end(); ++it)
        if (&*it == page.userData)
        {
            freeMeshes(*it);
            loadedPages.erase(it);
            return;
        }
}

void GrassLoader::freeMeshes(PageMeshes& page)
{
    for (const Ogre::MeshPtr& mesh : page.meshes)
        Ogre::MeshManager::getSingleton().remove(mesh);
    page.meshes.clear();
}

bool GrassLoader::vertexProgramsSupported()
{
    Ogre::Root* root = Ogre::Root::getSingletonPtr();
    Ogre::RenderSystem* renderSystem = root ? root->getRenderSystem() : nullptr;
    const Ogre::RenderSystemCapabilities* caps =
        renderSystem ? renderSystem->getCapabilities() : nullptr;
    return caps && caps->hasCapability(Ogre::RSC_VERTEX_PROGRAM);
}

void GrassLoader::frameUpdate()
{
    const auto now = static_cast<uint32_t>(timer.getMilliseconds());
    const uint32_t elapsed = now - lastTime;
    lastTime = now;
    const float seconds = static_cast<float>(elapsed) / 1000.0f;

    const bool programs = vertexProgramsSupported();
    for (const std::unique_ptr<GrassLayer>& layerOwner : layerList)
    {
        GrassLayer& layer = *layerOwner;
        layer._updateShaders(programs);
        const Ogre::MaterialPtr& material = layer.material;
        if (material->getNumTechniques() == 0 || material->getTechnique(0)->getNumPasses() == 0)
            continue;
        Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
        if (!pass->hasVertexProgram())
            continue;
        if (!layer.animate)
            continue;
        Ogre::GpuProgramParametersSharedPtr params = pass->getVertexProgramParameters();
        layer.waveCount = GrassLayer::advanceWavePhase(layer.waveCount, layer.animSpeed, seconds);
        params->setNamedConstant("time", layer.waveCount);
        params->setNamedConstant("frequency", layer.animFreq);
        const Ogre::Vector3 sway = windDir * layer.animMag;
        params->setNamedConstant("direction", Ogre::Vector4(sway.x, sway.y, sway.z, 0.0f));
    }
}

bool GrassLoader::inHeightRange(const GrassLayer& layer, float x, float z)
{
    if (layer.minY == 0.0f && layer.maxY == 0.0f)
        return true;  // no range: the ground is not asked
    const float y = getHeightAt(x, z);
    return (layer.minY == 0.0f || y >= layer.minY) && (layer.maxY == 0.0f || y <= layer.maxY);
}

std::vector<GrassLoader::Position> GrassLoader::_populateGrassList_Uniform(const GrassLayer& layer,
                                                                          const TBounds& bounds,
                                                                          size_t count)
{
    const size_t cap = maxBladesPerPage(layer.renderTechnique);
    std::vector<Position> kept;
    kept.reserve(std::min(count, cap));
    for (size_t i = 0; i < count && kept.size() < cap; ++i)
    {
        const float x = Ogre::Math::RangeRandom(bounds.left, bounds.right);
        const float z = Ogre::Math::RangeRandom(bounds.top, bounds.bottom);
        if (!inHeightRange(layer, x, z))
            continue;
        if (layer.colorMap)
        {
            const TBounds& map = layer.mapBounds;
            if (x < map.left || x > map.right || z < map.top || z > map.bottom)
                continue;
        }
        kept.push_back({x, z});
    }
    return kept;
}

template <typename DensityAt>
std::vector<GrassLoader::Position> GrassLoader::populateByDensity(const GrassLayer& layer,
                                                                  const TBounds& bounds,
                                                                  size_t count, DensityAt densityAt)
{
    const size_t cap = maxBladesPerPage(layer.renderTechnique);
    std::vector<Position> kept;
    kept.reserve(std::min(count, cap));
    for (size_t i = 0; i < count && kept.size() < cap; ++i)
    {
        const float x = Ogre::Math::RangeRandom(bounds.left, bounds.right);
        const float z = Ogre::Math::RangeRandom(bounds.top, bounds.bottom);
        const float r = Ogre::Math::UnitRandom();
        if (densityAt(x, z) < r)
            continue;
        if (!inHeightRange(layer, x, z))
            continue;
        kept.push_back({x, z});
    }
    return kept;
}

std::vector<GrassLoader::Position> GrassLoader::_populateGrassList_UnfilteredDM(
    const GrassLayer& layer, const TBounds& bounds, size_t count)
{
    const DensityMap& map = *layer.densityMap;
    return populateByDensity(layer, bounds, count,
                             [&map](float x, float z) { return map._getDensityAt_Unfiltered(x, z); });
}

std::vector<GrassLoader::Position> GrassLoader::_populateGrassList_BilinearDM(
    const GrassLayer& layer, const TBounds& bounds, size_t count)
{
    const DensityMap& map = *layer.densityMap;
    return populateByDensity(layer, bounds, count,
                             [&map](float x, float z) { return map._getDensityAt_Bilinear(x, z); });
}

Ogre::MeshPtr GrassLoader::generateMesh(const PageInfo& page, const GrassLayer& layer,
                                        const std::vector<Position>& blades)
{
    switch (layer.renderTechnique)
    {
    case GRASSTECH_CROSSQUADS:
        return generateGrass_CROSSQUADS(page, layer, blades);
    case GRASSTECH_SPRITE:
        return generateGrass_SPRITE(page, layer, blades);
    case GRASSTECH_QUAD:
    default:
        return generateGrass_QUAD(page, layer, blades);
    }
}

namespace
{
uint32_t bladeColour(const GrassLayer& layer, float x, float z)
{
    return layer.getColorMap() ? layer.getColorMap()->getColorAt(x, z) : kWhite;
}

// One random number sizes the blade, so wide blades are also tall ones.
BladeSize randomSize(const GrassLayer& layer)
{
    const float r = Ogre::Math::UnitRandom();
    return {(layer.getMinWidth() + (layer.getMaxWidth() - layer.getMinWidth()) * r) * 0.5f,
            layer.getMinHeight() + (layer.getMaxHeight() - layer.getMinHeight()) * r};
}

// The ground heights the blades stand on, lowest foot to highest top.
struct HeightSpan
{
    float low = std::numeric_limits<float>::max();
    float high = std::numeric_limits<float>::lowest();
    void add(float foot, float top)
    {
        low = std::min(low, foot);
        high = std::max(high, top);
    }
};

// Makes the manual mesh of one page: the vertex buffer from the writer, quads of indices
// b, b+2, b+1, b+1, b+2, b+3 over every four vertices, and bounds over the whole page.
Ogre::MeshPtr buildMesh(const PageInfo& page, const GrassLayer& layer,
                        void (*declare)(Ogre::VertexDeclaration&), const VertexWriter& vertices,
                        size_t vertexCount, const HeightSpan& span, std::vector<uint16_t>& indices)
{
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(nextName(), Ogre::RGN_DEFAULT);
    Ogre::SubMesh* subMesh = mesh->createSubMesh();
    subMesh->useSharedVertices = false;
    subMesh->vertexData = new Ogre::VertexData();
    subMesh->vertexData->vertexStart = 0;
    subMesh->vertexData->vertexCount = vertexCount;
    Ogre::VertexDeclaration* target = subMesh->vertexData->vertexDeclaration;
    declare(*target);
    assert(vertices.bytes().size() == target->getVertexSize(0) * vertexCount);

    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::HardwareVertexBufferSharedPtr vertexBuffer = buffers.createVertexBuffer(
        target->getVertexSize(0), vertexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    vertexBuffer->writeData(0, vertices.bytes().size(), vertices.bytes().data(), true);
    subMesh->vertexData->vertexBufferBinding->setBinding(0, vertexBuffer);

    const size_t quads = vertexCount / 4;
    indices.clear();
    indices.reserve(quads * 6);
    for (size_t quad = 0; quad < quads; ++quad)
    {
        const auto b = static_cast<uint16_t>(quad * 4);
        for (uint16_t offset : {0, 2, 1, 1, 2, 3})
            indices.push_back(static_cast<uint16_t>(b + offset));
    }
    subMesh->indexData->indexStart = 0;
    subMesh->indexData->indexCount = indices.size();
    subMesh->indexData->indexBuffer = buffers.createIndexBuffer(
        Ogre::HardwareIndexBuffer::IT_16BIT, indices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    subMesh->indexData->indexBuffer->writeData(0, indices.size() * sizeof(uint16_t), indices.data(), true);

    const Ogre::Vector3& centre = page.centerPoint;
    const Ogre::AxisAlignedBox bounds(page.bounds.left - centre.x, span.low, page.bounds.top - centre.z,
                                      page.bounds.right - centre.x, span.high,
                                      page.bounds.bottom - centre.z);
    mesh->_setBounds(bounds, false);
    mesh->_setBoundingSphereRadius((bounds.getMaximum() - bounds.getMinimum()).length() * 0.5f);
    {
        QuietLog quiet;
        mesh->load();
    }
    subMesh->setMaterialName(layer.getMaterial()->getName(), layer.getMaterial()->getGroup());
    return mesh;
}

constexpr size_t kQuadVertexBytes = 24;    // position, colour, texture coordinate
constexpr size_t kSpriteVertexBytes = 40;  // position, corner offset, colour, texture coordinate

void declareQuadVertex(Ogre::VertexDeclaration& declaration)
{
    size_t offset = 0;
    offset += declaration.addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += declaration
                  .addElement(0, offset, Ogre::VertexElement::getBestColourVertexElementType(),
                              Ogre::VES_DIFFUSE)
                  .getSize();
    declaration.addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);
}

void declareSpriteVertex(Ogre::VertexDeclaration& declaration)
{
    size_t offset = 0;
    offset += declaration.addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += declaration.addElement(0, offset, Ogre::VET_FLOAT4, Ogre::VES_NORMAL).getSize();
    offset += declaration
                  .addElement(0, offset, Ogre::VertexElement::getBestColourVertexElementType(),
                              Ogre::VES_DIFFUSE)
                  .getSize();
    declaration.addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);
}
}

namespace
{
// An upright quad across the blade's middle, from middle - half to middle + half: its feet
// on the ground there (asked in that order), its top edge height above them.
template <typename GroundAt>
void writeQuad(VertexWriter& out, HeightSpan& span, const Ogre::Vector3& centre, const GrassLoader::Position& middle,
               float halfX, float halfZ, float height, uint32_t colour, GroundAt groundAt)
{
    const float x1 = middle.x - halfX, z1 = middle.z - halfZ;
    const float x2 = middle.x + halfX, z2 = middle.z + halfZ;
    const float y1 = groundAt(x1, z1);
    const float y2 = groundAt(x2, z2);
    out.floats({x1 - centre.x, y1 + height, z1 - centre.z});
    out.colour(colour);
    out.floats({0.0f, 0.0f});
    out.floats({x2 - centre.x, y2 + height, z2 - centre.z});
    out.colour(colour);
    out.floats({1.0f, 0.0f});
    out.floats({x1 - centre.x, y1, z1 - centre.z});
    out.colour(colour);
    out.floats({0.0f, 1.0f});
    out.floats({x2 - centre.x, y2, z2 - centre.z});
    out.colour(colour);
    out.floats({1.0f, 1.0f});
    span.add(std::min(y1, y2), std::max(y1, y2) + height);
}
}

Ogre::MeshPtr GrassLoader::generateGrass_QUAD(const PageInfo& page, const GrassLayer& layer,
                                              const std::vector<Position>& blades)
{
    return generateQuads(page, layer, blades, false);
}

Ogre::MeshPtr GrassLoader::generateGrass_CROSSQUADS(const PageInfo& page, const GrassLayer& layer,
                                                    const std::vector<Position>& blades)
{
    return generateQuads(page, layer, blades, true);
}

Ogre::MeshPtr GrassLoader::generateQuads(const PageInfo& page, const GrassLayer& layer,
                                         const std::vector<Position>& blades, bool crossed)
{
    const size_t vertexCount = blades.size() * (crossed ? 8 : 4);
    VertexWriter out(vertexScratch, vertexCount * kQuadVertexBytes);
    HeightSpan span;
    const auto groundAt = [this](float x, float z) { return getHeightAt(x, z); };
    for (const Position& blade : blades)
    {
        const uint32_t colour = bladeColour(layer, blade.x, blade.z);
        BladeSize size = randomSize(layer);
        adjustGrassSize(blade.x, blade.z, size.height, size.halfWidth);
        const float angle = Ogre::Math::RangeRandom(0.0f, Ogre::Math::TWO_PI);
        const float dx = std::cos(angle) * size.halfWidth;
        const float dz = std::sin(angle) * size.halfWidth;
        writeQuad(out, span, page.centerPoint, blade, dx, dz, size.height, colour, groundAt);
        if (crossed)  // the same quad turned a right angle about the blade's middle
            writeQuad(out, span, page.centerPoint, blade, -dz, dx, size.height, colour, groundAt);
    }
    return buildMesh(page, layer, declareQuadVertex, out, vertexCount, span, indexScratch);
}

Ogre::MeshPtr GrassLoader::generateGrass_SPRITE(const PageInfo& page, const GrassLayer& layer,
                                                const std::vector<Position>& blades)
{
    VertexWriter out(vertexScratch, blades.size() * 4 * kSpriteVertexBytes);
    HeightSpan span;
    const Ogre::Vector3& centre = page.centerPoint;
    for (const Position& blade : blades)
    {
        const uint32_t colour = bladeColour(layer, blade.x, blade.z);
        const float y = getHeightAt(blade.x, blade.z);
        BladeSize size = randomSize(layer);
        adjustGrassSize(blade.x, blade.z, size.height, size.halfWidth);
        const bool mirrored = Ogre::Math::UnitRandom() <= 0.5f;
        const float uLeft = mirrored ? 1.0f : 0.0f;
        const float uRight = 1.0f - uLeft;

        // The normal is the corner's offset, turned to the camera by the vertex program.
        const float px = blade.x - centre.x, pz = blade.z - centre.z;
        const float hw = size.halfWidth, h = size.height;
        const float corners[4][4] = {{-hw, h, uLeft, 0.0f},
                                     {hw, h, uRight, 0.0f},
                                     {-hw, 0.0f, uLeft, 1.0f},
                                     {hw, 0.0f, uRight, 1.0f}};
        for (const auto& corner : corners)
        {
            out.floats({px, y, pz});
            out.floats({corner[0], corner[1], 0.0f, 0.0f});
            out.colour(colour);
            out.floats({corner[2], corner[3]});
        }
        span.add(y, y + h);
    }
    return buildMesh(page, layer, declareSpriteVertex, out, blades.size() * 4, span, indexScratch);
}
