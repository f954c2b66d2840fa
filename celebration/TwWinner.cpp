#include "celebration/TwWinner.h"

#include <memory>

#include "KestrelObjects/BitmapHelpers.h"
#include "KestrelObjects/TimeSource.h"
#include "KestrelObjects/Timings.h"
#include "celebration/FireworksLib.h"

namespace {

constexpr uint32_t rgb(int red, int green, int blue) { return uint32_t(MakeColor(red, green, blue)); }

constexpr double StarStageSeconds = 0.6;

TStageArray starStages(const std::array<uint32_t, StageCount>& colours) {
    TStageArray stages{};
    for (int i = 0; i < StageCount; ++i)
        stages[size_t(i)] = TStage{StarStageSeconds, colours[size_t(i)]};
    return stages;
}

// Four bursts of 49 stars, each star shedding a spark a frame, crowd the display to a little
// over 7,000 particles; reserving that much up front keeps the array from moving while it builds.
constexpr int ExpectedPeakParticles = 8192;

// However the celebration ends: silence, the flag cleared, the particles discarded.
class CelebrationCleanUp {
public:
    CelebrationCleanUp(const TWinnerStage& stage, std::unique_ptr<TFireworks>& fireworks)
        : stage(stage), fireworks(fireworks) {}
    ~CelebrationCleanUp() {
        stage.Sound.StopEffects();
        stage.CelebrationRunning = false;
        fireworks.reset();
    }
    CelebrationCleanUp(const CelebrationCleanUp&) = delete;
    CelebrationCleanUp& operator=(const CelebrationCleanUp&) = delete;

private:
    const TWinnerStage& stage;
    std::unique_ptr<TFireworks>& fireworks;
};

} // namespace

TLaunchTable BuildLaunchTable() {
    TLaunchTable table;

    TRocket rocket = BasicTemplate;
    rocket.Name = "Blue/Purple";
    rocket.Fuse = 5.0;
    table[0] = rocket;

    rocket.Name = "Red/Yellow";
    rocket.StarColor = rgb(255, 255, 0);
    rocket.StarStages = starStages({rgb(255, 0, 0), rgb(255, 51, 0), rgb(255, 102, 0), rgb(255, 153, 0),
                                    rgb(255, 204, 0), rgb(255, 255, 0)});
    rocket.ThrustForce = 100;
    rocket.Fuse = 5.5;
    table[1] = rocket;

    rocket.Name = "Yellow/Green";
    rocket.StarColor = rgb(0, 255, 0);
    rocket.StarStages = starStages({rgb(255, 255, 0), rgb(160, 229, 0), rgb(81, 204, 0), rgb(17, 178, 0),
                                    rgb(0, 153, 30), rgb(0, 128, 64)});
    rocket.ThrustForce = 120;
    rocket.Fuse = 4.0;
    table[2] = rocket;

    // The last rocket repeats the second.
    rocket.Name = table[1].Name;
    rocket.StarColor = table[1].StarColor;
    rocket.StarStages = table[1].StarStages;
    rocket.ThrustForce = table[1].ThrustForce;
    rocket.Fuse = table[1].Fuse;
    table[3] = rocket;

    return table;
}

void RunWinnerSequence(const TWinnerStage& stage) {
    auto fireworks = std::make_unique<TFireworks>();
    fireworks->Rockets.Reserve(ExpectedPeakParticles);
    fireworks->Zoom = stage.Zoom;
    stage.CelebrationRunning = true;
    {
        CelebrationCleanUp cleanUp(stage, fireworks);
        const TLaunchTable launchTable = BuildLaunchTable();

        FadeImageTo(stage.Board, clBlack, Timing::WinnerFadeMs, stage.ShowBoard);

        // A press during the fade is forgotten: only the display itself can be cut short.
        stage.StopRequested = false;
        // Closed during the fade: no rocket goes up on the way out.
        bool over = stage.Terminating && stage.Terminating();
        int launches = 0;
        for (int frame = 0; !over; ++frame) {
            if (frame % Timing::WinnerLaunchFrames == 0) {
                if (launches < WinnerRocketCount) {
                    stage.Sound.PlayEffect(SoundEffect::Rocket);
                    fireworks->Launch(stage.Board, launchTable[size_t(launches)]);
                } else if (launches == WinnerRocketCount) {
                    stage.Sound.PlayEffect(SoundEffect::Winner);
                }
                ++launches;
            }
            fireworks->Frame(stage.Board);
            if (stage.ShowBoard)
                stage.ShowBoard();
            WaitProcessing(Timing::WinnerFrameMs);
            over = fireworks->Rockets.Count() == 0 || (stage.Terminating && stage.Terminating()) ||
                   stage.StopRequested;
        }
    }
    if (stage.PaintBoard)
        stage.PaintBoard();
}
