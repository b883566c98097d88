// Prints what an end-to-end test needs to know about a PNG picture:
// "<width> <height> <distinct colours> <mean brightness 0..255>", or, with "x y", that pixel's "r g b".
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 4)
    {
        std::fprintf(stderr, "usage: quillmor_png_stats file.png [x y]\n");
        return 2;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, argv[1]))
    {
        std::fprintf(stderr, "cannot read %s: %s\n", argv[1], image.message);
        return 1;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
    {
        std::fprintf(stderr, "cannot decode %s: %s\n", argv[1], image.message);
        return 1;
    }
    if (argc == 4)
    {
        const unsigned x = static_cast<unsigned>(std::atoi(argv[2])), y = static_cast<unsigned>(std::atoi(argv[3]));
        if (x >= image.width || y >= image.height)
            return 1;
        const unsigned char* p = &pixels[(static_cast<size_t>(y) * image.width + x) * 3];
        std::printf("%d %d %d\n", p[0], p[1], p[2]);
        return 0;
    }
    std::set<unsigned> colours;
    double sum = 0;
    for (size_t i = 0; i < pixels.size(); i += 3)
    {
        colours.insert(pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2]);
        sum += (pixels[i] + pixels[i + 1] + pixels[i + 2]) / 3.0;
    }
    std::printf("%u %u %zu %.1f\n", image.width, image.height, colours.size(), sum / (pixels.size() / 3));
    return 0;
}
