// The start-up probe: how long programs take from exec to their first painted window, and how
// much memory they hold then and once they have settled. It watches the X server the programs
// run on (DISPLAY): it starts a program, waits for its top-level window to be mapped, and polls
// the pixel at the window's centre until it shows the table green (0, 128, 0), which the game's
// board and the bare window both paint there in their first frame. Runs of the programs
// alternate, after one warm-up run each, so that they share the machine's ups and downs.
//
//   tarnwell_startup_probe [--runs N] [--settle MS] NAME=PROGRAM...
//
// Each program starts in a fresh, empty configuration folder and working folder.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned long TableGreen = 0x008000;
constexpr auto WindowDeadline = std::chrono::seconds(30);

struct Program {
    std::string name;
    std::string path;
    std::vector<double> paintMs;
    std::vector<long> rssAtPaintKiB, rssSettledKiB, peakKiB;
};

struct Memory {
    long rssKiB = 0;
    long peakKiB = 0;
};

Memory ReadMemory(pid_t pid) {
    Memory m;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            m.rssKiB = std::atol(line.c_str() + 6);
        else if (line.rfind("VmHWM:", 0) == 0)
            m.peakKiB = std::atol(line.c_str() + 6);
    }
    return m;
}

int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

std::string MakeTempDir() {
    char pattern[] = "/tmp/tarnwell-probe-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return made;
}

void RemoveTree(const std::string& dir) {
    const std::string command = "rm -rf '" + dir + "'";
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", dir.c_str());
}

// The process id a window says it belongs to, or 0.
pid_t WindowPid(Display* display, Window window) {
    static const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    pid_t pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) == Success &&
        data && count == 1 && format == 32)
        pid = pid_t(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return pid;
}

bool CentreIsGreen(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    XImage* image =
        XGetImage(display, window, attributes.width / 2, attributes.height / 2, 1, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel == TableGreen;
}

// One start of a program; false when its window never showed.
bool MeasureOnce(Display* display, Program& program, int settleMs, bool record) {
    const std::string config = MakeTempDir();
    const std::string work = MakeTempDir();

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("XDG_CONFIG_HOME=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("XDG_CONFIG_HOME=" + config);
    env.push_back("QT_QPA_PLATFORM=xcb");
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<char*> argv{program.path.data(), nullptr};

    // Anything left over from the run before is not this run's window.
    XSync(display, False);
    while (XPending(display)) {
        XEvent ignored;
        XNextEvent(display, &ignored);
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, work.c_str());
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.path.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", program.path.c_str(), std::strerror(spawned));
        RemoveTree(config);
        RemoveTree(work);
        std::exit(1);
    }

    Window window = 0;
    bool painted = false;
    double paintMs = 0;
    while (!painted && Clock::now() - start < WindowDeadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !window && !event.xmap.override_redirect &&
                WindowPid(display, event.xmap.window) == pid)
                window = event.xmap.window;
        }
        if (window && CentreIsGreen(display, window)) {
            paintMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            painted = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    const Memory atPaint = ReadMemory(pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const Memory settled = ReadMemory(pid);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    RemoveTree(config);
    RemoveTree(work);

    if (!painted) {
        std::fprintf(stderr, "%s: no painted window within %lld s\n", program.name.c_str(),
                     static_cast<long long>(WindowDeadline.count()));
        return false;
    }
    if (record) {
        program.paintMs.push_back(paintMs);
        program.rssAtPaintKiB.push_back(atPaint.rssKiB);
        program.rssSettledKiB.push_back(settled.rssKiB);
        program.peakKiB.push_back(settled.peakKiB);
    }
    return true;
}

template <typename T> T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double LoadAverage() {
    std::ifstream file("/proc/loadavg");
    double load = 0;
    file >> load;
    return load;
}

int Usage() {
    std::fputs("usage: tarnwell_startup_probe [--runs N] [--settle MS] NAME=PROGRAM...\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 10;
    int settleMs = 4000;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--settle" && i + 1 < argc)
            settleMs = std::max(0, std::atoi(argv[++i]));
        else if (const auto eq = arg.find('='); eq != std::string::npos && eq > 0) {
            // The program starts in a folder of its own, so its path must not be relative.
            char* absolute = realpath(arg.substr(eq + 1).c_str(), nullptr);
            if (!absolute) {
                std::fprintf(stderr, "no program %s\n", arg.substr(eq + 1).c_str());
                return 1;
            }
            programs.push_back({arg.substr(0, eq), absolute, {}, {}, {}, {}});
            std::free(absolute);
        } else
            return Usage();
    }
    if (programs.empty()) return Usage();

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("no X display (set DISPLAY)\n", stderr);
        return 1;
    }
    XSetErrorHandler(IgnoreXErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    const double loadBefore = LoadAverage();
    // Warm-up: libraries and files into the page cache, and whatever a program keeps for its
    // next start written (it is given the settling time to do so).
    for (Program& program : programs)
        if (!MeasureOnce(display, program, settleMs, false)) return 1;
    for (int run = 0; run < runs; ++run)
        for (Program& program : programs)
            if (!MeasureOnce(display, program, settleMs, true)) return 1;
    const double loadAfter = LoadAverage();

    std::printf("%-10s %8s %8s %8s %12s %12s %10s\n", "program", "median", "min", "max", "RSS at paint",
                "RSS settled", "peak RSS");
    std::printf("%-10s %8s %8s %8s %12s %12s %10s\n", "", "ms", "ms", "ms", "MiB", "MiB", "MiB");
    for (const Program& p : programs)
        std::printf("%-10s %8.1f %8.1f %8.1f %12.1f %12.1f %10.1f\n", p.name.c_str(), Median(p.paintMs),
                    *std::min_element(p.paintMs.begin(), p.paintMs.end()),
                    *std::max_element(p.paintMs.begin(), p.paintMs.end()), Median(p.rssAtPaintKiB) / 1024.0,
                    Median(p.rssSettledKiB) / 1024.0,
                    *std::max_element(p.peakKiB.begin(), p.peakKiB.end()) / 1024.0);
    // Also run by run: each run of the first program against the next program's run beside it,
    // which leaves out most of the machine's drift between runs.
    for (size_t i = 1; i < programs.size(); ++i) {
        std::vector<double> ratios;
        for (size_t r = 0; r < programs[0].paintMs.size(); ++r)
            ratios.push_back(programs[0].paintMs[r] / programs[i].paintMs[r]);
        std::printf("%s / %s: %.2f times (medians), %.2f times (median of the runs side by side)\n",
                    programs[0].name.c_str(), programs[i].name.c_str(),
                    Median(programs[0].paintMs) / Median(programs[i].paintMs), Median(ratios));
    }
    std::printf("%d runs each, settled after %d ms; load average %.2f before, %.2f after, %u cores\n", runs,
                settleMs, loadBefore, loadAfter, std::thread::hardware_concurrency());
    XCloseDisplay(display);
    return 0;
}
