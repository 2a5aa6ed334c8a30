// A module for the Wayland compositor of the window tests (weston, headless back end):
// that back end has no input devices at all, so no seat, and without a seat a window
// never gets the keyboard focus and the clipboard cannot be set. Every desktop has one;
// this module adds a seat with a keyboard and a pointer, as a desktop's would be.
// Loaded with `weston --modules=ABSOLUTE_PATH_OF_THIS_MODULE`.
extern "C" {
#include <libweston/libweston.h>
}

#include <cstdlib>

extern "C" {

// Exported by libweston but declared only in its private headers.
void weston_seat_init(weston_seat* seat, weston_compositor* compositor, const char* name);
int weston_seat_init_keyboard(weston_seat* seat, xkb_keymap* keymap);
int weston_seat_init_pointer(weston_seat* seat);

// The compositor keeps the seat for its whole run.
WL_EXPORT int wet_module_init(weston_compositor* compositor, int*, char*[]) {
    auto* seat = static_cast<weston_seat*>(std::calloc(1, sizeof(weston_seat)));
    if (!seat)
        return -1;
    weston_seat_init(seat, compositor, "default");
    if (weston_seat_init_keyboard(seat, nullptr) < 0) // the compositor's default keymap
        return -1;
    return weston_seat_init_pointer(seat);
}

} // extern "C"
