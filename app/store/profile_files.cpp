#include "store/profile_files.h"

#include <cstring>
#include <memory>
#include <vector>

#include "atomic_file.h"
#include "file_reading.h"
#include "platform/platform_names.h"
#include "platform/program_paths.h"
#include "store/left_button_rule.h"
#include "store/macro_files.h"
#include "store/store_text.h"

namespace talvoro {
namespace {

bool valid_profile(int profile) {
    return profile >= 0 && profile < kProfileCount;
}

// Reads up to `size` bytes into a zeroed scratch buffer, so the target is
// touched only once the read has worked; bytes the file lacks stay zero.
int read_zero_filled(const std::string& path, std::vector<unsigned char>& buffer, size_t size) {
    buffer.assign(size, 0);
    const FileReadResult result = read_file_prefix(path, buffer.data(), size);
    switch (result.status) {
        case FileReadStatus::kRead:
            return kStoreRead;
        case FileReadStatus::kEmpty:
            return kStoreEmpty;
        case FileReadStatus::kCannotOpen:
            break;
    }
    return kStoreCannotOpen;
}

}  // namespace

std::string all_profiles_path() {
    return profile_folder() + "AllProfile";
}

std::string profile_folder() {
    return data_directory() + "profile" + kPathSeparator;
}

bool ensure_program_folders() {
    const std::string data = data_directory();
    const bool profile = ensure_folder(data + "profile");
    const bool macro_files = ensure_folder(data + "macro_files");
    return profile && macro_files;
}

bool write_profile_file(ProfileStore& store, const std::string& path, int profile) {
    if (!valid_profile(profile) || path.empty())
        return false;
    ProfileBlock& block = store.profiles[profile];
    char old_name[kTextField];
    std::memcpy(old_name, block.file_name, sizeof old_name);
    // The file carries its own name.
    copy_text(block.file_name, file_name_part(path));
    if (write_file_atomically(path, &block, sizeof block))
        return true;
    std::memcpy(block.file_name, old_name, sizeof old_name);
    return false;
}

int read_profile_file(ProfileStore& store, const std::string& path, int profile) {
    if (!valid_profile(profile))
        return kStoreCannotOpen;
    // One byte more than a block, to tell an exact block from a longer file.
    std::vector<unsigned char> buffer;
    buffer.assign(sizeof(ProfileBlock) + 1, 0);
    const FileReadResult read = read_file_prefix(path, buffer.data(), buffer.size());
    switch (read.status) {
        case FileReadStatus::kRead:
            break;
        case FileReadStatus::kEmpty:
            return kStoreEmpty;
        case FileReadStatus::kCannotOpen:
            return kStoreCannotOpen;
    }
    // Any other file would leave the block mostly zero: no button function at all.
    if (read.size != sizeof(ProfileBlock))
        return kStoreNotAProfile;
    auto loaded = std::make_unique<ProfileBlock>();
    std::memcpy(loaded.get(), buffer.data(), sizeof(ProfileBlock));
    if (!holds_left_click(*loaded))
        return kStoreNoLeftButton;
    terminate_field(loaded->file_name);
    std::memcpy(&store.profiles[profile], loaded.get(), sizeof(ProfileBlock));
    return kStoreRead;
}

bool write_all_profiles(const ProfileStore& store, const std::string& path) {
    return write_file_atomically(path.empty() ? all_profiles_path() : path, &store, sizeof store);
}

int read_all_profiles(ProfileStore& store, const std::string& path) {
    std::vector<unsigned char> buffer;
    const int result =
        read_zero_filled(path.empty() ? all_profiles_path() : path, buffer, sizeof(ProfileStore));
    if (result != kStoreRead)
        return result;
    std::memcpy(&store, buffer.data(), sizeof store);
    // Whatever the file held, texts end with a NUL and counts stay inside
    // their tables.
    for (ProfileBlock& block : store.profiles)
        terminate_field(block.file_name);
    terminate_field(store.app_version);
    terminate_field(store.fw_version);
    make_macro_store_safe(store.macro_store);
    return kStoreRead;
}

std::string chosen_profile_display_name(const std::string& path) {
    if (has_extension(path))
        return profile_display_name(file_name_part(path));
    return profile_display_name(path + ".qxp");
}

ProfileActionOutcome load_profile_action(ProfileStore& store, int page_profile,
                                         ProfileDialogs& dialogs) {
    ProfileActionOutcome outcome;
    const std::optional<std::string> path = dialogs.open_profile_path();
    if (!path)
        return outcome;
    if (read_profile_file(store, *path, page_profile) != kStoreRead) {
        dialogs.show_notice(kLoadProfileError);
        return outcome;
    }
    outcome.display_name = chosen_profile_display_name(*path);
    outcome.refresh_pages = true;
    return outcome;
}

ProfileActionOutcome save_profile_action(ProfileStore& store, int page_profile,
                                         ProfileDialogs& dialogs) {
    ProfileActionOutcome outcome;
    const std::optional<std::string> path = dialogs.save_profile_path();
    if (!path)
        return outcome;
    if (!write_profile_file(store, *path, page_profile)) {
        dialogs.show_notice(kSaveProfileError);
        return outcome;
    }
    outcome.display_name = chosen_profile_display_name(*path);
    return outcome;
}

ProfileActionOutcome cancel_action(ProfileStore& store) {
    ProfileActionOutcome outcome;
    outcome.macros_replaced = read_all_profiles(store) == kStoreRead;
    outcome.refresh_pages = true;
    return outcome;
}

}  // namespace talvoro
