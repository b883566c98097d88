// Static billboard sets: the baked mesh, the materials they share with the vertex programs,
// and the corner directions fed to those programs once per frame.
#include "paging/StaticBillboardSet.h"

#include "paging/EngineLogSilence.h"
#include "paging/SpritePrograms.h"

#include <OGRE/OgreBillboard.h>
#include <OGRE/OgreBillboardSet.h>
#include <OGRE/OgreCamera.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreGpuProgramManager.h>
#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubMesh.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTextureUnitState.h>

#include <limits>
#include <sstream>

namespace
{
constexpr size_t kVertexSize = 36;             // bytes: centre, half size + corner, colour, uv
constexpr size_t kMaxShortIndexBillboards = 16384;  // four vertices each fill 16-bit indices

struct MaterialRef
{
    uint32_t uses = 0;
    Ogre::MaterialPtr material;
};

// Shared by every set of the process; the frame loop is the only user.
struct ClassWide
{
    uint32_t acceleratedCount = 0;
    uint32_t nameCounter = 0;
    std::map<std::string, Ogre::MaterialPtr> fadeMaterials;  // by signature
    std::map<const Ogre::Material*, MaterialRef> materialRefs;
};

ClassWide& classWide()
{
    static ClassWide state;
    return state;
}

bool hasVertexPrograms(const Ogre::RenderSystemCapabilities* capabilities)
{
    if (!capabilities)
    {
        Ogre::Root* root = Ogre::Root::getSingletonPtr();
        Ogre::RenderSystem* renderSystem = root ? root->getRenderSystem() : nullptr;
        capabilities = renderSystem ? renderSystem->getCapabilities() : nullptr;
    }
    return capabilities && capabilities->hasCapability(Ogre::RSC_VERTEX_PROGRAM);
}

Ogre::TextureUnitState* firstTextureUnit(const Ogre::MaterialPtr& material)
{
    Ogre::Technique* technique = material->getNumTechniques() ? material->getTechnique(0) : nullptr;
    Ogre::Pass* pass = technique && technique->getNumPasses() ? technique->getPass(0) : nullptr;
    return pass && pass->getNumTextureUnitStates() ? pass->getTextureUnitState(0) : nullptr;
}

float uScrollOf(const Ogre::MaterialPtr& material)
{
    const Ogre::TextureUnitState* unit = firstTextureUnit(material);
    return unit ? unit->getTextureUScroll() : 0.0f;
}

float vScrollOf(const Ogre::MaterialPtr& material)
{
    const Ogre::TextureUnitState* unit = firstTextureUnit(material);
    return unit ? unit->getTextureVScroll() : 0.0f;
}

// Offline engines (tests, tools) have no program manager: their materials stay without.
bool programsAvailable() { return Ogre::GpuProgramManager::getSingletonPtr() != nullptr; }

// A program that the engine could not compile has no parameters to set.
bool programRuns(const Ogre::Pass& pass)
{
    return pass.hasVertexProgram() && pass.getVertexProgram() && pass.getVertexProgram()->isSupported();
}
}

StaticBillboardSet::StaticBillboardSet(Ogre::SceneManager* manager, SBSRenderMethod method,
                                       const Ogre::RenderSystemCapabilities* capabilities)
    : sceneMgr(manager), renderMethod(method)
{
    if (renderMethod == BB_METHOD_ACCELERATED && !hasVertexPrograms(capabilities))
        renderMethod = BB_METHOD_COMPATIBLE;

    node = sceneMgr->getRootSceneNode()->createChildSceneNode();
    entityName = getUniqueID("SBSentity");

    if (renderMethod == BB_METHOD_ACCELERATED)
    {
        if (++classWide().acceleratedCount == 1)
            SpritePrograms::ensureLoaded();
    }
    else
    {
        fallbackSet = sceneMgr->createBillboardSet(getUniqueID("SBS"), 100);
        node->attachObject(fallbackSet);
    }
}

StaticBillboardSet::~StaticBillboardSet()
{
    if (renderMethod == BB_METHOD_ACCELERATED)
    {
        clear();
        sceneMgr->destroySceneNode(node);
        if (material)
            releaseMaterialRef(material);
        if (fadeMaterial)
            releaseMaterialRef(fadeMaterial);
        if (--classWide().acceleratedCount == 0)
            classWide().fadeMaterials.clear();  // the clones stay in the material manager
    }
    else
    {
        sceneMgr->destroySceneNode(node);
        sceneMgr->destroyBillboardSet(fallbackSet);
    }
}

