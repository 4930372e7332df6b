/*
 * talvoro_api: the device service library of the Talvoro gaming mouse.
 *
 * The library is the only component that talks to the mouse. It finds the
 * mouse's vendor-defined configuration interface (usage page 0xFF01, usage 2),
 * frames commands as HID feature reports on it and moves whole profiles as
 * 2048-byte device images.
 *
 * Return rule, shared by every command below: a `QxStatus` byte.
 *   1   done; outputs written
 *   2   argument rejected before anything was sent
 *   3   transport failure: no device open, or a feature-report call failed
 *   255 the mouse answered with a status other than 1
 * On any value other than 1 the outputs are left untouched.
 *
 * Threads: one exchange at a time. Commands block the calling thread for the
 * protocol's fixed waits (10 ms to 1 s). Buffers belong to the caller; the
 * library never frees across this boundary.
 *
 * This header compiles as C11 and as C++.
 */
#ifndef TALVORO_API_H
#define TALVORO_API_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
/* The build of talvoro_api.dll defines TALVORO_API_BUILD; its users import. */
#if defined(TALVORO_API_BUILD)
#define TALVORO_API __declspec(dllexport)
#else
#define TALVORO_API __declspec(dllimport)
#endif
#else
#define TALVORO_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define TALVORO_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#define TALVORO_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

/* Result byte of every device command. */
typedef uint8_t QxStatus;
enum {
    QX_STATUS_DONE = 1,
    QX_STATUS_REJECTED = 2,
    QX_STATUS_TRANSPORT = 3,
    QX_STATUS_REFUSED = 255
};

/* Capacities of the profile record and of the device image. */
enum {
    TALVORO_BUTTON_ENTRIES = 13, /* buttons 1..11, wheel up, wheel down */
    TALVORO_MACRO_EVENTS = 128,  /* events of one MacroSlot */
    TALVORO_IMAGE_SIZE = 2048,   /* one device profile image */
    TALVORO_EVENT_AREA = 0x320,  /* image offset of the macro event area */
    TALVORO_EVENT_RECORDS = 178  /* 7-byte records that fit the event area */
};

/* One macro event. In the device image it takes 7 bytes. */
typedef struct MacroEvent {
    uint8_t event_type;      /* 1 keyboard key, 0x10 mouse button, 0x11 wheel */
    uint8_t pad_1;           /* not transferred */
    uint16_t event_code;     /* key usage, button bit, or wheel 1 up / 255 down */
    uint8_t event_action;    /* press or release (see Write_profile) */
    uint8_t pad_5[3];        /* not transferred */
    uint32_t event_delay_ms; /* only the low 24 bits travel */
} MacroEvent;

/* The events of the macro of one button entry. */
typedef struct MacroSlot {
    uint16_t event_count; /* events used, at most TALVORO_MACRO_EVENTS */
    uint8_t pad_2[6];     /* not transferred */
    MacroEvent events[TALVORO_MACRO_EVENTS];
} MacroSlot;

/* One button's function. In the device image it takes 7 bytes. */
typedef struct ButtonEntry {
    uint8_t function_type;      /* device function code */
    uint8_t function_param;     /* its parameter */
    uint16_t macro_offset;      /* image offset of the first event minus 20 */
    uint16_t macro_event_count; /* events of the macro */
    uint8_t macro_number;       /* 1-based macro number (function type 3) */
    uint8_t pad_7;              /* not transferred */
} ButtonEntry;

/* One device profile slot, exchanged as raw memory (20,212 bytes). */
typedef struct ProfileRecord {
    uint8_t profile_index;      /* slot 0..4; Write_profile sends it as the target */
    uint8_t in_use;             /* 1 in use, 0 not */
    uint16_t reserved_a;        /* carried unchanged */
    uint16_t data_size;         /* 2048, the size of the image */
    uint16_t reserved_b;        /* carried unchanged */
    uint8_t report_rate_code;   /* 1 = 1000 Hz, 2 = 500, 3 = 250, 5 = 125 */
    uint8_t power_save_seconds; /* 0 (off), 60 or 120 */
    uint8_t reserved_c[4];      /* carried unchanged */
    int8_t angle_tuning;        /* signed; the program sends 0 */
    uint8_t pad_15;             /* not transferred */
    uint16_t cpi[8];            /* level 1 X, level 1 Y, ... level 4 Y */
    uint8_t lift_off_code;      /* device lift-off code */
    uint8_t angle_snapping;     /* 0..10 */
    uint8_t smoothing;          /* 1 on, 0 off */
    uint8_t pad_35;             /* not transferred */
    ButtonEntry buttons[TALVORO_BUTTON_ENTRIES];
    MacroSlot macros[TALVORO_BUTTON_ENTRIES];
} ProfileRecord;

