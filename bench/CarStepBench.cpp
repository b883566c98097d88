// One fixed physics step and one frame of the whole player's car, the shipped Roadster with
// its vehicle, wheels, sounds (OpenAL's silent device), smoke, tyre tracks, shade rays and
// brake lights, circling on a flat floor: steady driving, and sliding on the handbrake with
// every effect at work. Reports microseconds per step; the budget of a step is 10 ms.
#include "CarScene.h"

#include <OGRE/OgreParticleSystem.h>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace
{
void runCar(benchmark::State& state, bool sliding)
{
    CarScene scene;
    const auto desc = CarScene::roadster();
    auto car = scene.makeCar(*desc, Ogre::Vector3(500, 0, 500));
    scene.run(*car, 0.5f);
    car->setThrottle(1.0f);
    scene.run(*car, 3.0f);
    double mostParticles = 0.0;
    bool handbrake = false;
    for (auto _ : state)
    {
        // Round in circles on the endless floor; sliding, the handbrake comes on above 50 km/h
        // and goes off below 20, so the smoke and tracks come and go.
        car->setDigitalLeft(true);
        if (sliding && handbrake != (car->getSpeedKmh() > 20.0f))
            handbrake = car->getSpeedKmh() > 50.0f;
        car->setHandbrake(handbrake);
        car->setThrottle(handbrake ? 0.0f : sliding ? 1.0f : 0.6f);
        scene.step(*car);
        scene.frame(*car);
        size_t particles = 0;
        for (const Ogre::ParticleSystem* system : car->getSmokeSystems())
            particles += system ? system->getNumParticles() : 0;
        mostParticles = std::max(mostParticles, static_cast<double>(particles));
    }
    state.counters["most_particles"] = mostParticles;
}

void BM_CarStepDriving(benchmark::State& state)
{
    runCar(state, false);
}

void BM_CarStepSliding(benchmark::State& state)
{
    runCar(state, true);
}
}

BENCHMARK(BM_CarStepDriving)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_CarStepSliding)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK_MAIN();
