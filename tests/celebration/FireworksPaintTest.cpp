#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "cards/TRandom.h"
#include "celebration/FireworksLib.h"

namespace {

constexpr uint32_t Red = 0x0000FF, Blue = 0xFF0000;
const QRgb Black = qRgb(0, 0, 0), BluePixel = qRgb(0, 0, 255), RedPixel = qRgb(255, 0, 0);

TRocket particleAt(double x, double y, double z, double radius, uint32_t colour, double life = 5.0) {
    TRocket p = SparkTemplate;
    p.Position = VecMake(x, y, z);
    p.Radius = radius;
    p.Color = colour;
    p.Life = life;
    return p;
}

// Paints the particles on a white 200 x 120 picture, sparkle off unless asked for.
QImage paint(std::initializer_list<TRocket> particles, bool twinkle = false,
             QImage::Format format = QImage::Format_RGB32) {
    TFireworks fw;
    fw.Twinkle = twinkle;
    for (const TRocket& p : particles)
        fw.Rockets.Add(p);
    QImage picture(200, 120, format);
    picture.fill(Qt::white);
    fw.Paint(picture);
    return picture;
}

int countPixels(const QImage& picture, QRgb colour) {
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            n += picture.pixel(x, y) == colour;
    return n;
}

TEST(FireworksPaint, DiscsPixelsAndParticlesOffThePicture) {
    EXPECT_EQ(countPixels(paint({}), Black), 200 * 120); // the previous picture is erased
    const QPoint p(60, 89); // (Round(x), H - Round(y))
    const struct { const char* what; TRocket particle; int radius; int pixels; QPoint at; } cases[] = {
        {"rocket", particleAt(60.4, 30.6, 0, 0.1, Blue), 4, 32, p},
        {"star", particleAt(60.4, 30.6, 0, 0.05, Blue), 2, 4, p},
        {"spark", particleAt(61.5, 30.5, 0, 0.01, Blue), 0, 1, QPoint(62, 90)}, // halves to even
        {"below the bottom edge", particleAt(60, -3, 0, 0.1, Blue), 4, 0, p},
        {"beyond 1000 units", particleAt(60, 1000.5, 0, 0.1, Blue), 4, 0, p},
        {"not a number", particleAt(std::nan(""), 30, 0, 0.1, Blue), 4, 0, p},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage picture = paint({c.particle});
        ASSERT_EQ(countPixels(picture, BluePixel), c.pixels);
        if (c.pixels == 0)
            continue;
        EXPECT_EQ(picture.pixel(c.at), BluePixel);
        // All blue lies in the box at +-radius (right and bottom outside), a disc about its
        // centre corner, with its black outline ring inside the box.
        const int r = std::max(c.radius, 1);
        for (int y = c.at.y() - r - 1; y <= c.at.y() + r; ++y)
            for (int x = c.at.x() - r - 1; x <= c.at.x() + r; ++x) {
                const bool inBox = x >= c.at.x() - r && x < c.at.x() + r && y >= c.at.y() - r && y < c.at.y() + r;
                const bool deepInside = std::hypot(x + 0.5 - c.at.x(), y + 0.5 - c.at.y()) < r - 1.2;
                if (c.radius > 0 && (deepInside || !inBox)) {
                    EXPECT_EQ(picture.pixel(x, y) == BluePixel, deepInside) << x << "," << y;
                }
            }
    }
}

TEST(FireworksPaint, NearerParticlesCoverFartherOnesWithTheirOutline) {
    // A red disc 3 pixels right of a blue one: at (63, 89) the red one has its centre and the
    // blue one its black rim, at (59, 89) it is the other way round.
    for (bool blueInFront : {true, false})
        for (bool blueFirst : {true, false}) {
            const TRocket blue = particleAt(60, 31, blueInFront ? 1 : -1, 0.1, Blue), red = particleAt(63, 31, 0, 0.1, Red);
            const QImage picture = blueFirst ? paint({blue, red}) : paint({red, blue});
            EXPECT_EQ(picture.pixel(63, 89), blueInFront ? Black : RedPixel) << blueInFront << blueFirst;
            EXPECT_EQ(picture.pixel(59, 89), blueInFront ? BluePixel : Black) << blueInFront << blueFirst;
        }
}

TEST(FireworksPaint, DyingParticlesGoBlackAndSparkleNearTheirEnd) {
    // Life 0 or less never ages, so it is not dying either.
    const struct { double life; QRgb centre; } dying[] = {
        {2.5, BluePixel}, {2.0, BluePixel}, {1.99, Black}, {0.05, Black}, {0.0, BluePixel}, {-3.0, BluePixel}};
    for (const auto& c : dying) // a red disc behind shows the black one
        EXPECT_EQ(paint({particleAt(60, 31, -1, 0.1, Red), particleAt(60, 31, 0, 0.1, Blue, c.life)}).pixel(60, 89), c.centre)
            << c.life;

    uint32_t sparkleSeed = 0, plainSeed = 0; // first draws below 70 of 0, and of not 0
    while (TRandom(sparkleSeed).RandomInt(70) != 0)
        ++sparkleSeed;
    while (TRandom(plainSeed).RandomInt(70) == 0)
        ++plainSeed;
    const QRgb bright = qRgb(230, 230, 255); // blue raised by Round(255 * 0.9)
    const struct { double life; uint32_t seed; QRgb pixel; int draws; } sparkles[] = {
        {5.0, sparkleSeed, bright, 1}, {1.0, sparkleSeed, bright, 1}, // the dying keep their sparkle
        {5.0, plainSeed, BluePixel, 1}, {8.0, sparkleSeed, BluePixel, 0}}; // not a candidate: no draw
    for (const auto& c : sparkles) {
        GameRandom().Seed = c.seed;
        EXPECT_EQ(paint({particleAt(60, 31, 0, 0.01, Blue, c.life)}, true).pixel(60, 89), c.pixel) << c.life;
        TRandom replica(c.seed);
        for (int i = 0; i < c.draws; ++i)
            replica.Next();
        EXPECT_EQ(GameRandom().Seed, replica.Seed);
    }
}

TEST(FireworksPaint, BrightnessDepthAndOtherFormats) {
    const struct { uint32_t colour; double amount; uint32_t expected; } brightness[] = {
        {0x102030, 0.0, 0x102030}, {0x0000FF, 0.9, 0xE6E6FF}, {0xFFFFFF, -1.0, 0},  {0x808080, 0.5, 0xFFFFFF},
        {0x808080, -0.5, 0},       {0x010203, 1.0 / 255, 0x020304}, {0x112233, 1e300, 0xFFFFFF}};
    for (const auto& c : brightness)
        EXPECT_EQ(AdjustBrightness(c.colour, c.amount), c.expected) << std::hex << c.colour << " " << c.amount;

    const struct { double za, zb; int expected; } depths[] = {
        {0, 1, 1000}, {1, 0, -1000}, {0, 0.0004, 0}, {0, 0.0026, 3}, {0, 1e10, 1}, {0, -1e10, -1}};
    for (const auto& c : depths) {
        const TRocket a = particleAt(0, 0, c.za, 0, 0), b = particleAt(0, 0, c.zb, 0, 0);
        EXPECT_EQ(CompareDepth(a, b), c.expected) << c.za << " vs " << c.zb;
    }

    const auto scene = {particleAt(60, 31, 0, 0.1, Blue), particleAt(20, 11, 0, 0.01, Red)};
    const QImage other = paint(scene, false, QImage::Format_RGB888);
    EXPECT_EQ(other.format(), QImage::Format_RGB888);
    EXPECT_EQ(other.convertToFormat(QImage::Format_RGB32), paint(scene));
}

// Four rockets a second apart, run to the end: the count and a digest of the picture per frame.
struct DisplayRun {
    std::vector<std::pair<int, size_t>> frames;
    int peak = 0;
    int litAtFrame100 = 0; // all four bursts are in the sky then
};

DisplayRun runDisplay(uint32_t seed) {
    GameRandom().Seed = seed;
    TFireworks fw;
    QImage picture(794, 520, QImage::Format_RGB32);
    DisplayRun run;
    for (int frame = 0; frame < 600 && (frame < 40 || fw.Rockets.Count() > 0); ++frame) {
        if (frame % 10 == 0 && frame < 40)
            fw.Launch(picture, BasicTemplate);
        fw.Frame(picture);
        run.frames.emplace_back(fw.Rockets.Count(), qHashBits(picture.constBits(), size_t(picture.sizeInBytes())));
        run.peak = std::max(run.peak, fw.Rockets.Count());
        if (frame == 100)
            run.litAtFrame100 = 794 * 520 - countPixels(picture, Black);
    }
    return run;
}

TEST(FireworksDisplay, RunsDownByItselfAndRepeatsUnderTheSameSeed) {
    const DisplayRun first = runDisplay(20240601);
    ASSERT_EQ(first.frames.back().first, 0);
    // The last star sheds until about 12 s; its last spark lives up to 12.5 s more.
    EXPECT_TRUE(first.frames.size() > 150 && first.frames.size() < 300) << first.frames.size();
    EXPECT_TRUE(first.peak > 4 * 49 * 25 && first.peak < 4 * 49 * 40) << first.peak; // 196 stars shedding 3.6 s
    EXPECT_GT(first.litAtFrame100, 2000);
    EXPECT_EQ(runDisplay(20240601).frames, first.frames);
    EXPECT_NE(runDisplay(7).frames, first.frames);
}

} // namespace

