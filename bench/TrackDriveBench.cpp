// One fixed physics step of the shipped Roadster driving laps of the built-in test loop,
// loaded whole as a race loads it (tiles, lightmaps, boundaries, terrain collision): paging,
// the world's step, the car's step and the checkpoint tracker. The scripted driver's own
// work is left out of the time. The same step with the PID computer driver at the wheel
// counts the driver and its track follower in, and reports their share and the step's
// simulated length. Also reports the process's peak memory (VmHWM) with the
// loaded track and the car; run alone, that is the race's peak.
#include "ai/AiTrackFollower.h"
#include "ai/PIDOperationalAI.h"
#include "physic/Car.h"
#include "track/CheckPointTracker.h"

#include "support/CarScene.h"
#include "support/OfflineEngine.h"
#include "support/SplineDriver.h"
#include "support/TrackDriveScene.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

namespace
{
constexpr float kCruiseKmh = 60.0f;
constexpr float kBendKmh = 35.0f;

double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10) / 1024.0;
    return -1.0;
}

void BM_RoadsterStepOnTestLoop(benchmark::State& state)
{
    OfflineEngine::loadImageCodecs();
    TrackDriveScene race("TestLoop.map");
    const auto desc = CarScene::roadster();
    auto car = race.makeCarAfterTheCountdown(*desc);
    auto driver = std::make_unique<SplineDriver>(*race.track().getTrackSpline(), kCruiseKmh, kBendKmh);
    int laps = 0;
    for (auto _ : state)
    {
        driver->drive(*car);
        const auto begin = std::chrono::steady_clock::now();
        const bool racing = race.step(*car);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        if (!racing)
        {
            // Over the line: the next lap from where the car is, the start.
            ++laps;
            race.track().getCheckPointTracker()->reset();
            driver = std::make_unique<SplineDriver>(*race.track().getTrackSpline(), kCruiseKmh, kBendKmh);
        }
    }
    state.counters["laps"] = laps;
    state.counters["speed_kmh"] = car->getSpeedKmh();
    state.counters["peak_MB"] = peakMegabytes();
    car.reset();
}

void BM_PIDDriverStepOnTestLoop(benchmark::State& state)
{
    OfflineEngine::loadImageCodecs();
    TrackDriveScene race("TestLoop.map");
    const auto desc = CarScene::roadster();
    auto car = race.makeCarAfterTheCountdown(*desc);
    PIDOperationalAI driver;
    driver.setCar(car.get());
    AiTrackFollower follower;
    follower.setOperationalAI(&driver);
    follower.setCar(driver.getAiCar());
    follower.setTrackSpline(race.track().getTrackSpline());
    int laps = 0;
    double driverSeconds = 0.0;
    for (auto _ : state)
    {
        const auto begin = std::chrono::steady_clock::now();
        follower.update(TrackDriveScene::kStep);
        const auto driven = std::chrono::steady_clock::now();
        const bool racing = race.step(*car);
        const auto end = std::chrono::steady_clock::now();
        driverSeconds += std::chrono::duration<double>(driven - begin).count();
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
        if (!racing)
        {
            ++laps;
            race.track().getCheckPointTracker()->reset();
            follower.setDistance(0.0f);
        }
    }
    state.counters["laps"] = laps;
    state.counters["driver_us"] = benchmark::Counter(driverSeconds * 1e6 / state.iterations());
    // The simulated time of one step: a step's time over it is the time per simulated second.
    state.counters["step_ms"] = TrackDriveScene::kStep * 1000.0;
    driver.setCar(nullptr);
    car.reset();
}
}

BENCHMARK(BM_RoadsterStepOnTestLoop)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(5.0);
BENCHMARK(BM_PIDDriverStepOnTestLoop)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(5.0);
BENCHMARK_MAIN();
