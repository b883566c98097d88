// The race's sky: a day clock driving the sun, the starfield, the dome's colours and the
// scene's fog, updated at every frame start, and moved to each viewport's camera before
// it is drawn. Owned by the race scene; shutdown releases the elements.
#pragma once

#include <OGRE/OgreFrameListener.h>
#include <OGRE/OgreRenderTargetListener.h>

#include <memory>
#include <set>
#include <string>

namespace Ogre
{
class Root;
class SceneManager;
}

namespace sky
{
class DayClock;
class SkyColourModel;
class SkyDome;
class SkyListener;
class Starfield;
class Sun;

class SkySystem : public Ogre::FrameListener, public Ogre::RenderTargetListener
{
public:
    // Registers with the root as a frame listener. An element that cannot be built undoes
    // the whole set-up and its exception leaves the constructor.
    SkySystem(Ogre::Root* root, Ogre::SceneManager* sceneManager, bool createResourceGroup,
              const std::string& resourceGroupName, bool createSkyDome, bool createSun, bool createStarfield);
    ~SkySystem() override;
    SkySystem(const SkySystem&) = delete;
    SkySystem& operator=(const SkySystem&) = delete;

    // Releases the elements, the clock and the resource group this system made; the caller
    // removes the system from the window's listeners first.
    void shutdown(bool detachFromRoot);

    SkyDome* createSkyDome();
    Sun* createSun();
    // Makes the starfield when there is none; either way it shows the texture.
    Starfield* createStarfield(const std::string& textureName);
    void destroySkyDome();
    void destroySun();
    void destroyStarfield();

    DayClock* getDayClock() const { return dayClock.get(); }
    SkyDome* getSkyDome() const { return skyDome.get(); }
    Sun* getSun() const { return sun.get(); }
    Starfield* getStarfield() const { return starfield.get(); }
    void setManageFog(bool manage) { manageFog = manage; }
    bool isFogManaged() const { return manageFog; }
    // Borrowed: the caller keeps and deletes the model.
    void setSkyColourModel(SkyColourModel* model);
    SkyColourModel* getSkyColourModel() const { return colourModel; }
    void addListener(SkyListener* listener) { listeners.insert(listener); }
    void removeListener(SkyListener* listener) { listeners.erase(listener); }
    bool ownsResourceGroup() const { return resourceGroupCreated; }

    bool frameStarted(const Ogre::FrameEvent& event) override;
    void preViewportUpdate(const Ogre::RenderTargetViewportEvent& event) override;

private:
    bool fireUpdateStarted(const Ogre::FrameEvent& event);
    bool fireUpdateFinished(const Ogre::FrameEvent& event);

    Ogre::Root* root;
    Ogre::SceneManager* sceneManager;
    bool resourceGroupCreated = false;
    bool registeredWithRoot = false;
    std::set<SkyListener*> listeners;  // borrowed
    std::unique_ptr<DayClock> dayClock;
    std::unique_ptr<SkyDome> skyDome;
    SkyColourModel* colourModel = nullptr;
    bool manageFog = false;
    std::unique_ptr<Sun> sun;
    std::unique_ptr<Starfield> starfield;
};
}
