// The impostor atlas of one mesh: 8 bearings x 4 elevations of pictures, rendered once and
// kept in the atlas cache, and 32 materials that differ only in the cell they show. Shared by
// every impostor batch of the mesh; it lives as long as some batch holds it.
#pragma once

#include <OGRE/OgreAxisAlignedBox.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreTexture.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class Entity;
class Image;
class SceneManager;
}

class ImpostorPage;

class ImpostorTexture
{
public:
    static constexpr int kYawCells = 8;
    static constexpr int kPitchCells = 4;

    // The atlas of the entity's mesh; a new one (rendered or loaded) when there is none and a
    // page is given, else none.
    static std::shared_ptr<ImpostorTexture> getTexture(ImpostorPage* page, Ogre::Entity* entity);
    // Renders every registered atlas again, past the file cache.
    static void regenerateAll();
    // Atlases alive at the moment.
    static size_t registeredCount();

    ~ImpostorTexture();
    ImpostorTexture(const ImpostorTexture&) = delete;
    ImpostorTexture& operator=(const ImpostorTexture&) = delete;

    // Renders the pictures again, past the file cache, and shows them.
    void regenerate();

    const std::string& getMaterialName(uint16_t pitchIndex, uint16_t yawIndex) const;
    // False when the pictures could neither be loaded nor rendered: trees are then not drawn.
    bool hasPictures() const { return static_cast<bool>(texture); }
    const Ogre::TexturePtr& getAtlas() const { return texture; }
    const std::string& getFileName() const { return fileName; }
    uint32_t getEntityKey() const { return entityKey; }
    float getEntityDiameter() const { return entityDiameter; }
    const Ogre::Vector3& getEntityCentre() const { return entityCentre; }

private:
    ImpostorTexture(ImpostorPage& page, Ogre::Entity& entity);
    static std::string getUniqueID(const std::string& prefix);

    void renderTextures(bool force);
    void renderPictures(Ogre::Image& atlas);
    void updateMaterials();

    Ogre::SceneManager* sceneMgr;  // not owned
    Ogre::MeshPtr mesh;
    std::vector<Ogre::MaterialPtr> templateMaterials;       // one per sub-entity of the template
    std::array<std::array<Ogre::MaterialPtr, kYawCells>, kPitchCells> materials;
    Ogre::TexturePtr texture;
    std::string cacheFolder;  // the owning pager's, when the atlas was made
    std::string fileName;
    uint32_t entityKey;
    Ogre::AxisAlignedBox boundingBox;
    float entityRadius = 0.0f;
    float entityDiameter = 0.0f;
    Ogre::Vector3 entityCentre = Ogre::Vector3::ZERO;
    bool blended = false;  // alpha blend rather than alpha reject
};
