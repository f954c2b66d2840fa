#include "StartupWarmUp.h"

#include "Fonts.h"

#include <QCoreApplication>
#include <QImageReader>

#include <fontconfig/fontconfig.h>

namespace {
// The warm-up the application object ends when it goes.
TStartupWarmUp* running = nullptr;
} // namespace

TStartupWarmUp::TStartupWarmUp() {
    worker = std::thread([this, made = applicationMade.get_future()]() mutable {
        FcInit();
        configurationRead.set_value();
        if (!made.get())
            return;
        WarmGameFonts();
        QImageReader::supportedImageFormats();
    });
}

TStartupWarmUp::~TStartupWarmUp() {
    // Making the application object failed: the worker stops after the font configuration.
    if (!told)
        applicationMade.set_value(false);
    Finish();
}

void TStartupWarmUp::ApplicationMade() {
    running = this;
    qAddPostRoutine([] {
        if (running)
            running->Finish();
    });
    told = true;
    applicationMade.set_value(true);
    configurationRead.get_future().wait();
}

void TStartupWarmUp::Finish() {
    if (worker.joinable())
        worker.join();
    if (running == this)
        running = nullptr;
}
