// A terrain on disk for tests: heightmap, terrain file and terrain list in a scratch folder
// that is a resource location of the headless engine while the object lives.
#pragma once

#include "TempFolder.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TerrainFiles
{
public:
    TerrainFiles();
    ~TerrainFiles();

    // The headless engine with a texture manager that loads nothing, for terrain materials.
    static void prepareEngine();
    // A 16-bit grey PNG of width x height samples, row by row.
    static std::string encodeHeightmap(unsigned width, unsigned height, const std::vector<uint16_t>& samples);
    // Writes "<name>.png" from sample(row, column) in 0..1 and "<name>.cfg" with the page size,
    // world size along x and z, the largest height and any extra lines; lists it in the folder's
    // "TerrainList.xml" under the same name. Returns the terrain file's name.
    std::string addTerrain(const std::string& name, unsigned pageSize, float pageWorld, float maxHeight,
                           const std::function<float(unsigned row, unsigned column)>& sample,
                           const std::string& extraLines = "");
    std::string listPath() const { return folder.path() + "TerrainList.xml"; }
    const TempFolder& getFolder() const { return folder; }
    // Makes the folder's files known to the engine's resource groups again after new writes.
    void rescan() const;

private:
    TempFolder folder;
    std::string listEntries;
};
