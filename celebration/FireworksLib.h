#pragma once

#include <cstdint>
#include <vector>

#include <QImage>

#include "celebration/TRocket.h"
#include "celebration/TRocketList.h"
#include "celebration/Vector.h"

// What a particle's current stage does in a frame: whether it sheds sparks, and their colour.
struct TShedding {
    bool Shedding = false;
    uint32_t Color = 0;
};

// The fireworks display: a small particle simulation drawn onto a picture, one frame at a time.
// World x runs right from the picture's left edge, y up from its bottom edge, z toward the
// viewer; one unit is one pixel (and one metre for the physics). A particle at (x, y, z) is drawn
// at (Round(x), H - Round(y)) of a picture H pixels high; z only decides who covers whom. On a
// picture of a finer screen (its pixel ratio above 1) or a zoomed board, a unit takes
// Zoom x ratio of the picture's pixels: the same display, drawn at the picture's own pixels.
//
// Usage: Launch rockets, call Frame until Rockets.Count() is 0. Every random choice comes from
// GameRandom() in a fixed order, so a seeded display is the same frame by frame.
//
// The picture may be any QImage; Format_RGB32 and the ARGB32 formats are drawn directly, any
// other format through a scratch image.
class TFireworks {
public:
    TFireworks();

    // The living particles; Count() == 0 means the display is over.
    TRocketList Rockets;

    double DeltaT = 0.0;              // simulated seconds per frame, set by Frame
    double FramesPerSecond = 10.0;
    double TimeScale = 1.0;           // DeltaT = 1 / FramesPerSecond * TimeScale
    uint32_t BackColor = 0x000000;    // 0x00BBGGRR background while the display runs
    bool Twinkle = true;              // sparkle on
    double TwinkleLife = 8.0;         // only particles with less Life than this sparkle
    int32_t TwinkleChance = 70;       // a candidate sparkles with a chance of one in this
    double TwinkleBrightness = 90.0;  // brightening of a sparkle, percent of full scale
    int32_t SparksPerStep = 1;        // sparks per shedding particle per frame
    double SparkSpread = 0.0;         // width of the random offset of a new spark (0: none)
    double Zoom = 1.0;                // board pixels to a unit of the world

    // Puts a copy of rocket on the pad (x at the middle of the picture, its own y and z), aims
    // its thrust, and draws the scene once.
    void Launch(QImage& picture, const TRocket& rocket);
    // Advances the display by DeltaT and draws it; the ground check follows the drawing.
    void Frame(QImage& picture);

    // One simulation step: stages, fuses and births (last particle first), then ageing and
    // physics (first particle first).
    void StepAll(double dt);
    // Runs the stage and the fuse of the particle at index, then bursts and sheds for it.
    void UpdateParticle(int index, double dt);
    // Uses up dt of the first stage with time left; cuts the thrust when a stage runs out.
    static TShedding StageStep(TRocket& particle, double dt);
    // Burns dt of the fuse; true when it runs out now (the particle turns into a grey spent
    // rocket of half the mass and radius).
    static bool BurnFuse(TRocket& particle, double dt);
    // Throws out the stars of rocket's burst (a grid of directions or a flat ring).
    void Burst(const TRocket& rocket);
    void SpawnStar(const TRocket& rocket, double angle1, double angle2, double speed);
    void SpawnSpark(const TRocket& parent, uint32_t colour, double spread);
    // Takes DeltaT off the particle's life and removes it when that runs out.
    void AgeParticle(int index);
    // Jitter, air drag, the pull of body, thrust; then moves the particle by dt.
    static void PhysicsStep(TRocket& particle, const TRocket& body, double dt);
    // A particle below y = 0 bounces with a quarter of its vertical speed; the second time, it dies.
    void GroundCheck();

    // Erases the picture to BackColor and draws every particle, farthest first.
    void Paint(QImage& picture);
    void DrawParticle(QImage& picture, const TRocket& particle, bool twinkle) const;

private:
    struct Canvas;
    // What drawing needs of a particle, gathered in one forward pass so that the depth-ordered
    // walk reads a small array instead of jumping about the particle records.
    struct DrawEntry {
        TVector3 Position;
        double Radius;
        double Life;
        uint32_t Color;
    };
    struct DepthKey {
        uint64_t key;   // z, encoded so that unsigned order is numeric order
        uint32_t index; // into drawList_
    };

    void drawParticle(const Canvas& canvas, const DrawEntry& particle, bool twinkle) const;
    double PixelsPerUnit(const QImage& picture) const;
    void sortByDepth();

    std::vector<DrawEntry> drawList_; // these three are reused every frame
    std::vector<DepthKey> depthOrder_;
    std::vector<DepthKey> sortSpare_;
    QImage scratch_;                  // for pictures in formats not drawn directly
};

// Colour with each of red, green and blue moved by Round(255 * amount), clamped to 0..255.
uint32_t AdjustBrightness(uint32_t colour, double amount);
// Round((b.z - a.z) * 1000), +1 or -1 when that is beyond the 32-bit range: negative when a is
// nearer the viewer than b.
int CompareDepth(const TRocket& a, const TRocket& b);
// Thrust of force newtons at angle degrees from the vertical, positive to the right.
TVector3 PolarThrust(double angle, double force);
// u * w - w / 2, in [-w/2, w/2).
double RandomSpread(double w);
// w - u * w * 2, in (-w, w].
double RandomSymmetric(double w);
