// A page type and a loader that only record what the paging core asks of them.
#pragma once

#include "paging/GeometryPage.h"
#include "paging/PageLoader.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

class RecordingPage : public GeometryPage
{
public:
    void init(GeometryPager*) override { ++initCalls; }
    void addEntity(Ogre::Entity*, const Ogre::Vector3&, const Ogre::Quaternion&,
                   const Ogre::Vector3&, const Ogre::ColourValue&) override
    {
        ++entities;
    }
    void build() override { ++builds; }
    void removeEntities() override { entities = 0; }
    void setFade(bool enabled, float visibleDist, float invisibleDist) override
    {
        fadeOn = enabled;
        fadeVisible = visibleDist;
        fadeInvisible = invisibleDist;
    }
    void setVisible(bool visible) override { shown = visible; }

    int initCalls = 0;
    int entities = 0;
    int builds = 0;
    bool shown = false;
    bool fadeOn = false;
    float fadeVisible = 0.0f;
    float fadeInvisible = 0.0f;
};

// Counts live loads per page index and checks that the user data comes back. A place may be
// loaded twice at most: a page scrolled off the grid keeps its entities, hidden, until its
// next load, while another page may load its old place.
class RecordingLoader : public PageLoader
{
public:
    using Index = std::pair<int, int>;

    void loadPage(PageInfo& info) override
    {
        const Index index{info.xIndex, info.zIndex};
        EXPECT_EQ(info.userData, nullptr) << "a page loads afresh";
        EXPECT_LE(live[index], 1) << "page " << index.first << "," << index.second;
        ++live[index];
        ++loads;
        info.userData = &live[index];
    }
    void unloadPage(const PageInfo& info) override
    {
        const Index index{info.xIndex, info.zIndex};
        EXPECT_EQ(info.userData, &live[index]) << "the loader's data comes back";
        EXPECT_GE(live[index], 1) << "unloaded where it was loaded";
        --live[index];
        ++unloads;
    }
    void frameUpdate() override { ++frames; }

    int liveCount() const
    {
        int count = 0;
        for (const auto& entry : live)
            count += entry.second;
        return count;
    }

    std::map<Index, int> live;
    int loads = 0;
    int unloads = 0;
    int frames = 0;
};
