// Waits until the X display named by $DISPLAY has what a window test asks for: a window
// manager (--wm: one that announces itself the EWMH way) and a notification area (--tray:
// an owner of the system tray selection). Exits 0 once they are there, 1 when they are
// not within the time-out (--timeout-ms, 60000 by default), 2 when the display cannot be
// reached.
//
// With --ready-socket PATH it waits for a Wayland compositor instead: it binds a datagram
// socket at PATH, prints "listening" once the compositor may be started with
// NOTIFY_SOCKET=PATH, and exits 0 when the compositor says "READY=1" there (it does once
// its socket takes clients and its shell is loaded), 1 at the time-out.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t atom(xcb_connection_t* c, const std::string& name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The window a property of `window` names, or none.
xcb_window_t windowProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property) {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 4)
        return XCB_WINDOW_NONE;
    return *static_cast<xcb_window_t*>(xcb_get_property_value(reply.get()));
}

// The manager's check window names itself: a stale property of a manager gone fails.
bool windowManagerRunning(xcb_connection_t* c, xcb_window_t root, xcb_atom_t check) {
    const xcb_window_t w = windowProperty(c, root, check);
    return w != XCB_WINDOW_NONE && windowProperty(c, w, check) == w;
}

bool trayRunning(xcb_connection_t* c, xcb_atom_t selection) {
    Reply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

int waitForReadyMessage(const std::string& path, long timeoutMs) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "session_wait: socket path too long\n");
        return 2;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        std::perror("session_wait: ready socket");
        return 2;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd p{fd, POLLIN, 0};
        if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) {
            std::fprintf(stderr, "session_wait: the compositor never said it was ready\n");
            close(fd);
            return 1;
        }
        char message[4096];
        const ssize_t n = recv(fd, message, sizeof message - 1, 0);
        if (n <= 0)
            continue;
        message[n] = '\0';
        // One variable a line; the state we wait for is READY=1.
        for (const char* line = message; line && *line;) {
            if (std::strncmp(line, "READY=1", 7) == 0 && (line[7] == '\n' || line[7] == '\0')) {
                close(fd);
                return 0;
            }
            line = std::strchr(line, '\n');
            if (line)
                ++line;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    bool wantWm = false;
    bool wantTray = false;
    long timeoutMs = 60000;
    std::string readySocket;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--wm") == 0)
            wantWm = true;
        else if (std::strcmp(argv[i], "--tray") == 0)
            wantTray = true;
        else if (std::strcmp(argv[i], "--timeout-ms") == 0 && i + 1 < argc)
            timeoutMs = std::strtol(argv[++i], nullptr, 10);
        else if (std::strcmp(argv[i], "--ready-socket") == 0 && i + 1 < argc)
            readySocket = argv[++i];
    }
    if (!readySocket.empty())
        return waitForReadyMessage(readySocket, timeoutMs);
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "session_wait: cannot open the display\n");
        return 2;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_atom_t tray = atom(c, "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const bool wm = !wantWm || windowManagerRunning(c, root, check);
        const bool area = !wantTray || trayRunning(c, tray);
        if (wm && area)
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "session_wait: no %s\n",
                         wm ? "notification area" : "window manager");
            xcb_disconnect(c);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    xcb_disconnect(c);
    return 0;
}
