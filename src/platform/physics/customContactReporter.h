// Told of every reported contact pair after each step; the pair under examination is in
// currentPair while onContact runs.
#pragma once

#include "platform/physics/NxContactPair.h"

namespace nxOgre
{

class body;

class customContactReporter
{
public:
    virtual ~customContactReporter() = default;
    // a and b are the pair's bodies, null for static actors. The return value tells
    // whether the reporter took an interest in the pair.
    virtual bool onContact(body* a, body* b) = 0;

    const NxContactPair* currentPair = nullptr;
};

}
