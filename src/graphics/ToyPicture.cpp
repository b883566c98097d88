// Sampling and compositing shared by every picture kind, written on getColour and setColour.
#include "graphics/ToyPicture.h"

#include <algorithm>

ToyPicture::ToyPicture(std::uint32_t w, std::uint32_t h) : width(w == 0 ? 1 : w), height(h == 0 ? 1 : h)
{
}

ToyPicture::ToyPicture(const ToyPicture& other) : width(other.width), height(other.height)
{
}

void ToyPicture::clampCoordinates(std::uint32_t& x, std::uint32_t& y) const
{
    x = std::min(x, width - 1);
    y = std::min(y, height - 1);
}

void ToyPicture::clampUV(float& u, float& v)
{
    u = std::max(std::min(u, 1.0f), 0.0f);
    v = std::max(std::min(v, 1.0f), 0.0f);
}

ToyPicture::BilinearCell ToyPicture::bilinearCell(float u, float v) const
{
    clampUV(u, v);
    BilinearCell cell;
    cell.x0 = static_cast<std::uint32_t>(u * width);
    cell.y0 = static_cast<std::uint32_t>(v * height);
    cell.x1 = cell.x0 + 1;
    cell.y1 = cell.y0 + 1;
    // At the far edge step back one sample, so the whole weight lands on the last column.
    if (u == 1.0f)
    {
        --cell.x0;
        --cell.x1;
    }
    if (v == 1.0f)
    {
        --cell.y0;
        --cell.y1;
    }
    const float fx = u * width;
    const float fy = v * height;
    const float x0 = static_cast<float>(cell.x0), x1 = static_cast<float>(cell.x1);
    const float y0 = static_cast<float>(cell.y0), y1 = static_cast<float>(cell.y1);
    const float area = (x1 - x0) * (y1 - y0);
    cell.weight00 = (x1 - fx) * (y1 - fy) / area;
    cell.weight10 = (fx - x0) * (y1 - fy) / area;
    cell.weight01 = (x1 - fx) * (fy - y0) / area;
    cell.weight11 = (fx - x0) * (fy - y0) / area;
    return cell;
}

ToyColour ToyPicture::getColourBilinear(float u, float v) const
{
    const BilinearCell cell = bilinearCell(u, v);
    ToyColour c00 = getColour(cell.x0, cell.y0);
    ToyColour c01 = getColour(cell.x0, cell.y1);
    ToyColour c10 = getColour(cell.x1, cell.y0);
    ToyColour c11 = getColour(cell.x1, cell.y1);
    // The pixels' own alpha is replaced by their weight, stored as a byte.
    c00.setAlpha(ToyColour::toByte(cell.weight00));
    c01.setAlpha(ToyColour::toByte(cell.weight01));
    c10.setAlpha(ToyColour::toByte(cell.weight10));
    c11.setAlpha(ToyColour::toByte(cell.weight11));
    const ToyColour r1(c01, c11, 1.0f);
    const ToyColour r2(c10, r1, 1.0f);
    return ToyColour(c00, r2, 1.0f);
}

void ToyPicture::scale(float factor)
{
    for (std::uint32_t x = 0; x < width; ++x)
        for (std::uint32_t y = 0; y < height; ++y)
            setColour(x, y, getColour(x, y) * factor);
}

void ToyPicture::blend(std::uint32_t x, std::uint32_t y, float factor, const ToyPicture& other)
{
    const std::uint32_t windowWidth = std::min(other.width, width - x);
    const std::uint32_t windowHeight = std::min(other.height, height - y);
    for (std::uint32_t i = 0; i < windowWidth; ++i)
        for (std::uint32_t j = 0; j < windowHeight; ++j)
            setColour(x + i, y + j, ToyColour(getColour(x + i, y + j), other.getColour(i, j), factor));
}

void ToyPicture::multiply(std::uint32_t x, std::uint32_t y, const ToyPicture& other)
{
    const std::uint32_t windowWidth = std::min(other.width, width - x);
    const std::uint32_t windowHeight = std::min(other.height, height - y);
    for (std::uint32_t i = 0; i < windowWidth; ++i)
        for (std::uint32_t j = 0; j < windowHeight; ++j)
            setColour(x + i, y + j, getColour(x + i, y + j) * other.getColour(i, j));
}

void ToyPicture::multiplyAt(float u, float v, const ToyPicture& other)
{
    clampUV(u, v);
    const float otherWidth = static_cast<float>(other.width);
    const float otherHeight = static_cast<float>(other.height);
    const std::uint32_t px = static_cast<std::uint32_t>(u * width);
    const std::uint32_t py = static_cast<std::uint32_t>(v * height);
    const float dx = u * width - px;
    const float dy = v * height - py;
    // A sub-pixel offset spreads the other picture over one more column or row.
    std::uint32_t windowWidth = other.width + (dx > 0.0f ? 1 : 0);
    std::uint32_t windowHeight = other.height + (dy > 0.0f ? 1 : 0);
    windowWidth = std::min(windowWidth, width - px);
    windowHeight = std::min(windowHeight, height - py);
    for (std::uint32_t i = 0; i < windowWidth; ++i)
    {
        for (std::uint32_t j = 0; j < windowHeight; ++j)
        {
            ToyColour colour = getColour(px + i, py + j);
            colour *= other.getColourBilinear((i - dx) / otherWidth, (j - dy) / otherHeight);
            setColour(px + i, py + j, colour);
        }
    }
}

void ToyPicture::getRowBytes(std::uint32_t y, std::uint8_t* rgba) const
{
    for (std::uint32_t x = 0; x < width; ++x, rgba += 4)
    {
        const ToyColour colour = getColour(x, y);
        rgba[0] = colour.getRedByte();
        rgba[1] = colour.getGreenByte();
        rgba[2] = colour.getBlueByte();
        rgba[3] = colour.getAlphaByte();
    }
}

void ToyPicture::allocate()
{
    freePlanes();
}

void ToyPicture::copyFrom(const ToyPicture& other)
{
    // Copying onto itself would clear the pixels before reading them.
    if (&other == this)
        return;
    width = other.width;
    height = other.height;
    allocate();
    for (std::uint32_t x = 0; x < width; ++x)
        for (std::uint32_t y = 0; y < height; ++y)
            setColour(x, y, other.getColour(x, y));
}
