#include <cmath>
#include <set>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "cards/TRandom.h"
#include "celebration/FireworksLib.h"

namespace {

constexpr uint32_t Red = 0x0000FF, Green = 0x00FF00;

// A particle with nothing going on: no stages, no fuse, no jitter, never ageing.
TRocket quietParticle(TVector3 position = VecMake(100, 50, 0)) {
    TRocket p = SparkTemplate;
    p.Jitter = 0;
    p.Position = position;
    return p;
}

TRocket physicsStep(TRocket p, double dt = 0.1) {
    TRocket earth = EarthTemplate;
    earth.Position.x = p.Position.x;
    TFireworks::PhysicsStep(p, earth, dt);
    return p;
}

TEST(FireworksPhysics, GravityDragAndThrust) {
    TRocket spark = quietParticle(VecMake(10, 2, 0)), rocket = spark, moving = quietParticle(VecMake(10, 100, 0));
    rocket.Mass = 1.0;
    rocket.Thrust = VecMake(0, 88, 0);
    moving.Velocity = VecMake(10, 0, 0);
    // Gravity near the ground is about 9.51 whatever the mass; drag is zero at rest and
    // 0.6465 * 10^2 * (pi * 0.01^2) * 0.08 / 0.0001 = 16.25 against a spark at 10 units/s.
    const struct { TRocket particle; TVector3 acceleration; } cases[] = {
        {spark, {0, -9.5097, 0}}, {rocket, {0, 88 - 9.5097, 0}}, {moving, {-16.2485, -9.5094, 0}}};
    for (const auto& c : cases) {
        const TRocket p = physicsStep(c.particle);
        EXPECT_NEAR(VecLength(VecSub(p.Acceleration, c.acceleration)), 0.0, 1e-3);
        const TVector3 v = VecAdd(c.particle.Velocity, VecScale(p.Acceleration, 0.1));
        EXPECT_NEAR(VecLength(VecSub(p.Position, VecAdd(c.particle.Position, VecScale(v, 0.1)))), 0.0, 1e-12);
    }
    const TRocket fallen = physicsStep(spark);
    EXPECT_NEAR(fallen.Velocity.y, -0.951, 5e-4);
    EXPECT_NEAR(fallen.Position.y, 1.905, 5e-4);
}

TEST(FireworksBurst, StarCountsAndDirections) {
    const struct { bool grid; int32_t count; int stars; } cases[] = {
        {true, 35, 49}, {true, 6, 9}, {true, 2, 4}, {true, 0, 1}, {false, 12, 12}, {false, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "grid " << c.grid << " count " << c.count);
        TFireworks fw;
        TRocket rocket = BasicTemplate;
        rocket.StarGrid = c.grid;
        rocket.StarCount = c.count;
        rocket.Velocity = VecMake(1, 2, 3);
        fw.Burst(rocket);
        ASSERT_EQ(fw.Rockets.Count(), c.stars);
        const int across = c.grid ? int(std::lround(std::sqrt(c.stars))) : c.stars;
        for (int i = 0; i < c.stars; ++i) {
            // Star i of a grid has the angles (i div across, i mod across) x 360 / across; a ring
            // lies flat with angle2 = 0.
            const TVector3 kick = VecSub(fw.Rockets[i].Velocity, rocket.Velocity);
            const double speed = VecLength(kick);
            EXPECT_TRUE(speed >= 30.0 && speed < 32.0) << speed;
            const TVector3 expected = c.grid ? VecFromAngles({}, (i / across) * 360.0 / across, (i % across) * 360.0 / across, speed)
                                             : VecFromAngles({}, i * 360.0 / c.count, 0, speed);
            EXPECT_NEAR(VecLength(VecSub(kick, expected)), 0.0, 1e-9) << i;
        }
    }
}

TEST(FireworksBurst, FuseTurnsTheRocketIntoStarsAndASpentShell) {
    TFireworks fw;
    TRocket rocket = BasicTemplate;
    rocket.Fuse = 0.1;
    rocket.Position = VecMake(300, 200, 1);
    fw.Rockets.Add(rocket);
    GameRandom().Seed = 99;
    TRandom replica(99);
    fw.UpdateParticle(0, 0.1);

    // The rocket, its 49 stars, then the spark of its still-burning motor stage.
    ASSERT_EQ(fw.Rockets.Count(), 1 + 49 + 1);
    EXPECT_EQ(fw.Rockets[0].Color, 0x808080u);
    EXPECT_EQ(fw.Rockets[0].Mass, 0.5);
    EXPECT_EQ(fw.Rockets[0].Radius, 0.05);
    for (int i = 1; i <= 49; ++i) {
        const TRocket& star = fw.Rockets[i];
        const double speed = 30.0 + replica.RandomReal() * 2.0; // each star draws speed, then life
        EXPECT_NEAR(VecLength(star.Velocity), speed, 1e-9);
        EXPECT_EQ(star.Life, 7.5 + replica.RandomInt(5));
        EXPECT_TRUE((std::set<double>{7.5, 8.5, 9.5, 10.5, 11.5}.count(star.Life)));
        EXPECT_TRUE(star.Color == BasicTemplate.StarColor && star.Jitter == BasicTemplate.StarJitter &&
                    star.Stages[3].Color == BasicTemplate.StarStages[3].Color && star.Mass == 0.05 &&
                    star.Position == rocket.Position && star.Thrust == TVector3{} && star.Fuse <= 0);
    }
    const TRocket& spark = fw.Rockets[50];
    EXPECT_TRUE(spark.Color == Red && spark.Position == rocket.Position && spark.Life >= 7.5 && spark.Life < 12.5);
    for (int draw = 0; draw < 4; ++draw) // the spark's x, y, z offsets and its life
        replica.Next();
    EXPECT_EQ(GameRandom().Seed, replica.Seed);

    for (int step = 0; step < 100; ++step) // a star sheds, but never bursts
        fw.UpdateParticle(1, 0.1);
    EXPECT_EQ(fw.Rockets.Count(), 51 + 36);
}

TEST(FireworksStages, StagesRunInTurnAndTheMotorStopsWithTheFirst) {
    TFireworks fw;
    TRocket p = quietParticle();
    p.Thrust = VecMake(0, 50, 0);
    p.Stages[0] = TStage{0.25, Red};
    p.Stages[1] = TStage{0.25, Green};
    fw.Rockets.Add(p);
    // With dt 0.125 a stage sheds once, sheds nothing in the step it runs out, and the next
    // stage sheds from the step after.
    const struct { bool shed; uint32_t colour; bool thrust; } steps[] = {
        {true, Red, true}, {false, 0, false}, {true, Green, false}, {false, 0, false}, {false, 0, false}};
    for (const auto& step : steps) {
        const int before = fw.Rockets.Count();
        fw.UpdateParticle(0, 0.125);
        ASSERT_EQ(fw.Rockets.Count() - before, step.shed ? 1 : 0);
        if (step.shed) {
            EXPECT_EQ(fw.Rockets[fw.Rockets.Count() - 1].Color, step.colour);
        }
        EXPECT_EQ(fw.Rockets[0].Thrust.y != 0.0, step.thrust);
    }
}

TEST(FireworksStages, NoFuseNoStagesNoLifeMeansNothingHappens) {
    TFireworks fw;
    for (double fuse : {0.0, -1.0}) {
        TRocket p = quietParticle();
        p.Fuse = fuse;
        p.StarCount = 35;
        fw.Rockets.Add(p);
    }
    for (int frame = 0; frame < 300; ++frame)
        fw.StepAll(0.1);
    ASSERT_EQ(fw.Rockets.Count(), 2); // never burst, never shed, never aged
    EXPECT_EQ(fw.Rockets[0].Life, 0.0);
    EXPECT_LT(fw.Rockets[0].Position.y, 0.0); // but simulated
}

TEST(FireworksLifetime, AgeingAndTheGroundRemoveParticlesInOrder) {
    TFireworks fw;
    const struct { const char* name; double life; } particles[] = {{"a", 0.05}, {"b", 5}, {"c", 0.25}, {"d", 0}, {"e", 0.1}};
    for (const auto& entry : particles) {
        TRocket p = quietParticle();
        p.Name = entry.name;
        p.Life = entry.life;
        fw.Rockets.Add(p);
    }
    auto names = [&] {
        std::string all;
        for (const TRocket& p : fw.Rockets)
            all += p.Name.View();
        return all;
    };
    const char* expected[] = {"bcd", "bcd", "bd"}; // 0.1 - 0.1 leaves no life
    GameRandom().Seed = 5;
    TRandom replica(5);
    for (const char* survivors : expected) {
        fw.StepAll(fw.DeltaT);
        EXPECT_EQ(names(), survivors);
        for (int draw = 0; draw < 3 * fw.Rockets.Count(); ++draw) // jitter of the survivors only
            replica.Next();
        EXPECT_EQ(GameRandom().Seed, replica.Seed);
    }

    // The ground: a bounce with a quarter of the vertical speed, then death at the next contact.
    fw.Rockets[0].Position = VecMake(50, -0.5, 0);
    fw.Rockets[0].Velocity = VecMake(3, -8, 1);
    fw.Rockets[1].Position.y = 0; // touching is not a contact
    fw.GroundCheck();
    EXPECT_EQ(names(), "bd");
    EXPECT_TRUE(fw.Rockets[0].Position == VecMake(50, 0, 0) && fw.Rockets[0].Velocity == VecMake(3, 2, 1));
    EXPECT_EQ(fw.Rockets[0].GroundHits + fw.Rockets[1].GroundHits, 1);
    fw.Rockets[0].Position.y = -0.01;
    fw.GroundCheck();
    EXPECT_EQ(names(), "d");

    EXPECT_THROW(fw.AgeParticle(1), std::out_of_range);
    EXPECT_THROW(fw.Rockets.Delete(-1), std::out_of_range);
}

TEST(FireworksLaunch, FromTheMiddleOfThePictureWithinEightDegrees) {
    QImage picture(795, 520, QImage::Format_RGB32);
    picture.fill(Qt::white);
    TFireworks fw;
    TRocket named = BasicTemplate;
    named.Name = "Yellow/Green";
    named.RandomAngle = false;
    named.LaunchAngle = -30;
    fw.Launch(picture, named);
    // Launching draws the scene: black, with the rocket at (397, 520 - 2).
    EXPECT_EQ(picture.pixel(397, 518), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(397, 510), qRgb(0, 0, 0));
    EXPECT_EQ(fw.Rockets[0].Name.View(), "Yellow/Green");
    EXPECT_NEAR(VecLength(VecSub(fw.Rockets[0].Thrust, VecMake(-44, 88 * std::sqrt(0.75), 0))), 0.0, 1e-9);

    double least = 0, most = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        GameRandom().Seed = seed;
        fw.Launch(picture, BasicTemplate);
        const TRocket& r = fw.Rockets[fw.Rockets.Count() - 1];
        EXPECT_EQ(r.Position, VecMake(397, 2, 0));
        EXPECT_NEAR(VecLength(r.Thrust), 88.0, 1e-9);
        const double angle = std::atan2(r.Thrust.x, r.Thrust.y) * 180.0 / M_PI;
        least = std::min(least, angle);
        most = std::max(most, angle);
    }
    EXPECT_TRUE(least >= -8 && least < -7 && most <= 8 && most > 7) << least << " " << most;
}

} // namespace