std::string StaticBillboardSet::getUniqueID(const std::string& prefix)
{
    return prefix + std::to_string(++classWide().nameCounter);
}

void StaticBillboardSet::createBillboard(const Ogre::Vector3& centre, float width, float height,
                                         const Ogre::ColourValue& color, uint16_t texCol,
                                         uint16_t texRow)
{
    if (renderMethod == BB_METHOD_COMPATIBLE)
    {
        Ogre::Billboard* billboard = fallbackSet->createBillboard(centre);
        billboard->setDimensions(width, height);
        billboard->setTexcoordRect(texCol * uFactor, texRow * vFactor, (texCol + 1) * uFactor,
                                   (texRow + 1) * vFactor);
        billboard->setColour(color);
        return;
    }
    SBSBillboard billboard;
    billboard.centre = centre;
    billboard.color = Ogre::VertexElement::convertColourValue(
        color, Ogre::VertexElement::getBestColourVertexElementType());
    billboard.width = width;
    billboard.height = height;
    billboard.texCol = texCol;
    billboard.texRow = texRow;
    waiting.push_back(billboard);
}

void StaticBillboardSet::removeEntity()
{
    if (!entity)
        return;
    node->detachAllObjects();
    sceneMgr->destroyEntity(entity);
    entity = nullptr;
    const std::string meshName = mesh->getName();
    mesh.reset();
    if (Ogre::MeshManager* meshes = Ogre::MeshManager::getSingletonPtr())
        meshes->remove(meshName, Ogre::RGN_DEFAULT);
}

void StaticBillboardSet::clear()
{
    if (renderMethod == BB_METHOD_COMPATIBLE)
    {
        fallbackSet->clear();
        return;
    }
    removeEntity();
    waiting.clear();
}

void StaticBillboardSet::writeVertices(float* out, uint32_t* colors, Ogre::AxisAlignedBox& bounds) const
{
    // Corner numbers 0..3: top left, top right, bottom left, bottom right of the cell.
    static const float kCornerU[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    static const float kCornerV[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    Ogre::Vector3 minimum(std::numeric_limits<float>::infinity());
    Ogre::Vector3 maximum(-std::numeric_limits<float>::infinity());
    size_t vertex = 0;
    for (const SBSBillboard& billboard : waiting)
    {
        const float halfWidth = billboard.width * 0.5f;
        const float halfHeight = billboard.height * 0.5f;
        for (int corner = 0; corner < 4; ++corner, ++vertex)
        {
            float* v = out + vertex * (kVertexSize / sizeof(float));
            v[0] = billboard.centre.x;
            v[1] = billboard.centre.y;
            v[2] = billboard.centre.z;
            v[3] = halfWidth;
            v[4] = halfHeight;
            v[5] = static_cast<float>(corner);
            colors[vertex * (kVertexSize / sizeof(uint32_t)) + 6] = billboard.color;
            v[7] = (billboard.texCol + kCornerU[corner]) * uFactor;
            v[8] = (billboard.texRow + kCornerV[corner]) * vFactor;
        }
        const Ogre::Vector3 extent(halfWidth, halfHeight, halfWidth);
        minimum.makeFloor(billboard.centre - extent);
        maximum.makeCeil(billboard.centre + extent);
    }
    bounds.setExtents(minimum, maximum);
}

void StaticBillboardSet::build()
{
    if (renderMethod == BB_METHOD_COMPATIBLE)
        return;
    removeEntity();
    if (waiting.empty())
        return;
    if (!material)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALID_STATE,
                    "Billboards cannot be built without a material applied first",
                    "StaticBillboardSet::build()");

    const size_t count = waiting.size();
    const size_t vertexCount = 4 * count;
    mesh = Ogre::MeshManager::getSingleton().createManual(getUniqueID("SBSmesh"), Ogre::RGN_DEFAULT);
    Ogre::SubMesh* subMesh = mesh->createSubMesh();
    subMesh->useSharedVertices = false;
    subMesh->vertexData = new Ogre::VertexData();  // the sub-mesh owns it
    subMesh->vertexData->vertexStart = 0;
    subMesh->vertexData->vertexCount = vertexCount;

    Ogre::VertexDeclaration* declaration = subMesh->vertexData->vertexDeclaration;
    size_t offset = 0;
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_COLOUR, Ogre::VES_DIFFUSE).getSize();
    declaration->addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);

    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::HardwareVertexBufferSharedPtr vertexBuffer = buffers.createVertexBuffer(
        kVertexSize, vertexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
    Ogre::AxisAlignedBox bounds;
    {
        void* data = vertexBuffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);
        writeVertices(static_cast<float*>(data), static_cast<uint32_t*>(data), bounds);
        vertexBuffer->unlock();
    }
    subMesh->vertexData->vertexBufferBinding->setBinding(0, vertexBuffer);

    // More than 16-bit indices reach would wrap onto the first billboards.
    const bool wide = count > kMaxShortIndexBillboards;
    const size_t indexCount = 6 * count;
    Ogre::HardwareIndexBufferSharedPtr indexBuffer = buffers.createIndexBuffer(
        wide ? Ogre::HardwareIndexBuffer::IT_32BIT : Ogre::HardwareIndexBuffer::IT_16BIT, indexCount,
        Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
    {
        void* data = indexBuffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);
        static const uint32_t kQuad[6] = {0, 2, 1, 1, 2, 3};
        for (size_t k = 0; k < count; ++k)
            for (size_t i = 0; i < 6; ++i)
            {
                const uint32_t index = static_cast<uint32_t>(4 * k) + kQuad[i];
                if (wide)
                    static_cast<uint32_t*>(data)[6 * k + i] = index;
                else
                    static_cast<uint16_t*>(data)[6 * k + i] = static_cast<uint16_t>(index);
            }
        indexBuffer->unlock();
    }
    subMesh->indexData->indexBuffer = indexBuffer;
    subMesh->indexData->indexStart = 0;
    subMesh->indexData->indexCount = indexCount;

    mesh->_setBounds(bounds);
    mesh->_setBoundingSphereRadius((bounds.getMaximum() - bounds.getMinimum()).length() * 0.5f);
    {
        // Every page build loads a mesh: keep the engine's log free of them.
        EngineLogSilence quiet;
        mesh->load();
    }
    waiting.clear();

    entity = sceneMgr->createEntity(entityName, mesh->getName(), Ogre::RGN_DEFAULT);
    entity->setCastShadows(false);
    entity->setMaterialName(materialInUse()->getName(), materialInUse()->getGroup());
    node->attachObject(entity);
    entity->setVisible(visible);
}

