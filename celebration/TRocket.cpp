#include "celebration/TRocket.h"

namespace {

constexpr uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue) { return red | (green << 8) | (blue << 16); }

constexpr TRocket makeBasic() {
    TRocket r;
    r.Name = "Basic";
    r.Mass = 1.0;
    r.Position = VecMake(200.0, 2.0, 0.0);
    r.Thrust = VecMake(0.0, 88.0, 0.0);
    r.ThrustForce = 88.0;
    r.LaunchAngle = 8.0;
    r.RandomAngle = true;
    r.Radius = 0.1;
    r.Color = rgb(0, 0, 255);
    r.Jitter = 2.0;
    r.Life = 10.0;
    r.Stages[0] = TStage{1.0, rgb(255, 0, 0)};
    for (int i = 1; i < StageCount; ++i)
        r.Stages[i] = TStage{0.0, rgb(255, 0, 0)};
    r.StarColor = rgb(255, 0, 255);
    for (int i = 0; i < StageCount; ++i)
        r.StarStages[i] = TStage{0.6, rgb(uint32_t(51 * i), 0, 255)};
    r.StarGrid = true;
    r.StarCount = 35;
    r.Fuse = 5.5;
    r.StarJitter = 1.0;
    r.StarSpeed = 30.0;
    r.StarSpeedRange = 2.0;
    return r;
}

constexpr TRocket makeStar() {
    TRocket r;
    r.Mass = 0.05;
    r.Radius = 0.05;
    return r;
}

constexpr TRocket makeSpark() {
    TRocket r;
    r.Mass = 0.0001;
    r.Radius = 0.01;
    r.Jitter = 2.0;
    return r;
}

constexpr TRocket makeEarth() {
    TRocket r;
    r.Mass = 5.8e24;
    r.Radius = 6378160.0;
    return r;
}

} // namespace

// constexpr definitions: the records are ready before any other file's start-up code runs.
extern constexpr TRocket BasicTemplate = makeBasic();
extern constexpr TRocket StarTemplate = makeStar();
extern constexpr TRocket SparkTemplate = makeSpark();
extern constexpr TRocket EarthTemplate = makeEarth();
