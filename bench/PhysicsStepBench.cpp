// One fixed physics step of a car on four raycast wheels driving over a ground mesh of
// about 50,000 triangles, for the test car alone and for the shipped Roadster with its whole
// vehicle model; reports microseconds per step and the share of the 10 ms budget.
#include "RoadsterDrive.h"
#include "TestCar.h"
#include "platform/physics/scene.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace
{
constexpr int kCellsPerSide = 158;         // 2 × 158² = 49,928 triangles
constexpr float kGroundSize = 800.0f;      // units per side
constexpr double kStepBudgetUs = 10000.0;  // one step of 0.01 s in real time

nxOgre::NxTriangleMeshPtr gentleHills()
{
    nxOgre::NxTriangleMeshDesc desc;
    const float cell = kGroundSize / kCellsPerSide;
    for (int i = 0; i <= kCellsPerSide; ++i)
        for (int j = 0; j <= kCellsPerSide; ++j)
        {
            const float x = -kGroundSize / 2 + i * cell, z = -kGroundSize / 2 + j * cell;
            desc.points.insert(desc.points.end(), {x, 0.3f * std::sin(x / 37.0f) * std::sin(z / 53.0f), z});
        }
    for (std::uint32_t i = 0; i < kCellsPerSide; ++i)
        for (std::uint32_t j = 0; j < kCellsPerSide; ++j)
        {
            const std::uint32_t a = i * (kCellsPerSide + 1) + j, b = a + 1, c = a + kCellsPerSide + 1, d = c + 1;
            desc.triangles.insert(desc.triangles.end(), {a, b, c, b, d, c});
        }
    return nxOgre::NxTriangleMesh::create(desc, nullptr);
}

void BM_FixedStepOneCarOnMesh(benchmark::State& state)
{
    nxOgre::world physics(0, 1, "");
    nxOgre::scene* scene = testcar::makeGameScene(physics, false);
    nxOgre::NxTriangleMeshShapeDesc ground;
    ground.meshData = gentleHills();
    nxOgre::NxActorDesc groundActor;
    groundActor.shapes = {&ground};
    scene->createActor(groundActor);
    testcar::Car car = testcar::makeCar(*scene, "car", btVector3(0, 0.3f, 0));
    const nxOgre::FrameEvent step{testcar::kStep, testcar::kStep};
    for (int i = 0; i < 100; ++i)
        physics.frameStarted(step);
    // Cruise in a wide circle at about 80 km/h so the wheels keep crossing triangles.
    car.setSteer(0.05f);
    for (auto _ : state)
    {
        car.setMotor(car.forwardSpeed() < 22.0f ? 600.0f : 0.0f);
        physics.frameStarted(step);
    }
    state.counters["triangles"] = static_cast<double>(ground.meshData->getTriangleCount());
    state.counters["speed_kmh"] = car.forwardSpeed() * 3.6;
}
BENCHMARK(BM_FixedStepOneCarOnMesh)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_FixedStepRoadsterOnMesh(benchmark::State& state)
{
    RoadsterDrive drive(std::string(QUILLMOR_BUILD_DIR) + "/media", "Roadster.xml", testcar::kStep, false);
    nxOgre::NxTriangleMeshShapeDesc ground;
    ground.meshData = gentleHills();
    nxOgre::NxActorDesc groundActor;
    groundActor.shapes = {&ground};
    drive.scene().createActor(groundActor);
    drive.place(btVector3(0, 0.3f, 0));
    drive.run(1.0f);
    // A wide circle at about 80 km/h, steered directly so the assist stays out of it.
    drive.inputs.digitalSteer = false;
    drive.inputs.steer = 0.3f;
    for (auto _ : state)
    {
        drive.inputs.throttle = drive.forwardKmh() < 80.0f ? 0.6f : 0.05f;
        drive.step();
    }
    state.counters["speed_kmh"] = drive.forwardKmh();
}
BENCHMARK(BM_FixedStepRoadsterOnMesh)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// The console table, then each run's time per step against the budget.
struct BudgetReporter : benchmark::ConsoleReporter
{
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
        {
            const double us = run.GetAdjustedRealTime();  // in the benchmark's unit, µs
            GetOutputStream() << run.benchmark_name() << ": " << us << " us per step, ratio to the 10 ms budget "
                              << us / kStepBudgetUs << "\n";
        }
    }
};
}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
