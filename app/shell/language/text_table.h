// The texts the program writes into controls and message boxes, one row of four languages per
// text, taken at the current language index.
#pragma once

namespace talvoro::shell {

enum class TextRow : int {
    kStepUp = 0,           // macro step list: a release
    kStepDown = 1,         // macro step list: a press
    kMouseEventClick = 2,  // mouse-event menu: click
    kDelaySuffix = 3,      // macro step list: after a delay
    kMouseLeftButton = 4,  // macro step list: mouse actions ...
    kMouseRightButton = 5,
    kMouseWheelButton = 6,
    kMouseBrowserForward = 7,
    kMouseBrowserBackward = 8,
    kMouseWheelUp = 9,
    kMouseWheelDown = 10,  // ... to here
    kKeyWord = 11,         // after a key name in a button field
    kKeyPopupTitle = 12,
    kKeyPopupPrompt = 13,
    kNoProfileInUse = 17,   // apply with all five profiles out of use
    kSoftwareVersion = 18,  // prefix of the version labels
    kFirmwareVersion = 19,
    kMenuMouseFunction = 20,  // button menu submenus
    kMenuGameFunction = 21,
    kMenuMacro = 22,
    kEventMenuLeft = 23,  // mouse-event menu entries
    kEventMenuRight = 24,
    kEventMenuWheel = 25,
    kEventMenuForward = 26,
    kEventMenuBackward = 27,
    kPlayOnce = 28,  // play-option combo items, in combo order
    kPlayNTimes = 29,
    kPlayWhilePressed = 30,
    kPlayToggle = 31,
    kDefineN = 32,            // play-option repeat count prompt
    kLeftButtonWarning = 33,  // no button left on the left click
    kApplyFailed = 40,        // the mouse did not take the settings
    kReadFailed = 41,         // the mouse could not be read; factory settings are shown
    // Progress of a long exchange, with the profile number (%d).
    kProgressWrite = 42,
    kProgressSelect = 43,
    kProgressRead = 44,
    kFileNotSaved = 45,    // a settings file could not be written: path (%s), reason (%s)
    kMacroFull = 46,       // recording stopped taking steps at the macro's limit
    kMacroCut = 47,        // a macro given to a button has more events than the mouse plays (%s)
    kProfileTooFull = 48,  // apply: the macros of profile %d need more room than the mouse has
    kLightingFailed = 49,  // the mouse did not take the lighting
};

// At the current language.
const char* text(TextRow row);
// A language outside 0..3 is English; a row that does not exist is "".
const char* text(TextRow row, int language);

}  // namespace talvoro::shell
