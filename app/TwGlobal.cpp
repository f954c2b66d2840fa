#include "TwGlobal.h"

#include "cards/CardResources.h"
#include "KestrelObjects/TIniFile.h"

#include <algorithm>

namespace {
const QString DisplaySection = QStringLiteral("Display");
const QString LayoutSection = QStringLiteral("Layout");
const QString SoundSection = QStringLiteral("Sound");

constexpr int FactoryBack = 5;
constexpr int FactoryWidth = 794;
constexpr int FactoryHeight = 603;
// The part of a window's top that must lie on a screen for the player to grab it.
constexpr int TitleStrip = 24;
constexpr int GrabWidth = 100;
constexpr int GrabHeight = 12;
// Beyond these, stored numbers are damage; they are cut back before any arithmetic.
constexpr int LargestSize = 32767;
constexpr int FarthestPosition = 1 << 20;

int64_t DistanceSquared(QPoint p, const QRect& r) {
    const int64_t dx = std::max({int64_t(r.left()) - p.x(), int64_t(0), int64_t(p.x()) - r.right()});
    const int64_t dy = std::max({int64_t(r.top()) - p.y(), int64_t(0), int64_t(p.y()) - r.bottom()});
    return dx * dx + dy * dy;
}

} // namespace

QRect FitWindowIntoArea(QRect frame, const QRect& area) {
    frame.setSize(frame.size().boundedTo(area.size()));
    frame.moveLeft(std::clamp(frame.left(), area.left(), area.left() + area.width() - frame.width()));
    frame.moveTop(std::clamp(frame.top(), area.top(), area.top() + area.height() - frame.height()));
    return frame;
}

QRect FitWindowToScreens(QRect frame, const QList<QRect>& screens) {
    const int x = std::clamp(frame.x(), -FarthestPosition, FarthestPosition);
    const int y = std::clamp(frame.y(), -FarthestPosition, FarthestPosition);
    const int w = std::clamp(frame.width(), MinimumWindowWidth, LargestSize);
    const int h = std::clamp(frame.height(), MinimumWindowHeight, LargestSize);
    frame = QRect(x, y, w, h);
    if (screens.isEmpty())
        return frame;

    const QRect title(x, y, w, std::min(h, TitleStrip));
    for (const QRect& screen : screens) {
        const QRect part = title & screen;
        if (part.width() >= std::min(w, GrabWidth) && part.height() >= GrabHeight)
            return frame;
    }

    // The screen the window overlaps most, or else the one nearest to its centre.
    const QRect* target = nullptr;
    int64_t bestOverlap = 0;
    for (const QRect& screen : screens) {
        const QRect part = frame & screen;
        const int64_t overlap = part.isEmpty() ? 0 : int64_t(part.width()) * part.height();
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            target = &screen;
        }
    }
    if (!target) {
        int64_t nearest = INT64_MAX;
        for (const QRect& screen : screens) {
            const int64_t d = DistanceSquared(frame.center(), screen);
            if (d < nearest) {
                nearest = d;
                target = &screen;
            }
        }
    }
    const int fw = std::min(w, target->width());
    const int fh = std::min(h, target->height());
    return QRect(std::clamp(x, target->left(), target->left() + target->width() - fw),
                 std::clamp(y, target->top(), target->top() + target->height() - fh), fw, fh);
}

TSettings LoadSettings(const TSettings& inForce) {
    const TIniFile ini;
    TSettings s = inForce;
    s.CardBack = ini.ReadInteger(DisplaySection, QStringLiteral("CardBack"), FactoryBack);
    // There are 13 backs; any other number would name a picture that does not exist.
    if (s.CardBack < 0 || s.CardBack >= CardResource::BackCount)
        s.CardBack = FactoryBack;
    s.SmallCards = ini.ReadBool(DisplaySection, QStringLiteral("SmallCards"), inForce.SmallCards);
    s.FitToWindow = ini.ReadBool(DisplaySection, QStringLiteral("FitToWindow"), inForce.FitToWindow);
    const int width = ini.ReadInteger(LayoutSection, QStringLiteral("ScreenWidth"), inForce.Frame.width());
    const int height = ini.ReadInteger(LayoutSection, QStringLiteral("ScreenHeight"), inForce.Frame.height());
    const int left = ini.ReadInteger(LayoutSection, QStringLiteral("PositionX"), inForce.Frame.x());
    const int top = ini.ReadInteger(LayoutSection, QStringLiteral("PositionY"), inForce.Frame.y());
    s.Frame = QRect(left, top, width, height);
    s.Centred = false;
    s.SoundDisabled = ini.ReadBool(SoundSection, QStringLiteral("Disable"), inForce.SoundDisabled);
    s.ResumeGame = ini.ReadBool(DisplaySection, QStringLiteral("ResumeGame"), inForce.ResumeGame);
    s.WinnableOnly = ini.ReadBool(DisplaySection, QStringLiteral("WinnableOnly"), inForce.WinnableOnly);
    return s;
}

void SaveSettings(const TSettings& s) {
    TIniFile ini;
    ini.WriteInteger(DisplaySection, QStringLiteral("CardBack"), s.CardBack);
    ini.WriteBool(DisplaySection, QStringLiteral("SmallCards"), s.SmallCards);
    ini.WriteBool(DisplaySection, QStringLiteral("FitToWindow"), s.FitToWindow);
    ini.WriteInteger(LayoutSection, QStringLiteral("ScreenWidth"), s.Frame.width());
    ini.WriteInteger(LayoutSection, QStringLiteral("ScreenHeight"), s.Frame.height());
    ini.WriteInteger(LayoutSection, QStringLiteral("PositionX"), s.Frame.x());
    ini.WriteInteger(LayoutSection, QStringLiteral("PositionY"), s.Frame.y());
    ini.WriteBool(SoundSection, QStringLiteral("Disable"), s.SoundDisabled);
    ini.WriteBool(DisplaySection, QStringLiteral("ResumeGame"), s.ResumeGame);
    ini.WriteBool(DisplaySection, QStringLiteral("WinnableOnly"), s.WinnableOnly);
    ini.Commit();
}

TSettings FactorySettings() {
    TSettings s;
    s.CardBack = FactoryBack;
    s.SmallCards = false;
    s.FitToWindow = false;
    s.Frame = QRect(0, 0, FactoryWidth, FactoryHeight);
    s.Centred = true;
    s.SoundDisabled = false;
    s.ResumeGame = true;
    s.WinnableOnly = false;
    return s;
}
