// Heightmap decoding through libpng: only 16-bit grey, so no precision is lost on the way.
#include "track/HeightmapImage.h"

#include "track/DataFileError.h"
#include "track/TerrainConfig.h"

#include <png.h>

#include <cstring>

namespace
{
struct ByteReader
{
    const std::string& bytes;
    size_t offset = 0;
};

void readBytes(png_structp png, png_bytep out, png_size_t count)
{
    auto* reader = static_cast<ByteReader*>(png_get_io_ptr(png));
    if (count > reader->bytes.size() - reader->offset)
        png_error(png, "file ends early");
    std::memcpy(out, reader->bytes.data() + reader->offset, count);
    reader->offset += count;
}

void raiseError(png_structp png, png_const_charp message)
{
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Fills heights or returns what is wrong. Kept free of C++ objects with destructors
// between setjmp and longjmp.
std::string decodeInto(const std::string& bytes, unsigned size, std::vector<float>& heights)
{
    constexpr float kLargestSample = 65535.0f;
    if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0)
        return "is not a PNG file";
    std::string libpngError;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &libpngError, raiseError, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info)
    {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return "cannot be decoded (out of memory)";
    }
    ByteReader reader{bytes};
    std::vector<png_uint_16> samples;
    std::vector<png_bytep> rows;
    std::string problem;
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_read_struct(&png, &info, nullptr);
        return "is damaged: " + libpngError;
    }
    png_set_read_fn(png, &reader, readBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    if (png_get_bit_depth(png, info) != 16 || png_get_color_type(png, info) != PNG_COLOR_TYPE_GRAY)
        problem = "is not a 16-bit grey picture";
    else if (width != size || height != size)
        problem = "is " + std::to_string(width) + " x " + std::to_string(height) + " samples, the page needs " +
                  std::to_string(size) + " x " + std::to_string(size);
    if (problem.empty())
    {
        png_set_swap(png);  // PNG stores 16-bit samples big-endian
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        samples.resize(static_cast<size_t>(width) * height);
        rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = reinterpret_cast<png_bytep>(&samples[static_cast<size_t>(y) * width]);
        png_read_image(png, rows.data());
        heights.resize(samples.size());
        for (size_t i = 0; i < samples.size(); ++i)
            heights[i] = samples[i] / kLargestSample;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return problem;
}
}

namespace HeightmapImage
{
std::vector<float> decode(const std::string& bytes, const std::string& fileName, unsigned size)
{
    std::vector<float> heights;
    const std::string problem = decodeInto(bytes, size, heights);
    if (!problem.empty())
        throw DataFileError(fileName, TerrainConfig::kReadError, "the heightmap " + problem);
    return heights;
}
}
