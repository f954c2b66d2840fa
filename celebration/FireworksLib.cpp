#include "celebration/FireworksLib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>

#include "cards/TRandom.h"

namespace {

constexpr double GravitationalConstant = 6.67e-11;
constexpr double DragFactor = 0.6465; // half the density of air, 1.293 kg/m^3
constexpr double DragCoefficient = 0.08;
constexpr double DrawingLimit = 1000.0; // particles farther from the origin are not drawn
constexpr uint32_t SpentRocketColor = 0x808080;
constexpr int LargestDisc = 1 << 20; // bounds the disc arithmetic for absurd radii

// 0x00BBGGRR to the 0xAARRGGBB of a 32-bit QImage, opaque.
constexpr uint32_t toArgb(uint32_t colour) {
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

bool isDirectFormat(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

// Returns true when the particle's life has just run out.
bool ageOne(TRocket& particle, double deltaT) {
    if (!(particle.Life > 0.0))
        return false;
    particle.Life -= deltaT;
    return particle.Life <= 0.0;
}

int64_t floorDiv2(int64_t value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }
int64_t ceilDiv2(int64_t value) { return -floorDiv2(-value); }

int64_t isqrt(int64_t value) {
    int64_t root = int64_t(std::sqrt(double(value)));
    while (root > 0 && root * root > value)
        --root;
    while ((root + 1) * (root + 1) <= value)
        ++root;
    return root;
}

// z encoded as an unsigned key in numeric order. NaN counts as farthest (such a particle is
// not drawn anyway); -0 and +0 are one key.
uint64_t depthKey(double z) {
    if (!(z == z))
        z = -std::numeric_limits<double>::infinity();
    const uint64_t bits = std::bit_cast<uint64_t>(z + 0.0);
    constexpr uint64_t sign = uint64_t(1) << 63;
    return (bits & sign) ? ~bits : bits | sign;
}

} // namespace

// Direct access to the pixels of a 32-bit picture; every write is clipped to the picture.
struct TFireworks::Canvas {
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    int width = 0;
    int height = 0;
    // Pixels of the picture to a unit of the world.
    double scale = 1.0;
    // A spark's side: a pixel of the world, in whole pixels of the picture.
    int dot = 1;

    Canvas(QImage& image, double pixelsPerUnit)
        : bits(image.isNull() ? nullptr : image.bits()), bytesPerLine(image.bytesPerLine()),
          width(image.isNull() ? 0 : image.width()), height(image.isNull() ? 0 : image.height()),
          scale(pixelsPerUnit), dot(std::max(1, int(std::lround(pixelsPerUnit)))) {}

    uint32_t* row(int y) const { return reinterpret_cast<uint32_t*>(bits + y * bytesPerLine); }

    void setPixel(int x, int y, uint32_t argb) const {
        if (x >= 0 && x < width && y >= 0 && y < height)
            row(y)[x] = argb;
    }

    // A world pixel at (x, y): one pixel, or a little square of them on a finer picture.
    void setDot(int x, int y, uint32_t argb) const {
        const int from = (dot - 1) / 2;
        for (int dy = 0; dy < dot; ++dy)
            for (int dx = 0; dx < dot; ++dx)
                setPixel(x - from + dx, y - from + dy, argb);
    }

    void span(uint32_t* line, int64_t from, int64_t to, uint32_t argb) const {
        from = std::max<int64_t>(from, 0);
        to = std::min<int64_t>(to, int64_t(width) - 1);
        for (int64_t x = from; x <= to; ++x)
            line[x] = argb;
    }

    // The filled ellipse of the box (cx - size, cy - size) .. (cx + size, cy + size), right and
    // bottom edges outside, with a one-pixel outline. A pixel belongs to the ellipse when its
    // centre lies within size of the box centre (cx, cy) (a pixel corner), and to the fill when
    // within size - 1. Doubled coordinates keep the test exact in integers.
    void disc(int cx, int cy, int size, uint32_t fill, uint32_t outline) const {
        const int64_t outer = 4 * int64_t(size) * size;
        const int64_t inner = 4 * int64_t(size - 1) * (size - 1);
        const int64_t top = std::max<int64_t>(int64_t(cy) - size, 0);
        const int64_t bottom = std::min<int64_t>(int64_t(cy) + size, height); // exclusive
        const int64_t base = 2 * int64_t(cx) - 1;
        for (int64_t y = top; y < bottom; ++y) {
            const int64_t dy = 2 * y + 1 - 2 * int64_t(cy);
            const int64_t reach = isqrt(outer - dy * dy);
            const int64_t left = ceilDiv2(base - reach), right = floorDiv2(base + reach);
            uint32_t* line = row(int(y));
            const int64_t innerSquare = inner - dy * dy;
            if (innerSquare < 0) {
                span(line, left, right, outline);
                continue;
            }
            const int64_t innerReach = isqrt(innerSquare);
            const int64_t fillLeft = ceilDiv2(base - innerReach), fillRight = floorDiv2(base + innerReach);
            span(line, left, fillLeft - 1, outline);
            span(line, fillLeft, fillRight, fill);
            span(line, std::max(fillRight, fillLeft - 1) + 1, right, outline);
        }
    }
};

uint32_t AdjustBrightness(uint32_t colour, double amount) {
    const int64_t delta = RoundHalfEven(255.0 * amount);
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int64_t channel = std::clamp<int64_t>(int64_t((colour >> shift) & 0xFFu) + delta, 0, 255);
        result |= uint32_t(channel) << shift;
    }
    return result;
}

int CompareDepth(const TRocket& a, const TRocket& b) {
    const double difference = std::nearbyint((b.Position.z - a.Position.z) * 1000.0);
    if (difference > double(std::numeric_limits<int32_t>::max()))
        return 1;
    if (difference < double(std::numeric_limits<int32_t>::min()))
        return -1;
    if (!(difference == difference))
        return 0;
    return int(difference);
}

TVector3 PolarThrust(double angle, double force) {
    const double radians = angle * std::numbers::pi / 180.0;
    return VecMake(std::sin(radians) * force, std::cos(radians) * force, 0.0);
}

double RandomSpread(double w) { return GameRandom().RandomReal() * w - w / 2.0; }

double RandomSymmetric(double w) { return w - GameRandom().RandomReal() * w * 2.0; }

TFireworks::TFireworks() {
    DeltaT = 1.0 / FramesPerSecond * TimeScale;
    // Room for the peak of a four-rocket display, so the array is not moved mid-display.
    Rockets.Reserve(8192);
}

double TFireworks::PixelsPerUnit(const QImage& picture) const { return Zoom * picture.devicePixelRatio(); }

void TFireworks::Launch(QImage& picture, const TRocket& rocket) {
    TRocket r = rocket;
    // The middle of the picture, in whole units of the world.
    const double scale = PixelsPerUnit(picture);
    r.Position.x = scale == 1.0 ? picture.width() / 2 : int(picture.width() / scale) / 2;
    const double angle = r.RandomAngle ? RandomSymmetric(r.LaunchAngle) : r.LaunchAngle;
    r.Thrust = PolarThrust(angle, r.ThrustForce);
    Rockets.Add(r);
    Paint(picture);
}

void TFireworks::Frame(QImage& picture) {
    DeltaT = 1.0 / FramesPerSecond * TimeScale;
    StepAll(DeltaT);
    Paint(picture);
    GroundCheck();
}

void TFireworks::StepAll(double dt) {
    // Last particle first; what is born here is appended and waits for the next frame.
    for (int i = Rockets.Count() - 1; i >= 0; --i)
        UpdateParticle(i, dt);

    // Ageing draws no random numbers and looks at nothing but the particle itself, so removing
    // the dead while walking forward and stepping the survivors in index order gives exactly the
    // particles, and the order of random draws, of a full ageing pass followed by a physics pass.
    TRocket body = EarthTemplate; // its x follows each particle; y and z stay 0
    const double deltaT = DeltaT;
    Rockets.DeleteWhere([&](TRocket& particle) {
        if (ageOne(particle, deltaT))
            return true;
        body.Position.x = particle.Position.x;
        PhysicsStep(particle, body, dt);
        return false;
    });
}

void TFireworks::UpdateParticle(int index, double dt) {
    TRocket& particle = Rockets.At(index);
    const TShedding shedding = StageStep(particle, dt);
    const bool burst = BurnFuse(particle, dt);
    if (!burst && !(shedding.Shedding && SparksPerStep > 0))
        return; // most particles (the sparks) end here, without copying the record

    // A copy: the births below may move the array under the reference.
    const TRocket parent = particle;
    if (burst)
        Burst(parent);
    if (shedding.Shedding)
        for (int n = 0; n < SparksPerStep; ++n)
            SpawnSpark(parent, shedding.Color, SparkSpread);
}

TShedding TFireworks::StageStep(TRocket& particle, double dt) {
    int i = 0;
    while (i < StageCount && !(particle.Stages[i].Duration > 0.0))
        ++i;
    if (i == StageCount)
        i = 0;
    TStage& stage = particle.Stages[i];
    TShedding result;
    result.Color = stage.Color;
    if (stage.Duration > 0.0) {
        stage.Duration -= dt;
        if (stage.Duration <= 0.0) {
            stage.Duration = 0.0;
            particle.Thrust = TVector3{};
        }
    }
    result.Shedding = stage.Duration > 0.0;
    return result;
}

bool TFireworks::BurnFuse(TRocket& particle, double dt) {
    if (!(particle.Fuse > 0.0))
        return false;
    particle.Fuse -= dt;
    if (particle.Fuse > 0.0)
        return false;
    particle.Color = SpentRocketColor;
    particle.Mass /= 2.0;
    particle.Radius /= 2.0;
    return true;
}

void TFireworks::Burst(const TRocket& rocket) {
    int across = rocket.StarCount, around = 1;
    if (rocket.StarGrid) {
        across = RoundHalfEven(std::sqrt(double(std::max(rocket.StarCount, 0)))) + 1;
        around = across;
    }
    for (int c = 0; c < across; ++c)
        for (int k = 0; k < around; ++k) {
            const double speed = rocket.StarSpeed + GameRandom().RandomReal() * rocket.StarSpeedRange;
            SpawnStar(rocket, c * (360.0 / across), k * (360.0 / around), speed);
        }
}

void TFireworks::SpawnStar(const TRocket& rocket, double angle1, double angle2, double speed) {
    const TVector3 kick = VecFromAngles(TVector3{}, angle1, angle2, speed);
    TRocket star = StarTemplate;
    // The burst description is handed on whole; the rocket's fuse has run out, so the star's
    // has too and it never bursts itself.
    star.StarColor = rocket.StarColor;
    star.StarStages = rocket.StarStages;
    star.StarGrid = rocket.StarGrid;
    star.StarCount = rocket.StarCount;
    star.Fuse = rocket.Fuse;
    star.StarJitter = rocket.StarJitter;
    star.StarSpeed = rocket.StarSpeed;
    star.StarSpeedRange = rocket.StarSpeedRange;

    star.Color = rocket.StarColor;
    star.Jitter = rocket.StarJitter;
    star.Stages = rocket.StarStages;
    star.Position = rocket.Position;
    star.Velocity = VecAdd(rocket.Velocity, kick);
    star.Thrust = TVector3{};
    star.Life = 7.5 + GameRandom().RandomInt(5);
    Rockets.Add(star);
}

void TFireworks::SpawnSpark(const TRocket& parent, uint32_t colour, double spread) {
    TRocket spark = SparkTemplate;
    // Separate statements: the draws must come in the order x, y, z.
    const double dx = RandomSpread(spread);
    const double dy = RandomSpread(spread);
    const double dz = RandomSpread(spread);
    spark.Position = VecAdd(parent.Position, VecMake(dx, dy, dz));
    spark.Velocity = parent.Velocity;
    spark.Color = colour;
    spark.Life = 10.0 + RandomSpread(5.0);
    Rockets.Add(spark);
}

void TFireworks::AgeParticle(int index) {
    if (ageOne(Rockets.At(index), DeltaT))
        Rockets.Delete(index);
}

void TFireworks::PhysicsStep(TRocket& particle, const TRocket& body, double dt) {
    TRandom& random = GameRandom();
    const double ux = random.RandomReal();
    const double uy = random.RandomReal();
    const double uz = random.RandomReal();
    const double jitter = particle.Jitter;
    particle.Velocity = VecAdd(particle.Velocity, VecMake((ux - 0.5) * jitter, (uy - 0.5) * jitter, (uz - 0.5) * jitter));

    const double area = std::numbers::pi * particle.Radius * particle.Radius;
    const double speed = VecLength(particle.Velocity);
    const double drag = DragFactor * speed * speed * area * DragCoefficient;
    const TVector3 dragAcceleration = VecDiv(VecScale(VecNormalize(particle.Velocity), drag), particle.Mass);

    const TVector3 distance = VecSub(particle.Position, body.Position);
    const double r = VecLength(distance) + body.Radius + particle.Radius;
    const double force = GravitationalConstant * body.Mass * particle.Mass / (r * r);
    const TVector3 gravity = VecScale(VecNegate(VecNormalize(distance)), force / particle.Mass);

    particle.Acceleration = VecAdd(VecSub(gravity, dragAcceleration), VecDiv(particle.Thrust, particle.Mass));
    particle.Velocity = VecAdd(particle.Velocity, VecScale(particle.Acceleration, dt));
    particle.Position = VecAdd(particle.Position, VecScale(particle.Velocity, dt));
}

void TFireworks::GroundCheck() {
    Rockets.DeleteWhere([](TRocket& particle) {
        if (!(particle.Position.y < 0.0))
            return false;
        ++particle.GroundHits;
        particle.Velocity.y = -particle.Velocity.y / 4.0;
        particle.Position.y = 0.0;
        return particle.GroundHits > 1;
    });
}

void TFireworks::Paint(QImage& picture) {
    const bool direct = picture.isNull() || isDirectFormat(picture.format());
    if (!direct && scratch_.size() != picture.size())
        scratch_ = QImage(picture.size(), QImage::Format_RGB32);
    QImage& target = direct ? picture : scratch_;
    if (!target.isNull())
        target.fill(toArgb(BackColor));
    const Canvas canvas(target, PixelsPerUnit(picture));

    // Farthest first, so nearer particles cover farther ones. Ordering on z itself agrees with
    // CompareDepth wherever that tells two particles apart. Where it calls them level (within
    // half a thousandth, as most sparks of one parent are), an unstable sort could put them
    // either way from one run to the next, and with them the sparkle draws; here level
    // particles go by exact z, then the later-born first: the same order, and the same draws,
    // every run. That is the order of a stable sort nearest-first, walked from its end.
    const int count = Rockets.Count();
    drawList_.resize(std::size_t(count));
    depthOrder_.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const TRocket& particle = Rockets[i];
        drawList_[std::size_t(i)] = DrawEntry{particle.Position, particle.Radius, particle.Life, particle.Color};
        // Filled back to front: the stable sort keeps later-born particles first among equals.
        depthOrder_[std::size_t(count - 1 - i)] = DepthKey{depthKey(particle.Position.z), uint32_t(i)};
    }
    sortByDepth();

