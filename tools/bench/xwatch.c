/* The X side of the benchmark: starts a program and times it until its window is mapped and first
 * painted, and clicks into a window and times it until the window's last damage (its last painting).
 *
 *   xwatch start PROGRAM [ARG...]          prints "MAPPED PAINTED WINDOW PID" (ms from the start until a
 *                                          top-level window is mapped, and until its first painting);
 *                                          the program keeps running
 *   xwatch click WINDOW X Y QUIET TIMEOUT [PERCENT]
 *                                          moves the pointer to (X, Y) of the window, waits until the
 *                                          window is quiet, clicks, prints the ms from the click to the
 *                                          last damage before QUIET ms without any (-1 when none); with
 *                                          PERCENT, until the damage covers that share of the window (a
 *                                          new screen painted)
 *   xwatch quiet WINDOW QUIET TIMEOUT      returns once the window was not painted for QUIET ms
 *   xwatch raise WINDOW                    puts the window above the other windows
 *
 * WINDOW 0 is the root window.
 *
 * A new screen: the press and release repaint the clicked widget itself (a tile of the home page is about
 * a seventh of the window), which is not a new screen. A damage rectangle that holds the click point and
 * covers less than PERCENT of the window is taken for that repaint and not counted; the rest counts by
 * the pixels it covers, each pixel once, so the pieces of a window painted around a dialog that opened
 * with it add up, while a small part painted over and over does not. A damage rectangle as large as the
 * share or larger counts whole even when it holds the click point (the new screen painted at once).
 */
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double NowMs(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

/* Waits for the next event at most timeoutMs; 1 when one is there. */
static int WaitEvent(Display* dpy, double timeoutMs) {
    if (XPending(dpy)) return 1;
    struct pollfd pfd = {ConnectionNumber(dpy), POLLIN, 0};
    int ms = timeoutMs < 0 ? 0 : (int)(timeoutMs + 0.5);
    if (poll(&pfd, 1, ms) <= 0) return 0;
    return XPending(dpy) > 0;
}

static int Start(Display* dpy, char** argv) {
    Window root = DefaultRootWindow(dpy);
    int damageEvent, damageError;
    if (!XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
        fprintf(stderr, "xwatch: the X server has no Damage extension\n");
        return 1;
    }
    XSelectInput(dpy, root, SubstructureNotifyMask);
    /* Painting into any window shows as damage of the root window. */
    XDamageCreate(dpy, root, XDamageReportRawRectangles);
    XSync(dpy, False);
    double t0 = NowMs();
    pid_t pid = fork();
    if (pid < 0) return 1;
    if (pid == 0) {
        /* The caller reads this helper's output to its end: the program writes to stderr instead. */
        close(ConnectionNumber(dpy));
        dup2(2, 1);
        execvp(argv[0], argv);
        _exit(127);
    }
    Window mapped = 0;
    double mappedMs = 0;
    for (;;) {
        if (!WaitEvent(dpy, 60000)) {
            fprintf(stderr, "xwatch: no window mapped and painted within 60 s\n");
            return 1;
        }
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (mapped && ev.type == damageEvent + XDamageNotify) {
            printf("%.2f %.2f 0x%lx %d\n", mappedMs, NowMs() - t0, mapped, (int)pid);
            return 0;
        }
        if (mapped || ev.type != MapNotify || ev.xmap.override_redirect) continue;
        XWindowAttributes attr;
        if (!XGetWindowAttributes(dpy, ev.xmap.window, &attr) || attr.width < 200) continue;
        mapped = ev.xmap.window;
        mappedMs = NowMs() - t0;
    }
}

/* The time when the damage since the call covers minArea pixels of the window (width x height), -1 when
 * it did not within timeoutMs. Damage rectangles smaller than minArea that hold (clickX, clickY) are the
 * clicked widget's own repaint and do not count. */
static double NewScreen(Display* dpy, int damageEvent, int width, int height, int clickX, int clickY,
                        long minArea, double timeoutMs) {
    unsigned char* painted = calloc((size_t)width * height, 1);
    if (!painted) return -1;
    double end = NowMs() + timeoutMs, at = -1;
    long area = 0;
    while (at < 0) {
        double now = NowMs();
        if (now >= end) break;
        if (!WaitEvent(dpy, end - now)) continue;
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type != damageEvent + XDamageNotify) continue;
        const XRectangle* r = &((const XDamageNotifyEvent*)&ev)->area;
        int own = clickX >= r->x && clickX < r->x + r->width && clickY >= r->y && clickY < r->y + r->height &&
                  (long)r->width * r->height < minArea;
        if (own) continue;
        int x0 = r->x < 0 ? 0 : r->x, y0 = r->y < 0 ? 0 : r->y;
        int x1 = r->x + r->width > width ? width : r->x + r->width;
        int y1 = r->y + r->height > height ? height : r->y + r->height;
        for (int y = y0; y < y1; ++y) {
            unsigned char* row = painted + (size_t)y * width;
            for (int x = x0; x < x1; ++x) {
                area += !row[x];
                row[x] = 1;
            }
        }
        if (area >= minArea) at = NowMs();
    }
    free(painted);
    return at;
}