TALVORO_STATIC_ASSERT(sizeof(MacroEvent) == 12, "MacroEvent is 12 bytes");
TALVORO_STATIC_ASSERT(offsetof(MacroEvent, event_code) == 2, "MacroEvent.event_code");
TALVORO_STATIC_ASSERT(offsetof(MacroEvent, event_action) == 4, "MacroEvent.event_action");
TALVORO_STATIC_ASSERT(offsetof(MacroEvent, event_delay_ms) == 8, "MacroEvent.event_delay_ms");
TALVORO_STATIC_ASSERT(sizeof(MacroSlot) == 1544, "MacroSlot is 1544 bytes");
TALVORO_STATIC_ASSERT(offsetof(MacroSlot, events) == 8, "MacroSlot.events");
TALVORO_STATIC_ASSERT(sizeof(ButtonEntry) == 8, "ButtonEntry is 8 bytes");
TALVORO_STATIC_ASSERT(offsetof(ButtonEntry, function_param) == 1, "ButtonEntry.function_param");
TALVORO_STATIC_ASSERT(offsetof(ButtonEntry, macro_offset) == 2, "ButtonEntry.macro_offset");
TALVORO_STATIC_ASSERT(offsetof(ButtonEntry, macro_event_count) == 4,
                      "ButtonEntry.macro_event_count");
TALVORO_STATIC_ASSERT(offsetof(ButtonEntry, macro_number) == 6, "ButtonEntry.macro_number");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, in_use) == 1, "ProfileRecord.in_use");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, reserved_a) == 2, "ProfileRecord.reserved_a");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, data_size) == 4, "ProfileRecord.data_size");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, reserved_b) == 6, "ProfileRecord.reserved_b");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, report_rate_code) == 8,
                      "ProfileRecord.report_rate_code");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, power_save_seconds) == 9,
                      "ProfileRecord.power_save_seconds");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, reserved_c) == 10, "ProfileRecord.reserved_c");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, angle_tuning) == 14, "ProfileRecord.angle_tuning");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, cpi) == 16, "ProfileRecord.cpi");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, lift_off_code) == 32, "ProfileRecord.lift_off_code");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, angle_snapping) == 33,
                      "ProfileRecord.angle_snapping");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, smoothing) == 34, "ProfileRecord.smoothing");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, buttons) == 36, "ProfileRecord.buttons");
TALVORO_STATIC_ASSERT(offsetof(ProfileRecord, macros) == 140, "ProfileRecord.macros");
TALVORO_STATIC_ASSERT(sizeof(ProfileRecord) == 20212, "ProfileRecord is 20,212 bytes");

/* --- Device access ------------------------------------------------------ */

/* Finds the first configuration interface of a Talvoro mouse and opens it as
 * the library's one feature device. A handle already held is closed first.
 * Returns 1 when a mouse was opened, 0 when none was found (the previous
 * handle is then closed too). */
TALVORO_API int Open_QX_device(void);
/* Second export name of Open_QX_device. */
TALVORO_API int Open_FeatureDevice(void);

/* Closes the feature device if one is open. Returns 1, always. */
TALVORO_API int Close_QX_device(void);
/* Second export name of Close_QX_device. */
TALVORO_API int Close_FeatureDevice(void);

/* Sends a feature report; buffer[0] is the report id and `length` includes
 * it. Returns 0 when no device is open or the call failed, else 1. */
TALVORO_API int SetFeature(unsigned char* buffer, int length);

