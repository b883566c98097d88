// Answers what an end-to-end test asks of a screenshot:
//   quillmor_png_stats a.png                      -> "<width> <height> <distinct colours> <mean brightness>"
//   quillmor_png_stats a.png x y                  -> "r g b" of that pixel
//   quillmor_png_stats a.png count x y w h r0 g0 b0 r1 g1 b1
//                                                 -> how many pixels of the region lie in the colour box
//   quillmor_png_stats a.png diff b.png x y w h   -> how many pixels of the region differ between a and b
//   quillmor_png_stats a.png mean x y w h         -> "r g b", the region's mean colour
//   quillmor_png_stats a.png sharpness x y w h    -> the region's mean brightness step between
//                                                    neighbouring pixels (a blur lowers it)
//   quillmor_png_stats a.png spots x y w h b      -> "<spots> <median pixels per spot>": the groups of
//                                                    touching pixels of the region at brightness b or more
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>
#include <string>
#include <vector>

namespace
{
struct Picture
{
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(unsigned x, unsigned y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

bool load(const char* path, Picture& picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path))
    {
        std::fprintf(stderr, "cannot read %s: %s\n", path, image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    picture.width = image.width;
    picture.height = image.height;
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr))
    {
        std::fprintf(stderr, "cannot decode %s: %s\n", path, image.message);
        return false;
    }
    return true;
}

unsigned arg(char** argv, int i)
{
    return static_cast<unsigned>(std::atoi(argv[i]));
}

int usage()
{
    std::fprintf(stderr, "usage: see the head of PngStats.cpp\n");
    return 2;
}
}

int main(int argc, char** argv)
{
    Picture picture;
    if (argc < 2 || !load(argv[1], picture))
        return argc < 2 ? usage() : 1;

    if (argc == 2)
    {
        std::set<unsigned> colours;
        double sum = 0;
        for (size_t i = 0; i < picture.rgb.size(); i += 3)
        {
            colours.insert(picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 | picture.rgb[i + 2]);
            sum += (picture.rgb[i] + picture.rgb[i + 1] + picture.rgb[i + 2]) / 3.0;
        }
        std::printf("%u %u %zu %.1f\n", picture.width, picture.height, colours.size(), sum / (picture.rgb.size() / 3));
        return 0;
    }
    if (argc == 4)
    {
        const unsigned x = arg(argv, 2), y = arg(argv, 3);
        if (x >= picture.width || y >= picture.height)
            return 1;
        const unsigned char* p = picture.at(x, y);
        std::printf("%d %d %d\n", p[0], p[1], p[2]);
        return 0;
    }
    if (argc == 13 && std::strcmp(argv[2], "count") == 0)
    {
        const unsigned x0 = arg(argv, 3), y0 = arg(argv, 4), w = arg(argv, 5), h = arg(argv, 6);
        unsigned count = 0;
        for (unsigned y = y0; y < y0 + h && y < picture.height; ++y)
            for (unsigned x = x0; x < x0 + w && x < picture.width; ++x)
            {
                const unsigned char* p = picture.at(x, y);
                bool inside = true;
                for (int c = 0; c < 3; ++c)
                    inside = inside && p[c] >= arg(argv, 7 + c) && p[c] <= arg(argv, 10 + c);
                count += inside;
            }
        std::printf("%u\n", count);
        return 0;
    }
    if (argc == 8 && std::strcmp(argv[2], "diff") == 0)
    {
        Picture other;
        if (!load(argv[3], other) || other.width != picture.width || other.height != picture.height)
            return 1;
        const unsigned x0 = arg(argv, 4), y0 = arg(argv, 5), w = arg(argv, 6), h = arg(argv, 7);
        unsigned count = 0;
        for (unsigned y = y0; y < y0 + h && y < picture.height; ++y)
            for (unsigned x = x0; x < x0 + w && x < picture.width; ++x)
                count += std::memcmp(picture.at(x, y), other.at(x, y), 3) != 0;
        std::printf("%u\n", count);
        return 0;
    }
    if (argc == 7 && (std::strcmp(argv[2], "mean") == 0 || std::strcmp(argv[2], "sharpness") == 0))
    {
        const unsigned x0 = arg(argv, 3), y0 = arg(argv, 4);
        const unsigned x1 = std::min(picture.width, x0 + arg(argv, 5)), y1 = std::min(picture.height, y0 + arg(argv, 6));
        if (x0 + 1 >= x1 || y0 + 1 >= y1)
            return 1;
        const auto brightness = [&picture](unsigned x, unsigned y) {
            const unsigned char* p = picture.at(x, y);
            return (p[0] + p[1] + p[2]) / 3.0;
        };
        double sum[3] = {0, 0, 0}, steps = 0;
        for (unsigned y = y0; y < y1; ++y)
            for (unsigned x = x0; x < x1; ++x)
            {
                for (int c = 0; c < 3; ++c)
                    sum[c] += picture.at(x, y)[c];
                if (x + 1 < x1 && y + 1 < y1)
                    steps += std::fabs(brightness(x + 1, y) - brightness(x, y)) +
                             std::fabs(brightness(x, y + 1) - brightness(x, y));
            }
        const double pixels = double(x1 - x0) * (y1 - y0);
        if (argv[2][0] == 'm')
            std::printf("%.0f %.0f %.0f\n", sum[0] / pixels, sum[1] / pixels, sum[2] / pixels);
        else
            std::printf("%.2f\n", steps / (2.0 * (x1 - x0 - 1) * (y1 - y0 - 1)));
        return 0;
    }
    if (argc == 8 && std::strcmp(argv[2], "spots") == 0)
    {
        const unsigned x0 = arg(argv, 3), y0 = arg(argv, 4), threshold = arg(argv, 7);
        const unsigned x1 = std::min(picture.width, x0 + arg(argv, 5)), y1 = std::min(picture.height, y0 + arg(argv, 6));
        const auto bright = [&](unsigned x, unsigned y) {
            const unsigned char* p = picture.at(x, y);
            return x >= x0 && x < x1 && y >= y0 && y < y1 && (p[0] + p[1] + p[2]) / 3u >= threshold;
        };
        std::vector<bool> seen(static_cast<size_t>(picture.width) * picture.height, false);
        std::vector<unsigned> sizes;
        for (unsigned y = y0; y < y1; ++y)
            for (unsigned x = x0; x < x1; ++x)
            {
                if (seen[static_cast<size_t>(y) * picture.width + x] || !bright(x, y))
                    continue;
                unsigned pixels = 0;
                std::vector<std::pair<unsigned, unsigned>> open{{x, y}};
                seen[static_cast<size_t>(y) * picture.width + x] = true;
                while (!open.empty())
                {
                    const auto [px, py] = open.back();
                    open.pop_back();
                    ++pixels;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                        {
                            const unsigned nx = px + dx, ny = py + dy;  // wraps past 0 to out of range
                            if (nx >= picture.width || ny >= picture.height || !bright(nx, ny) ||
                                seen[static_cast<size_t>(ny) * picture.width + nx])
                                continue;
                            seen[static_cast<size_t>(ny) * picture.width + nx] = true;
                            open.emplace_back(nx, ny);
                        }
                }
                sizes.push_back(pixels);
            }
        std::sort(sizes.begin(), sizes.end());
        std::printf("%zu %u\n", sizes.size(), sizes.empty() ? 0u : sizes[sizes.size() / 2]);
        return 0;
    }
    return usage();
}