void StaticBillboardSet::setMaterial(const std::string& materialName)
{
    if (material && material->getName() == materialName)
        return;
    Ogre::MaterialPtr named = Ogre::MaterialManager::getSingleton().getByName(materialName);
    if (!named)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "No material named '" + materialName + "'",
                    "StaticBillboardSet::setMaterial()");

    if (renderMethod == BB_METHOD_COMPATIBLE)
    {
        material = named;
        fallbackSet->setMaterialName(material->getName(), material->getGroup());
        return;
    }
    if (materialInUse())
        releaseMaterialRef(materialInUse());
    material = named;
    if (fadeEnabled)
        fadeMaterial = getFadeMaterial(fadeVisibleDist, fadeInvisibleDist);
    acquireMaterialRef(materialInUse());
    if (entity)
        entity->setMaterialName(materialInUse()->getName(), materialInUse()->getGroup());
}

void StaticBillboardSet::setFade(bool enabled, float visibleDist, float invisibleDist)
{
    if (renderMethod == BB_METHOD_COMPATIBLE)
        return;
    if (enabled)
    {
        if (!material)
            OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                        "Billboard fading cannot be enabled without a material applied first",
                        "StaticBillboardSet::setFade()");
        releaseMaterialRef(materialInUse());
        fadeMaterial = getFadeMaterial(visibleDist, invisibleDist);
        acquireMaterialRef(fadeMaterial);
    }
    else
    {
        if (!fadeEnabled)
            return;
        releaseMaterialRef(fadeMaterial);
        acquireMaterialRef(material);
    }
    fadeEnabled = enabled;
    fadeVisibleDist = visibleDist;
    fadeInvisibleDist = invisibleDist;
    if (entity)
        entity->setMaterialName(materialInUse()->getName(), materialInUse()->getGroup());
}