    for (const DepthKey& entry : depthOrder_) {
        const DrawEntry& particle = drawList_[entry.index];
        const bool twinkle = Twinkle && particle.Life < TwinkleLife && GameRandom().RandomInt(TwinkleChance) == 0;
        drawParticle(canvas, particle, twinkle);
    }

    if (!direct)
        picture = scratch_.convertToFormat(picture.format());
}

// A stable least-significant-digit radix sort of depthOrder_ by key, smallest first, a byte at a
// time; a byte that is the same in every key (most of the exponent) costs no pass.
void TFireworks::sortByDepth() {
    const std::size_t count = depthOrder_.size();
    std::array<std::array<uint32_t, 256>, 8> histogram{};
    for (const DepthKey& entry : depthOrder_)
        for (int digit = 0; digit < 8; ++digit)
            ++histogram[digit][(entry.key >> (8 * digit)) & 0xFF];
    sortSpare_.resize(count);
    for (int digit = 0; digit < 8; ++digit) {
        std::array<uint32_t, 256>& buckets = histogram[digit];
        if (count == 0 || buckets[(depthOrder_[0].key >> (8 * digit)) & 0xFF] == count)
            continue;
        uint32_t start = 0;
        for (uint32_t& bucket : buckets) {
            const uint32_t n = bucket;
            bucket = start;
            start += n;
        }
        for (const DepthKey& entry : depthOrder_)
            sortSpare_[buckets[(entry.key >> (8 * digit)) & 0xFF]++] = entry;
        depthOrder_.swap(sortSpare_);
    }
}

