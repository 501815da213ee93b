// A weston module for end-to-end tests on a headless compositor, which has
// no input devices: it adds a seat with a keyboard whose keys a test writes
// to a FIFO, and records in a file which surface has the keyboard focus.
//
// Environment: TRAMBLE_KEYS names the FIFO, TRAMBLE_FOCUS the record file,
// whose lines read "focus <surface address> <surface label>" or "focus none".
// FIFO lines: "type TEXT" types the text (US layout), "key NAME" presses
// Return, End, Escape or Tab. Keys go out one event every few milliseconds.
#include <libweston/libweston.h>
#include <weston/weston.h>

#include <errno.h>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

// Exported by libweston 10, declared only in its private headers.
void weston_seat_init(struct weston_seat* seat, struct weston_compositor* ec, const char* seat_name);
int weston_seat_init_keyboard(struct weston_seat* seat, struct xkb_keymap* keymap);
void weston_seat_release(struct weston_seat* seat);
void notify_key(struct weston_seat* seat, const struct timespec* time, uint32_t key, enum wl_keyboard_key_state state,
                enum weston_key_state_update update_state);

enum { kMaxEvents = 8192, kLineSize = 1024, kStepMs = 8 };

struct key_event {
    uint32_t key;
    int pressed;
};

struct keyboard_module {
    struct weston_compositor* compositor;
    struct weston_seat seat;
    struct wl_listener focus_listener;
    struct wl_listener destroy_listener;
    struct wl_event_source* fifo_source;
    struct wl_event_source* timer;
    int fifo;
    FILE* focus_record;
    char line[kLineSize];
    size_t line_length;
    struct key_event events[kMaxEvents];
    size_t first;
    size_t count;
};

// The evdev key and whether Shift is held for a character, US layout.
static int key_for_char(char c, uint32_t* key, int* shift)
{
    static const char* const rows[] = {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'", "zxcvbnm,./"};
    static const char* const shifted_rows[] = {"!@#$%^&*()_+", "QWERTYUIOP{}", "ASDFGHJKL:\"", "ZXCVBNM<>?"};
    static const uint32_t first_keys[] = {KEY_1, KEY_Q, KEY_A, KEY_Z};
    for (int row = 0; row < 4; ++row) {
        const char* at = strchr(rows[row], c);
        if (c && at) {
            *key = first_keys[row] + (uint32_t)(at - rows[row]);
            *shift = 0;
            return 1;
        }
        at = strchr(shifted_rows[row], c);
        if (c && at) {
            *key = first_keys[row] + (uint32_t)(at - shifted_rows[row]);
            *shift = 1;
            return 1;
        }
    }
    switch (c) {
    case ' ':
        *key = KEY_SPACE;
        *shift = 0;
        return 1;
    case '`':
        *key = KEY_GRAVE;
        *shift = 0;
        return 1;
    case '~':
        *key = KEY_GRAVE;
        *shift = 1;
        return 1;
    case '\\':
        *key = KEY_BACKSLASH;
        *shift = 0;
        return 1;
    case '|':
        *key = KEY_BACKSLASH;
        *shift = 1;
        return 1;
    default: return 0;
    }
}

static int key_for_name(const char* name, uint32_t* key)
{
    static const struct {
        const char* name;
        uint32_t key;
    } names[] = {{"Return", KEY_ENTER}, {"End", KEY_END}, {"Escape", KEY_ESC}, {"Tab", KEY_TAB}};
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        if (strcmp(name, names[i].name) == 0) {
            *key = names[i].key;
            return 1;
        }
    }
    return 0;
}

static void queue(struct keyboard_module* module, uint32_t key, int pressed)
{
    if (module->count == kMaxEvents)
        return;
    module->events[(module->first + module->count) % kMaxEvents] = (struct key_event){key, pressed};
    if (module->count++ == 0)
        wl_event_source_timer_update(module->timer, kStepMs);
}

static void queue_press(struct keyboard_module* module, uint32_t key, int shift)
{
    if (shift)
        queue(module, KEY_LEFTSHIFT, 1);
    queue(module, key, 1);
    queue(module, key, 0);
    if (shift)
        queue(module, KEY_LEFTSHIFT, 0);
}