Ogre::MaterialPtr StaticBillboardSet::getFadeMaterial(float visibleDist, float invisibleDist)
{
    // The entity name leads the signature: no two sets share a fade material.
    std::ostringstream signature;
    signature << entityName << "|" << visibleDist << "|" << invisibleDist << "|"
              << uScrollOf(material) << "|" << vScrollOf(material) << "|";
    auto& cache = classWide().fadeMaterials;
    auto found = cache.find(signature.str());
    if (found != cache.end())
        return found->second;

    Ogre::MaterialPtr fade = material->clone(getUniqueID("ImpostorFade"));
    for (Ogre::Technique* technique : fade->getTechniques())
        for (Ogre::Pass* pass : technique->getPasses())
        {
            pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
            if (!programsAvailable())
                continue;
            pass->setVertexProgram(SpritePrograms::kSpriteFade, true);
            if (!programRuns(*pass))
                continue;
            Ogre::GpuProgramParametersSharedPtr params = pass->getVertexProgramParameters();
            params->setNamedAutoConstant("worldViewProj", Ogre::GpuProgramParameters::ACT_WORLDVIEWPROJ_MATRIX);
            params->setNamedAutoConstant("camPos", Ogre::GpuProgramParameters::ACT_CAMERA_POSITION_OBJECT_SPACE);
            params->setNamedConstant("invisibleDist", invisibleDist);
            params->setNamedConstant("fadeGap", invisibleDist - visibleDist);
        }
    cache[signature.str()] = fade;
    return fade;
}

void StaticBillboardSet::setTextureStacksAndSlices(uint16_t stacks, uint16_t slices)
{
    uFactor = 1.0f / slices;
    vFactor = 1.0f / stacks;
}

void StaticBillboardSet::setVisible(bool show)
{
    if (visible == show)
        return;
    visible = show;
    node->setVisible(show, true);
}

std::vector<Ogre::Vector4> StaticBillboardSet::cornerVectors(const Ogre::Vector3& forward)
{
    Ogre::Vector3 right = forward.crossProduct(Ogre::Vector3::UNIT_Y);
    Ogre::Vector3 up = forward.crossProduct(right);
    right.normalise();
    up.normalise();
    if (up.y < 0.0f)
        up = -up;  // billboards stay upright under an upside-down camera
    auto corner = [](const Ogre::Vector3& v) { return Ogre::Vector4(v.x, v.y, v.z, 0.0f); };
    return {corner(-right + up), corner(right + up), corner(-right - up), corner(right - up)};
}

void StaticBillboardSet::updateAll(Ogre::Camera* camera)
{
    if (classWide().acceleratedCount == 0 || !camera || !programsAvailable())
        return;
    const std::vector<Ogre::Vector4> corners = cornerVectors(camera->getDerivedDirection());
    for (auto& entry : classWide().materialRefs)
    {
        const Ogre::MaterialPtr& used = entry.second.material;
        if (!used->getNumTechniques() || !used->getTechnique(0)->getNumPasses())
            continue;
        Ogre::Pass* pass = used->getTechnique(0)->getPass(0);
        if (!pass->hasVertexProgram())
        {
            pass->setVertexProgram(SpritePrograms::kSprite, true);
            if (programRuns(*pass))
                pass->getVertexProgramParameters()->setNamedAutoConstant(
                    "worldViewProj", Ogre::GpuProgramParameters::ACT_WORLDVIEWPROJ_MATRIX);
        }
        if (!programRuns(*pass))
            continue;
        Ogre::GpuProgramParametersSharedPtr params = pass->getVertexProgramParameters();
        params->setNamedConstant("preRotatedQuad", corners[0].ptr(), 4, 4);
        params->setNamedConstant("uScroll", uScrollOf(used));
        params->setNamedConstant("vScroll", vScrollOf(used));
    }
}

void StaticBillboardSet::acquireMaterialRef(const Ogre::MaterialPtr& used)
{
    MaterialRef& ref = classWide().materialRefs[used.get()];
    ref.material = used;
    ++ref.uses;
}

void StaticBillboardSet::releaseMaterialRef(const Ogre::MaterialPtr& used)
{
    auto& refs = classWide().materialRefs;
    auto found = refs.find(used.get());
    if (found == refs.end())
        return;
    if (--found->second.uses == 0)
        refs.erase(found);
}

uint32_t StaticBillboardSet::materialUseCount(const Ogre::MaterialPtr& used)
{
    auto found = classWide().materialRefs.find(used.get());
    return found == classWide().materialRefs.end() ? 0 : found->second.uses;
}

uint32_t StaticBillboardSet::acceleratedInstanceCount() { return classWide().acceleratedCount; }
