// The tyre tracks of one wheel: pairs of world points (the two edges of the mark) built
// into textured quad strips of bounded length, keeping a bounded number of strips.
#pragma once

#include <OGRE/OgreVector.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class SceneManager;
class SceneNode;
}
class DynamicQuads;

class LineManager
{
public:
    // The car's wheels use at most 100 strips of at most 40 pairs before a new one begins.
    LineManager(Ogre::SceneManager* sceneManager, const std::string& name, std::uint32_t maximumStrips,
                std::uint32_t maximumPairs);
    // Destroys every strip and its scene node.
    virtual ~LineManager();

    // Adds one pair; a full strip is closed with it and the same pair opens the next strip.
    void addLine(const Ogre::Vector3& a, const Ogre::Vector3& b);
    // The mark is interrupted: the next pair starts a strip that does not join this one.
    void clear();

    static constexpr const char* kMaterialName = "Examples/Rubber";
    static constexpr const char* kNodePrefix = "trackLines";

protected:
    // Appends the pair to the current strip and rewrites it whole.
    void updateLastStrip(const Ogre::Vector3& a, const Ogre::Vector3& b);
    // Opens a new strip, dropping the oldest when the maximum is reached.
    void createStrip();

private:
    void destroyOldestStrip();

    std::string name;  // given by the owner; not otherwise used
    Ogre::SceneManager* sceneManager;
    std::vector<Ogre::Vector3> leftPoints;
    std::vector<Ogre::Vector3> rightPoints;
    std::deque<std::unique_ptr<DynamicQuads>> strips;  // oldest first
    std::deque<Ogre::SceneNode*> stripNodes;           // parallel to strips
    bool newStrip = true;
    std::uint32_t maximumStrips;
    std::uint32_t maximumPairs;

    static std::uint32_t stripCounter;  // numbers the strip nodes of the whole run
};
