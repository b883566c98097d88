// The loading screen: shows the race scene's captions while it loads the chosen track,
// then hands over to the race; a track that fails to load leads back to the track choice.
#pragma once

#include "gui/MenuState.h"
#include "track/MapDescription.h"

class LoadState : public MenuState
{
public:
    static LoadState* getInstance();

    void setMapDescription(const MapDescription& description) { map = description; }
    const MapDescription& getMapDescription() const { return map; }

    // Loads the whole track and changes to the race before it returns.
    void enter() override;
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

private:
    LoadState() = default;

    MapDescription map;
    static LoadState instance;
};
