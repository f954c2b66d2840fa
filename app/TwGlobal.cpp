#include "TwGlobal.h"

#include "TForm1.h"
#include "cards/CardResources.h"
#include "engine/TwGame.h"
#include "KestrelObjects/TIniFile.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {
const QString DisplaySection = QStringLiteral("Display");
const QString LayoutSection = QStringLiteral("Layout");
const QString SoundSection = QStringLiteral("Sound");

constexpr int FactoryBack = 5;
constexpr int FactoryWidth = 794;
constexpr int FactoryHeight = 603;
constexpr QPoint BuiltInPlace(451, 160);
// A window frame's margins before the window manager has framed the window: a caption bar and
// thin borders, as most window managers draw them.
constexpr QMargins TypicalFrame(4, 30, 4, 4);
// The part of a window's top that must lie on a screen for the player to grab it.
constexpr int TitleStrip = 24;
constexpr int GrabWidth = 100;
constexpr int GrabHeight = 12;
// Beyond these, stored numbers are damage; they are cut back before any arithmetic.
constexpr int LargestSize = 32767;
constexpr int FarthestPosition = 1 << 20;

QList<QRect> AvailableScreens() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

int64_t DistanceSquared(QPoint p, const QRect& r) {
    const int64_t dx = std::max({int64_t(r.left()) - p.x(), int64_t(0), int64_t(p.x()) - r.right()});
    const int64_t dy = std::max({int64_t(r.top()) - p.y(), int64_t(0), int64_t(p.y()) - r.bottom()});
    return dx * dx + dy * dy;
}

// The margins the window frame adds around the window: as drawn once the window is shown, or
// as most window managers draw them before that. Platforms without window frames add none.
QMargins FrameMargins(const QWidget& form) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return {};
    if (!form.isVisible())
        return TypicalFrame;
    const QRect outer = form.frameGeometry();
    const QRect inner = form.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}
} // namespace

QRect FitWindowIntoArea(QRect frame, const QRect& area) {
    frame.setSize(frame.size().boundedTo(area.size()));
    frame.moveLeft(std::clamp(frame.left(), area.left(), area.left() + area.width() - frame.width()));
    frame.moveTop(std::clamp(frame.top(), area.top(), area.top() + area.height() - frame.height()));
    return frame;
}

void PlaceBuiltInWindow(TForm1& form, bool centred) {
    const QMargins margins = FrameMargins(form);
    const QSize outer = QSize(FactoryWidth, FactoryHeight).grownBy(margins);
    const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        form.resize(FactoryWidth, FactoryHeight);
        form.move(BuiltInPlace);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QPoint place = centred ? area.topLeft() + QPoint((area.width() - outer.width()) / 2,
                                                           (area.height() - outer.height()) / 2)
                                 : BuiltInPlace;
    const QRect frame = FitWindowIntoArea(QRect(place, outer), area);
    form.resize(frame.size().shrunkBy(margins));
    form.move(frame.topLeft());
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

void LoadSettings(TForm1& form) {
    const TIniFile ini;
    TGame& game = form.Game();

    int32_t back = ini.ReadInteger(DisplaySection, QStringLiteral("CardBack"), FactoryBack);
    // There are 13 backs; any other number would name a picture that does not exist.
    if (back < 0 || back >= CardResource::BackCount)
        back = FactoryBack;
    game.Deck->SetBack(back);

    // Applied even when unchanged: this also lays the board out and repaints it.
    game.SmallCards = ini.ReadBool(DisplaySection, QStringLiteral("SmallCards"), game.SmallCards);
    game.SetCardSize(game.SmallCards);

    const int width = ini.ReadInteger(LayoutSection, QStringLiteral("ScreenWidth"), form.width());
    const int height = ini.ReadInteger(LayoutSection, QStringLiteral("ScreenHeight"), form.height());
    const int left = ini.ReadInteger(LayoutSection, QStringLiteral("PositionX"), form.x());
    const int top = ini.ReadInteger(LayoutSection, QStringLiteral("PositionY"), form.y());
    const QRect frame = FitWindowToScreens(QRect(left, top, width, height), AvailableScreens());
    form.resize(frame.size());
    form.move(frame.topLeft());

    game.Sound.SoundDisabled = ini.ReadBool(SoundSection, QStringLiteral("Disable"), game.Sound.SoundDisabled);
    form.DisableSoundMnu->setChecked(game.Sound.SoundDisabled);
}

void SaveSettings(TForm1& form) {
    TIniFile ini;
    const TGame& game = form.Game();
    ini.WriteInteger(DisplaySection, QStringLiteral("CardBack"), game.Deck->BackIndex);
    ini.WriteBool(DisplaySection, QStringLiteral("SmallCards"), game.SmallCards);
    ini.WriteInteger(LayoutSection, QStringLiteral("ScreenWidth"), form.width());
    ini.WriteInteger(LayoutSection, QStringLiteral("ScreenHeight"), form.height());
    ini.WriteInteger(LayoutSection, QStringLiteral("PositionX"), form.x());
    ini.WriteInteger(LayoutSection, QStringLiteral("PositionY"), form.y());
    ini.WriteBool(SoundSection, QStringLiteral("Disable"), game.Sound.SoundDisabled);
    ini.Commit();
}

void FactorySettings(TForm1& form) {
    TGame& game = form.Game();
    game.Deck->SetBack(FactoryBack);
    game.SmallCards = false;
    game.SetCardSize(false);

    PlaceBuiltInWindow(form, true);

    game.Sound.SoundDisabled = false;
    form.DisableSoundMnu->setChecked(false);
}
