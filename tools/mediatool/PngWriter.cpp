// PNG output through libpng.
#include "PngWriter.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

namespace
{
uint8_t toByte(float value)
{
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}
}

void RgbaPicture::set(int x, int y, float r, float g, float b, float a)
{
    uint8_t* pixel = at(x, y);
    pixel[0] = toByte(r);
    pixel[1] = toByte(g);
    pixel[2] = toByte(b);
    pixel[3] = toByte(a);
}

void makeFolders(const std::string& path)
{
    std::filesystem::create_directories(path);
}

namespace
{
// rowAt(y) gives the bytes of row y as libpng wants them for the depth and colour type.
void writeRows(const std::string& path, int width, int height, int bitDepth, int colourType,
               const std::function<png_const_bytep(int)>& rowAt, RowFilter filter = RowFilter::Adaptive)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        throw std::runtime_error("libpng failed on " + path);
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bitDepth, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (filter == RowFilter::None)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rowAt(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}
}

void writePng(const std::string& path, const RgbaPicture& picture, RowFilter filter)
{
    writeRows(
        path, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGBA,
        [&](int y) { return &picture.pixels[static_cast<size_t>(y) * picture.width * 4]; }, filter);
}

void writeGrey16Png(const std::string& path, int width, int height, const std::vector<uint16_t>& samples)
{
    if (samples.size() != static_cast<size_t>(width) * height)
        throw std::runtime_error("wrong sample count for " + path);
    std::vector<png_byte> row(static_cast<size_t>(width) * 2);
    writeRows(path, width, height, 16, PNG_COLOR_TYPE_GRAY, [&](int y) {
        for (int x = 0; x < width; ++x)  // PNG wants the high byte first
        {
            const uint16_t sample = samples[static_cast<size_t>(y) * width + x];
            row[2 * x] = static_cast<png_byte>(sample >> 8);
            row[2 * x + 1] = static_cast<png_byte>(sample & 0xff);
        }
        return static_cast<png_const_bytep>(row.data());
    });
}