void TFireworks::DrawParticle(QImage& picture, const TRocket& particle, bool twinkle) const {
    const DrawEntry entry{particle.Position, particle.Radius, particle.Life, particle.Color};
    if (picture.isNull() || isDirectFormat(picture.format())) {
        drawParticle(Canvas(picture, PixelsPerUnit(picture)), entry, twinkle);
        return;
    }
    QImage work = picture.convertToFormat(QImage::Format_RGB32);
    drawParticle(Canvas(work, PixelsPerUnit(picture)), entry, twinkle);
    picture = work.convertToFormat(picture.format());
}

void TFireworks::drawParticle(const Canvas& canvas, const DrawEntry& particle, bool twinkle) const {
    // The test is written so that a position that is not a number is not drawn either.
    if (!(VecLength(particle.Position) <= DrawingLimit))
        return;
    // Sizes and places in the world's units, drawn at the picture's own pixels.
    const double size = std::nearbyint(particle.Radius * InchesPerMetre);
    const int x = RoundHalfEven(particle.Position.x * canvas.scale);
    const int y = canvas.height - RoundHalfEven(particle.Position.y * canvas.scale);

    // In its last two seconds a particle goes black; only its sparkles still show. A particle
    // that never ages (Life 0 or less) is not dying and keeps its colour.
    double shade = 0.0;
    if (particle.Life > 0.0 && particle.Life < 2.0)
        shade = -1.0 - particle.Life / 2.0;
    const uint32_t colour = toArgb(AdjustBrightness(particle.Color, shade));

    if (size >= 1.0)
        canvas.disc(x, y, int(std::min(std::nearbyint(size * canvas.scale), double(LargestDisc))), colour,
                    toArgb(BackColor));
    else
        canvas.setDot(x, y, colour);

    if (twinkle)
        canvas.setDot(x, y, toArgb(AdjustBrightness(particle.Color, TwinkleBrightness / 100.0)));
}