static void run_line(struct keyboard_module* module, const char* line)
{
    uint32_t key;
    int shift;
    if (strncmp(line, "type ", 5) == 0) {
        for (const char* c = line + 5; *c; ++c) {
            if (key_for_char(*c, &key, &shift))
                queue_press(module, key, shift);
            else
                weston_log("tramble keyboard: no key for '%c'\n", *c);
        }
    } else if (strncmp(line, "key ", 4) == 0 && key_for_name(line + 4, &key)) {
        queue_press(module, key, 0);
    } else {
        weston_log("tramble keyboard: cannot run \"%s\"\n", line);
    }
}

static int send_next_key(void* data)
{
    struct keyboard_module* module = data;
    if (module->count == 0)
        return 0;
    const struct key_event event = module->events[module->first];
    module->first = (module->first + 1) % kMaxEvents;
    --module->count;
    struct timespec now;
    weston_compositor_get_time(&now);
    notify_key(&module->seat, &now, event.key,
               event.pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED, STATE_UPDATE_AUTOMATIC);
    if (module->count > 0)
        wl_event_source_timer_update(module->timer, kStepMs);
    return 0;
}

static int read_fifo(int fd, uint32_t mask, void* data)
{
    (void)mask;
    struct keyboard_module* module = data;
    char buffer[512];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == '\n') {
                module->line[module->line_length] = '\0';
                run_line(module, module->line);
                module->line_length = 0;
            } else if (module->line_length + 1 < kLineSize) {
                module->line[module->line_length++] = buffer[i];
            }
        }
    }
    return 0;
}

static void record_focus(struct wl_listener* listener, void* data)
{
    struct keyboard_module* module = wl_container_of(listener, module, focus_listener);
    struct weston_keyboard* keyboard = data;
    struct weston_surface* focus = keyboard->focus;
    char label[256] = "";
    if (focus && focus->get_label)
        focus->get_label(focus, label, sizeof label);
    // The surface's address tells two windows of the same title apart.
    if (focus)
        fprintf(module->focus_record, "focus %p %s\n", (void*)focus, label);
    else
        fprintf(module->focus_record, "focus none\n");
    fflush(module->focus_record);
}

static void destroy_module(struct wl_listener* listener, void* data)
{
    (void)data;
    struct keyboard_module* module = wl_container_of(listener, module, destroy_listener);
    wl_list_remove(&module->focus_listener.link);
    wl_event_source_remove(module->fifo_source);
    wl_event_source_remove(module->timer);
    weston_seat_release(&module->seat);
    close(module->fifo);
    fclose(module->focus_record);
    free(module);
}

WL_EXPORT int wet_module_init(struct weston_compositor* compositor, int* argc, char* argv[])
{
    (void)argc;
    (void)argv;
    const char* fifo_path = getenv("TRAMBLE_KEYS");
    const char* focus_path = getenv("TRAMBLE_FOCUS");
    if (!fifo_path || !focus_path) {
        weston_log("tramble keyboard: TRAMBLE_KEYS and TRAMBLE_FOCUS must be set\n");
        return -1;
    }
    struct keyboard_module* module = calloc(1, sizeof *module);
    if (!module)
        return -1;
    module->compositor = compositor;
    // Read and write, so that a writer closing it never leaves the FIFO at its end.
    module->fifo = open(fifo_path, O_RDWR | O_NONBLOCK | O_CLOEXEC);
    module->focus_record = fopen(focus_path, "we");
    if (module->fifo < 0 || !module->focus_record) {
        weston_log("tramble keyboard: cannot open %s or %s: %s\n", fifo_path, focus_path, strerror(errno));
        if (module->fifo >= 0)
            close(module->fifo);
        if (module->focus_record)
            fclose(module->focus_record);
        free(module);
        return -1;
    }
    weston_seat_init(&module->seat, compositor, "tramble-keyboard");
    if (weston_seat_init_keyboard(&module->seat, NULL) < 0) {
        weston_log("tramble keyboard: no keymap\n");
        weston_seat_release(&module->seat);
        close(module->fifo);
        fclose(module->focus_record);
        free(module);
        return -1;
    }
    module->focus_listener.notify = record_focus;
    wl_signal_add(&module->seat.keyboard_state->focus_signal, &module->focus_listener);

    struct wl_event_loop* loop = wl_display_get_event_loop(compositor->wl_display);
    module->fifo_source = wl_event_loop_add_fd(loop, module->fifo, WL_EVENT_READABLE, read_fifo, module);
    module->timer = wl_event_loop_add_timer(loop, send_next_key, module);
    weston_compositor_add_destroy_listener_once(compositor, &module->destroy_listener, destroy_module);
    return 0;
}
