// Profile files (.qxp, one raw ProfileBlock), the AllProfile file (the raw
// ProfileStore as of the last apply), the data folders, and the Load, Save
// and Cancel actions of the profile pages.
#pragma once

#include <optional>
#include <string>

#include "store/profile_store.h"

namespace talvoro {

// Results of the store's file reads.
enum StoreReadResult : int {
    kStoreRead = 0,        // read; a short file fills the start, the rest is zero
    kStoreCannotOpen = 1,  // missing or unreadable: nothing changed
    kStoreEmpty = 2,       // no byte in the file: nothing changed
    // Profile files only: nothing changed, since loading the file would not give a usable profile.
    kStoreNotAProfile = 3,   // the file is not exactly one block long
    kStoreNoLeftButton = 4,  // no button holds Left Click, so the mouse would have no left button
};

// data_directory() + "profile/AllProfile", with the platform's separator.
std::string all_profiles_path();
// data_directory() + "profile/" (the platform's separator), the folder the profile dialogs start
// in.
std::string profile_folder();

// Creates "profile" and "macro_files" in the data folder (and the data folder
// itself). True when both exist afterwards; start-up carries on either way.
[[nodiscard]] bool ensure_program_folders();

// Writes block `profile` (0..4) to `path`, after setting its file_name to the
// path's file name part. On failure the block is left as it was.
[[nodiscard]] bool write_profile_file(ProfileStore& store, const std::string& path, int profile);
// Replaces block `profile` with the file, which must be exactly one block
// long and keep a button on Left Click; otherwise the block stays as it was.
// An invalid profile number reads as kStoreCannotOpen.
[[nodiscard]] int read_profile_file(ProfileStore& store, const std::string& path, int profile);

// The whole store to or from a file; an empty path means all_profiles_path().
// A failed read leaves the store unchanged.
[[nodiscard]] bool write_all_profiles(const ProfileStore& store, const std::string& path = {});
[[nodiscard]] int read_all_profiles(ProfileStore& store, const std::string& path = {});

// The notice texts of the actions.
inline constexpr const char* kLoadProfileError = "Load the profile error .";
inline constexpr const char* kSaveProfileError = "Save the profile error .";

// What the actions need from the window: the file dialogs (filters
// "QX profile (*.qxp)" and all files, default extension "qxp", starting at
// profile_folder() + "profile.qxp") and a notice box ("Notice by App", OK).
class ProfileDialogs {
  public:
    virtual ~ProfileDialogs() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> open_profile_path() = 0;
    virtual std::optional<std::string> save_profile_path() = 0;
    virtual void show_notice(const std::string& text) = 0;
};

// What a page shows after an action.
struct ProfileActionOutcome {
    // Shown in the profile-name labels of both profile pages; nothing when
    // the dialog was cancelled or the file could not be read or written, so
    // the labels keep naming the profile the block holds.
    std::optional<std::string> display_name;
    // The store changed: refresh the pages for the page profile.
    bool refresh_pages = false;
    // The whole store was read back, macros included.
    bool macros_replaced = false;
};

// The name an action shows for a chosen path: the file name when it has an
// extension, else the whole path, either without a final ".qxp".
std::string chosen_profile_display_name(const std::string& path);

// Load: read a profile file into the page profile's block.
ProfileActionOutcome load_profile_action(ProfileStore& store, int page_profile,
                                         ProfileDialogs& dialogs);
// Save: write the page profile's block to a profile file.
ProfileActionOutcome save_profile_action(ProfileStore& store, int page_profile,
                                         ProfileDialogs& dialogs);
// Cancel: go back to the state of the last apply (the AllProfile file). The
// pages are refreshed whatever the result; a missing file changes nothing.
ProfileActionOutcome cancel_action(ProfileStore& store);

}  // namespace talvoro
