// The paging scene's page loader: a fixed forest of trees scattered with a fixed seed,
// sorted by page, each tree tinted a little differently.
#pragma once

#include "paging/PageLoader.h"
#include "paging/TBounds.h"

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreVector.h>

#include <map>
#include <utility>
#include <vector>

class ForestLoader : public PageLoader
{
public:
    ForestLoader(Ogre::Entity* tree, const TBounds& area, int treeCount, float pageSize);

    void loadPage(PageInfo& page) override;
    void unloadPage(const PageInfo&) override { ++unloads; }

    int loads = 0;
    int unloads = 0;

private:
    struct Tree
    {
        Ogre::Vector3 position;
        float yawDegrees;
        float scale;
        Ogre::ColourValue tint;
    };

    Ogre::Entity* tree;  // not owned
    std::map<std::pair<int, int>, std::vector<Tree>> treesByPage;
};
