// Picture storage as a table of named planes of samples (8-bit or float). Copies share the
// sample arrays; each array lives as long as any picture still refers to it.
#pragma once

#include "graphics/ToyPicture.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

template <typename Sample>
class ToyPicturePlanes : public ToyPicture
{
public:
    using Plane = std::vector<Sample>;
    // Looked up by views: a pixel's access names its plane, and must not build a string for it.
    using PlaneTable = std::map<std::string, std::shared_ptr<Plane>, std::less<>>;

    ToyPicturePlanes() = default;
    ToyPicturePlanes(std::uint32_t width, std::uint32_t height) : ToyPicture(width, height) {}
    // The other's size, no planes.
    explicit ToyPicturePlanes(const ToyPicture& other) : ToyPicture(other) {}
    // The size and the plane table: the copy refers to the same sample arrays.
    ToyPicturePlanes(const ToyPicturePlanes& other) : ToyPicture(other), planes(other.planes) {}

    const PlaneTable& getPlanes() const { return planes; }

    // The sample (x, y) of the named plane; coordinates past the edge read the edge.
    virtual Sample* valueAddress(std::uint32_t x, std::uint32_t y, std::string_view name);
    const Sample* valueAddress(std::uint32_t x, std::uint32_t y, std::string_view name) const;
    virtual Sample valueBilinear(float u, float v, std::string_view name) const;

    void rotate(const int& mode) override;
    void resize(std::uint32_t newWidth, std::uint32_t newHeight, bool keep) override;
    // Lets go of every plane; arrays another copy still uses stay alive with it.
    void freePlanes() override { planes.clear(); }

protected:
    // A new cleared plane of width × height samples under this name.
    Plane& addPlane(const std::string& name, Sample fill);
    // Copies the other's size and gives this picture its own copy of every plane.
    void copyPlanesFrom(const ToyPicturePlanes& other);
    // The named plane's samples; the name must be one of the kind's planes.
    Plane& plane(std::string_view name) const;

    PlaneTable planes;
};

using ToyPictureUChar = ToyPicturePlanes<std::uint8_t>;
using ToyPictureFloat = ToyPicturePlanes<float>;

extern template class ToyPicturePlanes<std::uint8_t>;
extern template class ToyPicturePlanes<float>;
