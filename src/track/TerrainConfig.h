// Reading a terrain file: "key=value" lines, blank lines and "#" comments; and the rewrite
// that gives a terrain file another "CustomMaterialName".
#pragma once

#include "track/TerrainOptions.h"

#include <string>

namespace TerrainConfig
{
constexpr const char* kReadError = "Unable to read terrain!";
constexpr unsigned kLargestPageSize = 4097;  // samples; 2^12 + 1

// Throws DataFileError naming fileName and the key at fault: no "PageSize", a page or tile
// size that is not 2^k + 1, no "Heightmap.image", a scale that is not a positive number.
TerrainOptions parse(const std::string& text, const std::string& fileName);

// Every line trimmed; a line holding "CustomMaterialName" keeps what stands before the key
// and gets "CustomMaterialName=" + materialName. Lines end in "\n". A text without the key
// gains none.
std::string withCustomMaterial(const std::string& text, const std::string& materialName);

bool isPowerOfTwoPlusOne(unsigned value);
}
