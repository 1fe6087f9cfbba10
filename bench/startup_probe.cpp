// Starts a program and prints how many milliseconds passed from the fork to
// the X server mapping the program's first top-level window. It waits for the
// map notification itself instead of polling, so the figure is not rounded to
// a polling interval. The program is ended as soon as the window is mapped;
// the CPU time it used until then follows on the same line, in milliseconds,
// a figure that other work on the machine disturbs far less.
//   startup_probe PROGRAM [ARGUMENT...]

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr double TimeoutMs = 30000;

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// The process that owns a window, as the toolkit declares it; -1 if unknown.
long windowPid(Display *display, Window window, Atom netWmPid)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) == Success &&
        data) {
        if (type == XA_CARDINAL && format == 32 && count == 1)
            pid = *reinterpret_cast<long *>(data); // Xlib widens 32-bit items to long
        XFree(data);
    }
    return pid;
}

// A window that vanished between its map and the query is not an error.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

double cpuMs(const rusage &usage)
{
    const auto ms = [](const timeval &tv) {
        return double(tv.tv_sec) * 1e3 + double(tv.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Ends the child and returns the CPU time, user and system, that it used.
double stop(pid_t child)
{
    rusage usage{};
    kill(child, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (wait4(child, nullptr, WNOHANG, &usage) == child)
            return cpuMs(usage);
        usleep(100000);
    }
    kill(child, SIGKILL);
    wait4(child, nullptr, 0, &usage);
    return cpuMs(usage);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: cannot open the X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreXError);
    // The program must not inherit our connection to the server.
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    // Without a window manager a top-level window is a child of the root, so
    // its mapping is reported to whoever listens on the root.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("startup_probe: fork");
        return 2;
    }
    if (child == 0) {
        execv(argv[1], argv + 1);
        std::fprintf(stderr, "startup_probe: cannot run %s: %s\n", argv[1], std::strerror(errno));
        _exit(127);
    }

    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (nowMs() - start < TimeoutMs) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.override_redirect)
                continue;
            if (windowPid(display, event.xmap.window, netWmPid) != long(child))
                continue;
            const double mapped = nowMs();
            const double cpu = stop(child);
            std::printf("%.1f %.1f\n", mapped - start, cpu);
            XCloseDisplay(display);
            return 0;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "startup_probe: %s ended before mapping a window\n", argv[1]);
            XCloseDisplay(display);
            return 1;
        }
        poll(&connection, 1, 50);
    }
    std::fprintf(stderr, "startup_probe: %s mapped no window in %.0f ms\n", argv[1], TimeoutMs);
    stop(child);
    XCloseDisplay(display);
    return 1;
}
