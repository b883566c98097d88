// Sample access, bilinear lookup, resampling and quarter turns of plane storage.
#include "graphics/ToyPicturePlanes.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <type_traits>

template <typename Sample>
typename ToyPicturePlanes<Sample>::Plane& ToyPicturePlanes<Sample>::plane(std::string_view name) const
{
    const auto found = planes.find(name);
    if (found == planes.end())
        throw std::logic_error("picture has no plane \"" + std::string(name) + "\"");
    return *found->second;
}

template <typename Sample>
Sample* ToyPicturePlanes<Sample>::valueAddress(std::uint32_t x, std::uint32_t y, std::string_view name)
{
    clampCoordinates(x, y);
    return plane(name).data() + static_cast<std::size_t>(y) * getWidth() + x;
}

template <typename Sample>
const Sample* ToyPicturePlanes<Sample>::valueAddress(std::uint32_t x, std::uint32_t y,
                                                     std::string_view name) const
{
    clampCoordinates(x, y);
    return plane(name).data() + static_cast<std::size_t>(y) * getWidth() + x;
}

template <typename Sample>
Sample ToyPicturePlanes<Sample>::valueBilinear(float u, float v, std::string_view name) const
{
    const BilinearCell cell = bilinearCell(u, v);
    const float sum = cell.weight00 * *valueAddress(cell.x0, cell.y0, name) +
                      cell.weight10 * *valueAddress(cell.x1, cell.y0, name) +
                      cell.weight01 * *valueAddress(cell.x0, cell.y1, name) +
                      cell.weight11 * *valueAddress(cell.x1, cell.y1, name);
    if constexpr (std::is_same_v<Sample, std::uint8_t>)
        return static_cast<std::uint8_t>(static_cast<std::int16_t>(std::min(sum, 255.0f)));
    else
        return sum;
}

template <typename Sample>
void ToyPicturePlanes<Sample>::resize(std::uint32_t newWidth, std::uint32_t newHeight, bool keep)
{
    if (newWidth == 0 || newHeight == 0 || (newWidth == getWidth() && newHeight == getHeight()))
        return;
    PlaneTable resized;
    for (const auto& [name, samples] : planes)
    {
        auto target = std::make_shared<Plane>(static_cast<std::size_t>(newWidth) * newHeight);
        if (keep)
        {
            for (std::uint32_t y = 0; y < newHeight; ++y)
                for (std::uint32_t x = 0; x < newWidth; ++x)
                    (*target)[static_cast<std::size_t>(y) * newWidth + x] =
                        valueBilinear(static_cast<float>(x) / newWidth, static_cast<float>(y) / newHeight, name);
        }
        resized[name] = std::move(target);
    }
    freePlanes();
    setWidth(newWidth);
    setHeight(newHeight);
    planes = std::move(resized);
}

template <typename Sample>
void ToyPicturePlanes<Sample>::rotate(const int& mode)
{
    if (mode < kQuarterClockwise || mode > kQuarterAnticlockwise)
        return;
    const std::size_t w = getWidth();
    const std::size_t h = getHeight();
    Plane scratch(w * h);
    for (auto& entry : planes)
    {
        Plane& samples = *entry.second;
        for (std::size_t y = 0; y < h; ++y)
        {
            for (std::size_t x = 0; x < w; ++x)
            {
                std::size_t target = 0;
                if (mode == kQuarterClockwise)
                    target = x * h + (h - 1 - y);
                else if (mode == kHalfTurn)
                    target = (w - 1 - x) + w * (h - 1 - y);
                else
                    target = (w - 1 - x) * h + y;
                scratch[target] = samples[y * w + x];
            }
        }
        // Back into the same array: copies that share it see the turned samples.
        std::copy(scratch.begin(), scratch.end(), samples.begin());
    }
    if (mode != kHalfTurn)
    {
        setWidth(static_cast<std::uint32_t>(h));
        setHeight(static_cast<std::uint32_t>(w));
    }
}

template <typename Sample>
typename ToyPicturePlanes<Sample>::Plane& ToyPicturePlanes<Sample>::addPlane(const std::string& name, Sample fill)
{
    auto samples = std::make_shared<Plane>(static_cast<std::size_t>(getWidth()) * getHeight(), fill);
    Plane& added = *samples;
    planes[name] = std::move(samples);
    return added;
}

template <typename Sample>
void ToyPicturePlanes<Sample>::copyPlanesFrom(const ToyPicturePlanes& other)
{
    if (&other == this)
        return;
    freePlanes();
    setWidth(other.getWidth());
    setHeight(other.getHeight());
    for (const auto& [name, samples] : other.planes)
        planes[name] = std::make_shared<Plane>(*samples);
}

template class ToyPicturePlanes<std::uint8_t>;
template class ToyPicturePlanes<float>;