/* Collects damage of the window; returns the time of the last damage before quietMs without any. */
static double LastDamage(Display* dpy, int damageEvent, double quietMs, double timeoutMs, double since) {
    double last = -1, end = NowMs() + timeoutMs;
    for (;;) {
        double now = NowMs();
        double wait = (last < 0 ? since : last) + quietMs - now;
        if (now >= end || wait <= 0) return last;
        if (!WaitEvent(dpy, wait < end - now ? wait : end - now)) continue;
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == damageEvent + XDamageNotify) last = NowMs();
    }
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr,
                "usage: xwatch start PROGRAM [ARG...] | click WINDOW X Y QUIET TIMEOUT [PERCENT] | "
                "quiet WINDOW QUIET TIMEOUT | raise WINDOW\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "xwatch: cannot open the display\n");
        return 1;
    }
    if (strcmp(argv[1], "start") == 0) return Start(dpy, argv + 2);

    int damageEvent, damageError;
    if (!XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
        fprintf(stderr, "xwatch: the X server has no Damage extension\n");
        return 1;
    }
    Window win = (Window)strtoul(argv[2], NULL, 0);
    if (win == 0) win = DefaultRootWindow(dpy);
    XDamageCreate(dpy, win, XDamageReportRawRectangles);
    XSync(dpy, False);
    if (strcmp(argv[1], "raise") == 0 && argc == 3) {
        XRaiseWindow(dpy, win);
        XSync(dpy, False);
        return 0;
    }
    if (strcmp(argv[1], "quiet") == 0 && argc == 5) {
        double start = NowMs();
        LastDamage(dpy, damageEvent, atof(argv[3]), atof(argv[4]), start);
        return 0;
    }
    if (strcmp(argv[1], "click") == 0 && (argc == 7 || argc == 8)) {
        int x, y;
        Window child;
        XTranslateCoordinates(dpy, win, DefaultRootWindow(dpy), atoi(argv[3]), atoi(argv[4]), &x, &y, &child);
        double quiet = atof(argv[5]), timeout = atof(argv[6]);
        XTestFakeMotionEvent(dpy, DefaultScreen(dpy), x, y, CurrentTime);
        XFlush(dpy);
        LastDamage(dpy, damageEvent, quiet, timeout, NowMs());
        double t0 = NowMs();
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
        XFlush(dpy);
        double last;
        if (argc == 8) {
            XWindowAttributes attr;
            XGetWindowAttributes(dpy, win, &attr);
            long minArea = (long)attr.width * attr.height * atol(argv[7]) / 100;
            last = NewScreen(dpy, damageEvent, attr.width, attr.height, atoi(argv[3]), atoi(argv[4]), minArea,
                             timeout);
        } else {
            last = LastDamage(dpy, damageEvent, quiet, timeout, t0);
        }
        printf("%.2f\n", last < 0 ? -1.0 : last - t0);
        return 0;
    }
    fprintf(stderr, "xwatch: unknown command %s\n", argv[1]);
    return 2;
}
