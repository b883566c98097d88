// Writes 8-bit RGBA pictures as PNG, byte for byte the same for the same pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbaPicture
{
    RgbaPicture(int width, int height) : width(width), height(height), pixels(size_t(width) * height * 4, 0) {}
    void set(int x, int y, float r, float g, float b, float a = 1.0f);

    int width;
    int height;
    std::vector<uint8_t> pixels;  // rows top to bottom, RGBA
};

// Throws std::runtime_error naming the file when it can't be written.
void writePng(const std::string& path, const RgbaPicture& picture);
