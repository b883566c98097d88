// PNG output through libpng.
#include "PngFile.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

void RgbaPicture::set(int x, int y, float r, float g, float b, float a)
{
    uint8_t* pixel = &pixels[(size_t(y) * width + x) * 4];
    const float values[4] = {r, g, b, a};
    for (int i = 0; i < 4; ++i)
        pixel[i] = static_cast<uint8_t>(std::clamp(values[i], 0.0f, 1.0f) * 255.0f + 0.5f);
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
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode " + path);
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, &picture.pixels[size_t(y) * picture.width * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}
