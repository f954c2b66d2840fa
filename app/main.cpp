#include "KestrelObjects/BitmapHelpers.h"
#include "TDeferredIconStyle.h"
#include "TForm1.h"
#include "cards/TPictureCache.h"
#include "cards/TPictureStore.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <fontconfig/fontconfig.h>

#include <thread>

namespace {
// Reads the font configuration (dozens of files to read and parse) on a second core while the
// application connects to the display; the window's first text needs it. Joined before the
// first font is asked for, so that it is never read twice.
class TFontConfigurationReader {
public:
    TFontConfigurationReader() : worker([] { FcInit(); }) {}
    ~TFontConfigurationReader() { Join(); }
    TFontConfigurationReader(const TFontConfigurationReader&) = delete;
    TFontConfigurationReader& operator=(const TFontConfigurationReader&) = delete;
    void Join() {
        if (worker.joinable())
            worker.join();
    }

private:
    std::thread worker;
};
} // namespace

int main(int argc, char** argv) {
    TFontConfigurationReader fontConfiguration;
    QApplication app(argc, argv);
    fontConfiguration.Join();
    QApplication::setStyle(new TDeferredIconStyle);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarnwell.tarnwell"));
    // The card pictures one run draws, the next reads back.
    const auto store = std::make_shared<TPictureStore>(TPictureStore::DefaultFolder(), TPictureStore::ProgramStamp());
    TPictureCache::Shared().UseStore(store);
    // The main window first (its creation starts the engine); the dialogs are made when first
    // needed, and the icon set once the window is up.
    TForm1 form;
    QObject::connect(&form, &TForm1::FirstPainted, &form, [store] {
        store->ClearOtherBuilds();
        QIcon icon;
        for (int size : {16, 32, 48, 64, 128, 256})
            icon.addPixmap(
                QPixmap::fromImage(ReadPicture(QStringLiteral(":/pictures/icon_%1.png").arg(size))));
        QApplication::setWindowIcon(icon);
    });
    form.show();
    // A saved game named on the command line (as the desktop opens one), or else the game kept
    // at the last closing, once the window is up.
    const QStringList arguments = QApplication::arguments();
    const QString file = arguments.size() > 1 ? arguments.at(1) : QString();
    QTimer::singleShot(0, &form, [&form, file] { form.OpenAtStart(file); });
    return app.exec();
}
