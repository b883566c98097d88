// Writes the tyre-mark texture "materials/RubberTrack.png": dark rubber whose alpha carries
// tread ribs across the mark, fades at both edges and is worn by fixed-seed noise.
#include "MediaGenerator.h"

#include <png.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
constexpr int kTextureSize = 64;        // pixels, square
constexpr int kTreadRibs = 6;           // ribs across the mark
constexpr std::uint32_t kNoiseSeed = 4711;
constexpr float kRubberGrey = 28.0f;    // byte value of the rubber colour
constexpr float kPeakAlpha = 0.85f;     // the darkest part of a fresh mark

// One RGBA pixel row after another, top row first.
std::vector<std::uint8_t> rubberPixels()
{
    // mt19937's raw output is fixed by the standard; its distributions are not.
    std::mt19937 noise(kNoiseSeed);
    auto wear = [&noise] { return 0.75f + 0.25f * static_cast<float>(noise() >> 8) / float(1u << 24); };
    std::vector<std::uint8_t> pixels;
    pixels.reserve(kTextureSize * kTextureSize * 4);
    for (int y = 0; y < kTextureSize; ++y)
    {
        for (int x = 0; x < kTextureSize; ++x)
        {
            const float across = (x + 0.5f) / kTextureSize;  // 0 to 1 over the mark's width
            const float edgeFade = std::min(1.0f, std::min(across, 1.0f - across) * 6.0f);
            const float rib = 0.7f + 0.3f * std::cos(across * kTreadRibs * 2.0f * 3.14159265f);
            const float alpha = kPeakAlpha * edgeFade * rib * wear();
            const float grey = kRubberGrey * (0.8f + 0.4f * wear());
            const auto greyByte = static_cast<std::uint8_t>(grey);
            pixels.push_back(greyByte);
            pixels.push_back(greyByte);
            pixels.push_back(greyByte);
            pixels.push_back(static_cast<std::uint8_t>(alpha * 255.0f));
        }
    }
    return pixels;
}

void writePng(const std::string& path, const std::vector<std::uint8_t>& pixels, int width, int height)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        throw std::runtime_error("libpng failed writing " + path);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + static_cast<std::size_t>(y) * width * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0)
        throw std::runtime_error("cannot finish " + path);
}

const RegisterMedia registerRubber{"rubber texture", [](const std::string& mediaDir) {
                                       std::filesystem::create_directories(mediaDir + "materials");
                                       writePng(mediaDir + "materials/RubberTrack.png", rubberPixels(), kTextureSize,
                                                kTextureSize);
                                   }};
}
