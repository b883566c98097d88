// The heights of a terrain page from a 16-bit grey PNG: values 0..1, row by row (row = z).
#pragma once

#include <string>
#include <vector>

namespace HeightmapImage
{
// bytes is the whole PNG file; fileName names it in errors. Throws DataFileError when the
// bytes are not a 16-bit grey PNG of exactly size x size samples.
std::vector<float> decode(const std::string& bytes, const std::string& fileName, unsigned size);
}
