// PNG output through libpng.
#include "PngWriter.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
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

void writePng(const std::string& path, const RgbaPicture& picture)
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
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, &picture.pixels[static_cast<size_t>(y) * picture.width * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}
