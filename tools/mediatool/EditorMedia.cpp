// The track editor's pictures: a see-through cell and the checkpoint numbers laid over the
// tiles on the grid ("Overlay_<n>.png"), white digits with a dark outline on clear ground.
#include "MediaGenerator.h"
#include "PngWriter.h"

#include <string>

namespace
{
constexpr int kOverlaySize = 64;       // pixels
constexpr int kHighestNumber = 199;    // checkpoint numbers with a picture
constexpr int kGlyphColumns = 3, kGlyphRows = 5;
constexpr int kDot = 6;                // pixels per glyph dot

// Digits 0..9 on a 3 x 5 dot grid, rows top to bottom, bit 2 the left column.
constexpr unsigned char kGlyphs[10][kGlyphRows] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

bool dotAt(const std::string& digits, int x, int y)
{
    // The digits stand side by side with one dot between them, centred in the picture.
    const int dotsWide = static_cast<int>(digits.size()) * (kGlyphColumns + 1) - 1;
    const int left = (kOverlaySize - dotsWide * kDot) / 2;
    const int top = (kOverlaySize - kGlyphRows * kDot) / 2;
    if (x < left || y < top)
        return false;
    const int dx = (x - left) / kDot, dy = (y - top) / kDot;
    if (dx >= dotsWide || dy >= kGlyphRows || dx % (kGlyphColumns + 1) == kGlyphColumns)
        return false;
    const int digit = digits[static_cast<std::size_t>(dx / (kGlyphColumns + 1))] - '0';
    return (kGlyphs[digit][dy] >> (kGlyphColumns - 1 - dx % (kGlyphColumns + 1))) & 1;
}

void writeOverlay(const std::string& path, int number)
{
    const std::string digits = std::to_string(number);
    RgbaPicture picture(kOverlaySize, kOverlaySize);
    for (int y = 0; y < kOverlaySize; ++y)
    {
        for (int x = 0; x < kOverlaySize; ++x)
        {
            bool outline = false;
            for (int oy = -2; oy <= 2 && !outline; ++oy)
                for (int ox = -2; ox <= 2 && !outline; ++ox)
                    outline = dotAt(digits, x + ox, y + oy);
            if (dotAt(digits, x, y))
                picture.set(x, y, 1.0f, 0.95f, 0.3f);
            else if (outline)
                picture.set(x, y, 0.05f, 0.05f, 0.05f, 0.9f);
            else
                picture.set(x, y, 0, 0, 0, 0);
        }
    }
    writePng(path, picture);
}

void buildEditorMedia(const std::string& mediaDir)
{
    const std::string folder = mediaDir + "editor/";
    makeFolders(folder);
    RgbaPicture clear(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            clear.set(x, y, 0, 0, 0, 0);
    writePng(folder + "transparent.png", clear);
    for (int number = 0; number <= kHighestNumber; ++number)
        writeOverlay(folder + "Overlay_" + std::to_string(number) + ".png", number);
}

const RegisterMedia registerEditorMedia{"editor", buildEditorMedia};
}
