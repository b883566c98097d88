// Writing test terrains.
#include "TerrainFiles.h"

#include "HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

TerrainFiles::TerrainFiles()
{
    prepareEngine();
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation(folder.path(), "FileSystem", Ogre::RGN_DEFAULT);
}

void TerrainFiles::prepareEngine()
{
    // Terrain materials name their textures.
    HeadlessOgre::rootWithTextures();
}

TerrainFiles::~TerrainFiles()
{
    Ogre::ResourceGroupManager::getSingleton().removeResourceLocation(folder.path(), Ogre::RGN_DEFAULT);
}

std::string TerrainFiles::encodeHeightmap(unsigned width, unsigned height, const std::vector<uint16_t>& samples)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_LINEAR_Y;  // 16-bit grey, written as it stands
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, samples.data(), 0, nullptr))
        throw std::runtime_error("cannot size the test heightmap");
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, samples.data(), 0, nullptr))
        throw std::runtime_error("cannot encode the test heightmap");
    bytes.resize(size);
    return bytes;
}

std::string TerrainFiles::addTerrain(const std::string& name, unsigned pageSize, float pageWorld, float maxHeight,
                                     const std::function<float(unsigned, unsigned)>& sample,
                                     const std::string& extraLines)
{
    std::vector<uint16_t> samples(static_cast<size_t>(pageSize) * pageSize);
    for (unsigned row = 0; row < pageSize; ++row)
        for (unsigned column = 0; column < pageSize; ++column)
            samples[static_cast<size_t>(row) * pageSize + column] =
                static_cast<uint16_t>(std::lround(std::clamp(sample(row, column), 0.0f, 1.0f) * 65535.0f));
    folder.write(name + ".png", encodeHeightmap(pageSize, pageSize, samples));
    const std::string fileName = name + ".cfg";
    folder.write(fileName, "# test terrain\nPageSource=Heightmap\nHeightmap.image=" + name +
                               ".png\nPageSize=" + std::to_string(pageSize) + "\nPageWorldX=" +
                               std::to_string(pageWorld) + "\nPageWorldZ=" + std::to_string(pageWorld) +
                               "\nMaxHeight=" + std::to_string(maxHeight) + "\n" + extraLines);
    listEntries += "    <Terrain name=\"" + name + "\" file=\"" + fileName + "\" levelImage=\"" + name + ".png\" />\n";
    folder.write("TerrainList.xml", "<Terrains>\n" + listEntries + "</Terrains>\n");
    rescan();
    return fileName;
}

void TerrainFiles::rescan() const
{
    // A file-system location lists its files when it is added: add it again to see new ones.
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.removeResourceLocation(folder.path(), Ogre::RGN_DEFAULT);
    groups.addResourceLocation(folder.path(), "FileSystem", Ogre::RGN_DEFAULT);
}
