// A named physics material: bounce and friction, reached by its 16-bit index from shapes
// and from every triangle of a mesh.
#pragma once

#include <cstdint>
#include <string>

namespace nxOgre
{

using NxMaterialIndex = std::uint16_t;

// Material flag: the material has no friction at all (tyres, whose grip is the wheel's).
constexpr unsigned NX_MF_DISABLE_FRICTION = 16;

class material
{
public:
    material(const std::string& name, NxMaterialIndex index) : materialName(name), materialIndex(index) {}

    const std::string& getName() const { return materialName; }
    NxMaterialIndex getMaterialIndex() const { return materialIndex; }

    void setBounce(float restitution) { bounce = restitution; }
    float getBounce() const { return bounce; }
    void setStaticFriction(float friction) { staticFriction = friction; }
    float getStaticFriction() const { return staticFriction; }
    void setDynamicFriction(float friction) { dynamicFriction = friction; }
    float getDynamicFriction() const { return dynamicFriction; }
    void setFlags(unsigned materialFlags) { flags = materialFlags; }
    unsigned getFlags() const { return flags; }

    // The single friction coefficient a contact solver uses: Bullet knows no static/dynamic pair.
    float getContactFriction() const;

private:
    std::string materialName;
    NxMaterialIndex materialIndex;
    float bounce = 0.0f;
    float staticFriction = 0.5f;
    float dynamicFriction = 0.5f;
    unsigned flags = 0;
};

}