/* Reads a feature report; set buffer[0] to the report id first. `length`
 * includes the id byte. Returns 0 when no device is open or the call failed,
 * else 1 with the report in `buffer`. */
TALVORO_API int GetFeature(unsigned char* buffer, int length);

/* --- Commands (each returns a QxStatus) ---------------------------------- */

/* Firmware version (major * 100 + minor) and two further reply bytes. */
TALVORO_API QxStatus Get_fw_info(uint16_t* version, uint8_t* second, uint8_t* third);
/* Firmware version alone (the same command with a shorter wait). */
TALVORO_API QxStatus Get_fw_version(uint16_t* version);
/* The active profile slot, 0..4. */
TALVORO_API QxStatus Get_current_profile_id(uint8_t* slot);
/* Makes a slot active; only the low byte of `slot` is sent. Waits 300 ms. */
TALVORO_API QxStatus Set_current_profile_id(int slot);
/* Switches the mouse's lighting off (black-out on). */
TALVORO_API QxStatus Set_LED_black_out(void);
/* Switches the mouse's lighting back on. */
TALVORO_API QxStatus Set_LED_black_out_off(void);
/* Driver-control switch; `mode` must be 0 or 2, else 2 and nothing is sent. */
TALVORO_API QxStatus Set_driver_control(uint8_t mode);
/* Reads one raw 1024-byte flash block (low byte of `block` is sent) into
 * `destination`. Waits 1000 ms. */
TALVORO_API QxStatus Read_flash_block(int block, uint8_t* destination);

/* Three names of one query that does nothing and returns 1; the caller's
 * arguments, if any, are ignored. */
TALVORO_API QxStatus Get_profile_state(void);
TALVORO_API QxStatus Get_squal(void);
TALVORO_API QxStatus Get_squal_avg(void);

/* --- Profile transfer ---------------------------------------------------- */

/* Reads the image of `slot` (low byte sent) and unpacks it into `record`.
 * Only the bytes the image carries are written: padding, and the macro slots
 * of entries that are not macros, keep what the caller put there. Event
 * counts that would reach past the image or past 128 events are clamped to
 * what fits. Returns 1, 3, or 255 (record untouched on failure). */
TALVORO_API QxStatus Read_profile(int slot, ProfileRecord* record);

/* Packs `record` into an image and writes it to the slot named by
 * `record->profile_index` (`slot` is not used). Before sending, stores the
 * computed macro_offset and macro_event_count of every macro entry into
 * `record`. Returns 2, with nothing sent and the record untouched, when the
 * record's macros cannot be packed: macro slot 9 above 164 events, any macro
 * above 128 events, or macros needing more than 178 event records (events
 * plus one terminator each). Else 1, 3 or 255. */
TALVORO_API QxStatus Write_profile(int slot, ProfileRecord* record);

/* --- Device monitor ------------------------------------------------------ */

/* Where the monitor's messages go: `post` is called on the monitor's own
 * thread, never on the caller's, with the client's message number, wParam
 * (1 device found or attached, 0 device removed) and lParam (the device
 * number). It must only hand the message on (to an event queue, say) and
 * return at once; it must not call the monitor back. */
typedef struct TalvoroMessageSink {
    void (*post)(void* context, uint32_t message, uintptr_t wparam, intptr_t lparam);
    void* context;
} TalvoroMessageSink;

/* Starts watching for Talvoro mice: every configuration interface present now
 * and every one attached later is announced with wParam 1, every one removed
 * with wParam 0. `client_window` is copied; `reserved` is kept and handed back
 * when the monitor restarts itself after a resume. Returns 1 when the monitor
 * runs (a second call while it runs announces nothing), 0 when it could not
 * start (it gives its thread 2000 ms to come up). */
TALVORO_API int Open_DevMonitor(const TalvoroMessageSink* client_window, uint32_t reserved,
                                uint32_t client_message);

/* Announces the removal of every tracked mouse, stops the monitor's thread
 * and returns 1, always. */
TALVORO_API int Close_DevMonitor(void);

#ifdef __cplusplus
}
#endif

#endif /* TALVORO_API_H */