// On a picture of twice the density, or a board zoomed with the cards, the same display is drawn
// at the picture's own pixels: places and discs scaled, a spark a square of a unit's side, the
// launch pad still in the middle.
TEST(FireworksPaint, AtTwiceTheDensityAndZoomedTheDisplayScales) {
    struct {
        double zoom;
        qreal ratio;
        int scale; // picture pixels to a unit
    } const cases[] = {{1.0, 2.0, 2}, {2.0, 1.0, 2}, {1.5, 2.0, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        TFireworks fw;
        fw.Twinkle = false;
        fw.Zoom = c.zoom;
        fw.Rockets.Add(particleAt(60.4, 30.6, 0, 0.1, Blue)); // a disc of radius 4 units
        fw.Rockets.Add(particleAt(20, 50, 1, 0.01, Red));     // a spark
        QImage picture(200 * c.scale, 120 * c.scale, QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(c.ratio);
        fw.Paint(picture);
        const int s = c.scale;
        const int cx = int(std::nearbyint(60.4 * s)), cy = 120 * s - int(std::nearbyint(30.6 * s));
        // Within the disc's filled part and outside its reach.
        EXPECT_EQ(picture.pixel(cx, cy), BluePixel | 0xFF000000u);
        EXPECT_EQ(picture.pixel(cx + 4 * s - 3, cy), BluePixel | 0xFF000000u);
        EXPECT_NE(picture.pixel(cx + 4 * s + 1, cy), BluePixel | 0xFF000000u);
        EXPECT_EQ(countPixels(picture, RedPixel), s * s);
        EXPECT_EQ(picture.pixel(20 * s, 120 * s - 50 * s), RedPixel);

        TFireworks launcher;
        launcher.Zoom = c.zoom;
        launcher.Launch(picture, BasicTemplate);
        EXPECT_EQ(launcher.Rockets[0].Position.x, 100.0); // the middle of 200 units
    }
}
