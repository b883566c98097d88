// Writes 8-bit RGBA pictures and 16-bit grey heightmaps as PNG files for the media builder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbaPicture
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows top to bottom, 4 bytes a pixel

    RgbaPicture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 255) {}
    uint8_t* at(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
    void set(int x, int y, float r, float g, float b, float a = 1.0f);
};

// How rows are filtered before compression. Unfiltered rows suit pictures full of fine noise:
// there they come out smaller and decode in half the time.
enum class RowFilter
{
    Adaptive,  // libpng's choice for each row
    None,
};

// Throws std::runtime_error naming the file when it cannot be written.
void writePng(const std::string& path, const RgbaPicture& picture, RowFilter filter = RowFilter::Adaptive);
// A 16-bit grey picture, samples row by row (a terrain heightmap); throws like writePng.
void writeGrey16Png(const std::string& path, int width, int height, const std::vector<uint16_t>& samples);
// Creates the folder (and its parents) below which media files go.
void makeFolders(const std::string& path);
