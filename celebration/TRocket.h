#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "celebration/Vector.h"

// A label of at most Capacity characters kept inside the record, so that a particle stays a
// plain block of memory: copying one (thousands per frame) never allocates. A longer text is
// cut at Capacity characters.
class TShortName {
public:
    static constexpr int Capacity = 15;

    constexpr TShortName() = default;
    constexpr TShortName(std::string_view text) {
        const std::size_t length = text.size() < std::size_t(Capacity) ? text.size() : std::size_t(Capacity);
        for (std::size_t i = 0; i < length; ++i)
            chars_[i] = text[i];
        length_ = static_cast<unsigned char>(length);
    }
    constexpr TShortName(const char* text) : TShortName(std::string_view(text)) {}

    constexpr std::string_view View() const { return std::string_view(chars_.data(), length_); }
    constexpr bool Empty() const { return length_ == 0; }

    friend constexpr bool operator==(const TShortName& a, const TShortName& b) { return a.View() == b.View(); }

private:
    std::array<char, Capacity> chars_{};
    unsigned char length_ = 0;
};

// One spark-shedding stage of a particle.
struct TStage {
    double Duration = 0.0; // seconds still to run; 0 once used up
    uint32_t Color = 0;    // 0x00BBGGRR colour of the sparks shed during this stage
};

constexpr int StageCount = 6;
using TStageArray = std::array<TStage, StageCount>;

// A particle of the display: a rocket, a star of a burst, or a spark. Held and copied by value.
// Colours are 0x00BBGGRR (red in the lowest byte). The fields from StarColor to the end describe
// the burst and are handed on to the stars as a block, so keep them last and in this order.
struct TRocket {
    TShortName Name;           // label of a launch record; not read by the simulation
    double Mass = 0.0;         // kg
    TVector3 Position;         // world position, y up from the bottom edge of the picture
    TVector3 Velocity;         // units per second
    TVector3 Acceleration;     // computed by the latest physics step
    TVector3 Thrust;           // motor force in newtons; cut to zero when a stage runs out
    double ThrustForce = 0.0;  // magnitude of the thrust set at launch
    double LaunchAngle = 0.0;  // degrees from the vertical, or half-width of the random direction
    bool RandomAngle = false;  // launch direction random within +-LaunchAngle
    double Radius = 0.0;       // metres; drawn radius in pixels is Round(Radius * InchesPerMetre)
    uint32_t Color = 0;        // colour the particle is drawn in
    int32_t GroundHits = 0;    // times the particle has hit the ground
    double Jitter = 0.0;       // width of the random velocity change of each physics step
    double Life = 0.0;         // seconds left; 0 or less: never ages
    TStageArray Stages{};      // spark-shedding stages, used in order

    uint32_t StarColor = 0;    // colour of the stars of this particle's burst
    TStageArray StarStages{};  // stages given to those stars
    bool StarGrid = false;     // burst shape: grid of directions (true) or flat ring (false)
    int32_t StarCount = 0;     // stars in the burst (a grid makes (Round(sqrt n) + 1)^2 of them)
    double Fuse = 0.0;         // seconds until the burst; 0 or less: never bursts
    double StarJitter = 0.0;   // Jitter given to the stars
    double StarSpeed = 0.0;    // least speed of a star relative to the particle
    double StarSpeedRange = 0.0; // random extra star speed, 0 up to this
};

static_assert(std::is_trivially_copyable_v<TRocket>, "particles are moved about as plain memory");

// Pixels per metre of particle radius (12 / 0.3048).
constexpr double InchesPerMetre = 12.0 / 0.3048;

// The records the display copies. BasicTemplate is a blue rocket on a 1-s red-shedding motor
// that bursts after 5.5 s into 49 stars fading from blue to purple; EarthTemplate is the body
// whose gravity pulls every particle and is never drawn.
extern const TRocket BasicTemplate;
extern const TRocket StarTemplate;
extern const TRocket SparkTemplate;
extern const TRocket EarthTemplate;
