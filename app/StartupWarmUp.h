#pragma once

#include <future>
#include <thread>

// Start-up work that can go on beside the main window, on a second core. The window's first
// paint waits on the font configuration (read and parsed from dozens of files), the font
// database, the families of the game's fonts, and the picture-format plugins that a menu
// bar's first icon loads; all of it is kept for every thread, so whatever is done here the
// window finds done. Made first thing in main(), before the application object.
class TStartupWarmUp {
public:
    TStartupWarmUp();
    ~TStartupWarmUp();
    TStartupWarmUp(const TStartupWarmUp&) = delete;
    TStartupWarmUp& operator=(const TStartupWarmUp&) = delete;

    // The application object is made: the warming that needs it may start. Returns once the
    // font configuration is read, so that the window never reads it a second time. The
    // warming ends before the application object goes.
    void ApplicationMade();

private:
    void Finish();

    std::promise<bool> applicationMade; // false: there will be none
    bool told = false;
    std::promise<void> configurationRead;
    std::thread worker;
};
