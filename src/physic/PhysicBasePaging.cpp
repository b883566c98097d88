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

void PhysicBase::addStaticShape(std::string& name, nxOgre::NxShapeDesc* shape, const Ogre::Vector3& position)
{
    if (name.empty())
        name = "SRPhysicBase_StaticShape_" + std::to_string(shapeNameCounter++);
    if (staticShapes.count(name))
        return;
    staticShapes[name] = shape;
    shapePositions[name] = position;
    Ogre::Vector3 cellPosition = position;
    unsigned x = 0, z = 0;
    if (getCell(cellPosition, x, z))
        shapeNamesByCell[z * kGridSize + x].push_back(name);
}

void PhysicBase::addStaticActor(const std::string& name, const nxOgre::NxActorDesc& actor,
                                const Ogre::Vector3& position)
{
    if (staticActors.count(name))
        return;
    staticActors[name] = actor;
    actorPositions[name] = position;
    Ogre::Vector3 cellPosition = position;
    unsigned x = 0, z = 0;
    if (getCell(cellPosition, x, z))
        actorNamesByCell[z * kGridSize + x].push_back(name);
}

template <typename Map>
void PhysicBase::forgetName(Map& descriptions, std::map<std::string, Ogre::Vector3>& positions,
                            std::map<unsigned, std::list<std::string>>& namesByCell, const std::string& name)
{
    unloadCells(true);
    descriptions.erase(name);
    const auto position = positions.find(name);
    if (position == positions.end())
        return;
    Ogre::Vector3 cellPosition = position->second;
    unsigned x = 0, z = 0;
    if (getCell(cellPosition, x, z))
    {
        auto& names = namesByCell[z * kGridSize + x];
        const auto found = std::find(names.begin(), names.end(), name);
        if (found != names.end())
            names.erase(found);
    }
    positions.erase(position);
}

void PhysicBase::removeStaticShape(const std::string& name)
{
    forgetName(staticShapes, shapePositions, shapeNamesByCell, name);
}

void PhysicBase::removeStaticActor(const std::string& name)
{
    forgetName(staticActors, actorPositions, actorNamesByCell, name);
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
    const auto shapes = shapeNamesByCell.find(cellIndex);
    const auto actors = actorNamesByCell.find(cellIndex);
    const bool hasShapes = shapes != shapeNamesByCell.end() && !shapes->second.empty();
    const bool hasActors = actors != actorNamesByCell.end() && !actors->second.empty();
    if (!hasShapes && !hasActors)
        return false;
    const nxOgre::NxActorGroup staticGroup = scene->findGroupIndex("static");
    std::vector<nxOgre::NxActor*>& created = createdActors[cellIndex];
    if (hasShapes)
    {
        debugLog() << "create paged shape: " << shapes->second.size() << std::endl;
        for (const std::string& name : shapes->second)
        {
            nxOgre::NxActorDesc desc;
            desc.name = name;
            desc.shapes.push_back(staticShapes[name]);
            desc.globalPose = nxOgre::NxPose(toPhysics(shapePositions[name]), nxOgre::NxQuat());
            if (nxOgre::NxActor* actor = scene->createActor(desc))
            {
                actor->setGroup(staticGroup);
                created.push_back(actor);
            }
        }
    }
    if (hasActors)
    {
        debugLog() << "create paged actor: " << actors->second.size() << std::endl;
        for (const std::string& name : actors->second)
            if (nxOgre::NxActor* actor = scene->createActor(staticActors[name]))
            {
                actor->setGroup(staticGroup);
                created.push_back(actor);
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
    actorPositions.clear();
    actorNamesByCell.clear();
}

std::size_t PhysicBase::getPagedActorCount() const
{
    std::size_t count = 0;
    for (const auto& cell : createdActors)
        count += cell.second.size();
    return count;
}
