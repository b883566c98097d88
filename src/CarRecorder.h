// Records the player's run for the ghost: a frame of the car's pose and wheels every few
// physics steps, into a recording that can be saved as the track's ghost file.
#pragma once

#include "CarStateWriter.h"

#include <memory>
#include <string>
#include <vector>

class Car;
class Wheel;

class CarRecorder
{
public:
    static constexpr int kRaceInterval = 10;  // physics steps between two frames: 0.1 s

    // The car is borrowed and must outlive the recording steps.
    CarRecorder(Car* car, int intervalSteps);
    virtual ~CarRecorder();

    // A new recording, its first frame taken at once; nothing while recording.
    void start();
    // Called every physics step: a frame every interval.
    void record();
    // The recording stays and can still be saved.
    void stop() { recording = false; }
    bool isRecording() const { return recording; }
    // Writes the recording whole or not at all; false with the reason.
    bool save(const std::string& path, std::string* error = nullptr) const;
    const CarStateWriter* getRecording() const { return states.get(); }

    // The frame keys of wheel i: "w<i>y", "w<i>steer", "w<i>roll".
    static std::string wheelKey(std::size_t wheel, const char* value);

private:
    void addFrame();

    Car* car;
    std::unique_ptr<CarStateWriter> states;
    bool recording = false;
    int intervalSteps;
    int stepCounter = 0;
    std::vector<Wheel*> wheels;
};
