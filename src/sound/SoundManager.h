// The sound facade: one static object, constructed before main, that owns the sound
// system, the node sounds that follow scene nodes, and the listener.
#pragma once

class SoundManager
{
public:
    static SoundManager* getInstance();

    // Once per frame: moves the listener with the camera rig and updates every sound.
    void update();
    // Forgets every node sound without deleting it (an engine restart drops the scene nodes).
    void clearNodeSounds();

private:
    SoundManager() = default;
    static SoundManager instance;
};
