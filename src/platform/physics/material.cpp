// Physics material values.
#include "platform/physics/material.h"

namespace nxOgre
{

float material::getContactFriction() const
{
    if (flags & NX_MF_DISABLE_FRICTION)
        return 0.0f;
    // Bullet's contacts stick below the limit and slide at it: the middle of the pair
    // keeps both resting and sliding behaviour close to what the values describe.
    return 0.5f * (staticFriction + dynamicFriction);
}

}
