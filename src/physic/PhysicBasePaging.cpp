// The paged store of PhysicBase: static shapes and actors sorted into a 32 × 32 grid,
// created in the physics scene only for the cells around awake bodies.
#include "physic/PhysicBase.h"

#include "LogStream.h"
#include "physic/PhysicsConversions.h"

#include <algorithm>

namespace
{
constexpr float kCellSize = PhysicBase::kWorldSize / PhysicBase::kGridSize;  // units
}

bool PhysicBase::getCell(Ogre::Vector3& position, unsigned& x, unsigned& z) const
{
    position /= kCellSize;
    // Truncation toward zero: -0.4 is column 0, -1.04 is outside.
    const float cellX = std::trunc(position.x);
    const float cellZ = std::trunc(position.z);
    if (cellX < 0.0f || cellZ < 0.0f || cellX >= kGridSize || cellZ >= kGridSize)
        return false;
    x = static_cast<unsigned>(cellX);
    z = static_cast<unsigned>(cellZ);
    return true;
}

std::optional<unsigned> PhysicBase::cellOf(const Ogre::Vector3& position) const
{
    Ogre::Vector3 cellPosition = position;
    unsigned x = 0, z = 0;
    if (!getCell(cellPosition, x, z))
        return std::nullopt;
    return z * kGridSize + x;
}

void PhysicBase::addStaticShape(std::string& name, nxOgre::NxShapeDesc* shape, const Ogre::Vector3& position)
{
    if (name.empty())
        name = "SRPhysicBase_StaticShape_" + std::to_string(shapeNameCounter++);
    staticShapes.add(name, shape, position, cellOf(position));
}

void PhysicBase::addStaticActor(const std::string& name, const nxOgre::NxActorDesc& actor,
                                const Ogre::Vector3& position)
{
    // The store's key is the name; the description's own copy is made only for the actor.
    nxOgre::NxActorDesc stored = actor;
    stored.name.clear();
    stored.name.shrink_to_fit();
    staticActors.add(name, std::move(stored), position, cellOf(position));
}

void PhysicBase::removeStaticShape(const std::string& name)
{
    unloadCells(true);
    staticShapes.remove(name);
}

void PhysicBase::removeStaticActor(const std::string& name)
{
    unloadCells(true);
    staticActors.remove(name);
}

void PhysicBase::setPaging(bool on)
{
    paging = on;
    if (on)
    {
        updateCells(false);
        unloadCells(false);
    }
    else
        updateCells(true);
}

void PhysicBase::pagingUpdate()
{
    if (!paging)
        return;
    updateCells(false);
    unloadCells(false);
}

bool PhysicBase::loadCell(unsigned cellIndex)
{
    if (!scene)
        return false;
    // Most cells around a car hold nothing: answer those without touching the scene.
    const auto& shapes = staticShapes.inCell(cellIndex);
    const auto& actors = staticActors.inCell(cellIndex);
    if (shapes.empty() && actors.empty())
        return false;
    const nxOgre::NxActorGroup staticGroup = scene->findGroupIndex("static");
    std::vector<nxOgre::NxActor*>& created = createdActors[cellIndex];
    if (!shapes.empty())
    {
        debugLog() << "create paged shape: " << shapes.size() << std::endl;
        for (const auto* entry : shapes)
        {
            nxOgre::NxActorDesc desc;
            desc.name = entry->first;
            desc.shapes.push_back(entry->second.description);
            desc.globalPose = nxOgre::NxPose(toPhysics(entry->second.position), nxOgre::NxQuat());
            if (nxOgre::NxActor* actor = scene->createActor(desc))
            {
                actor->setGroup(staticGroup);
                created.push_back(actor);
            }
        }
    }
    if (!actors.empty())
    {
        debugLog() << "create paged actor: " << actors.size() << std::endl;
        nxOgre::NxActorDesc desc;
        for (const auto* entry : actors)
        {
            desc = entry->second.description;
            desc.name = entry->first;
            if (nxOgre::NxActor* actor = scene->createActor(desc))
            {
                actor->setGroup(staticGroup);
                created.push_back(actor);
            }
        }
    }
    if (created.empty())
        createdActors.erase(cellIndex);
    return true;
}

void PhysicBase::visitCell(unsigned cellIndex)
{
    if (loadedCells[cellIndex])
        neededCells[cellIndex] = 1;
    else if (loadCell(cellIndex))
    {
        loadedCells[cellIndex] = neededCells[cellIndex] = 1;
        loadedCellList.push_back(cellIndex);
    }
}

void PhysicBase::updateCells(bool loadAll)
{
    // Only loaded cells are ever marked needed: clearing those clears all.
    for (unsigned cell : loadedCellList)
        neededCells[cell] = 0;
    if (loadAll)
    {
        for (unsigned cell = 0; cell < kGridSize * kGridSize; ++cell)
            visitCell(cell);
        return;
    }
    sleepingBodies.clear();
    if (!scene)
        return;
    for (nxOgre::body* body : scene->getActiveBodies())
    {
        if (body->isSleeping())
        {
            sleepingBodies.push_back(body);
            continue;
        }
        Ogre::Vector3 position = toOgre(body->getGlobalPosition());
        unsigned x = 0, z = 0;
        if (!getCell(position, x, z))
            continue;
        for (int cz = static_cast<int>(z) - 1; cz <= static_cast<int>(z) + 1; ++cz)
            for (int cx = static_cast<int>(x) - 1; cx <= static_cast<int>(x) + 1; ++cx)
                if (cx >= 0 && cz >= 0 && cx < static_cast<int>(kGridSize) && cz < static_cast<int>(kGridSize))
                    visitCell(static_cast<unsigned>(cz) * kGridSize + static_cast<unsigned>(cx));
    }
}

void PhysicBase::unloadCells(bool forced)
{
    if (createdActors.empty())
        return;
    // A pass over the loaded cells only, not the whole grid, every step.
    std::size_t kept = 0;
    for (unsigned cell : loadedCellList)
    {
        if (neededCells[cell] && !forced)
        {
            loadedCellList[kept++] = cell;
            continue;
        }
        const auto created = createdActors.find(cell);
        if (created != createdActors.end())
        {
            debugLog() << "delete paged actors: " << created->second.size() << std::endl;
            for (nxOgre::NxActor* actor : created->second)
                scene->releaseActor(actor);
            createdActors.erase(created);
        }
        loadedCells[cell] = neededCells[cell] = 0;
    }
    loadedCellList.resize(kept);
    // Whatever rested on the released actors must not wake up and fall.
    for (nxOgre::body* body : sleepingBodies)
        body->putToSleep();
}

void PhysicBase::clearPagedActors()
{
    for (auto& cell : createdActors)
        for (nxOgre::NxActor* actor : cell.second)
            if (scene)
                scene->releaseActor(actor);
    createdActors.clear();
    // Their cells hold nothing now: a later update must be able to load them again.
    std::fill(loadedCells.begin(), loadedCells.end(), 0);
    std::fill(neededCells.begin(), neededCells.end(), 0);
    loadedCellList.clear();
    staticActors.clear();
}

std::size_t PhysicBase::getPagedActorCount() const
{
    std::size_t count = 0;
    for (const auto& cell : createdActors)
        count += cell.second.size();
    return count;
}
