#include "shell/pages/profile_block.h"

#include "shell/pages/page_host.h"
#include "store/profile_files.h"
#include "store/store_text.h"

namespace talvoro::shell {
namespace {

template <typename T, size_t N>
int index_of(const std::array<T*, N>& controls, const ui::CControlUI* sender) {
    for (size_t i = 0; i < N; ++i) {
        if (controls[i] != nullptr && controls[i] == sender) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

void ProfileBlockUI::bind(PageHost& host, const ProfileBlockControls& block,
                          const ProfileBlockControls& other) {
    host_ = &host;
    block_ = &block;
    other_ = &other;
}

bool ProfileBlockUI::on_notify(ui::TNotifyUI& msg) {
    if (host_ == nullptr || msg.sender == nullptr) {
        return false;
    }
    ProfileStore& store = host_->store();
    const int slot = host_->current_profile_slot();
    if (msg.type == "selectchanged") {
        const int profile = index_of(block_->in_use_options, msg.sender);
        if (profile < 0) {
            return false;
        }
        store.profiles[profile].in_use = block_->in_use_options[profile]->is_selected() ? 1 : 0;
        return true;
    }
    if (msg.type != "click") {
        return false;
    }
    ProfileDialogs* dialogs = host_->services().profile_dialogs;
    if (msg.sender == block_->cancel_btn) {
        // The last apply's state holds the macros too.
        if (cancel_action(store).macros_replaced) {
            host_->macros_replaced();
        }
        host_->page_refresh(slot);
    } else if (msg.sender == block_->load_btn && dialogs != nullptr) {
        const ProfileActionOutcome outcome = load_profile_action(store, slot, *dialogs);
        if (outcome.display_name) {
            show_name(*outcome.display_name);
        }
        if (outcome.refresh_pages) {
            host_->page_refresh(slot);
        }
    } else if (msg.sender == block_->save_btn && dialogs != nullptr) {
        const ProfileActionOutcome outcome = save_profile_action(store, slot, *dialogs);
        if (outcome.display_name) {
            show_name(*outcome.display_name);
        }
    } else if (const int chosen = index_of(block_->profile_options, msg.sender); chosen >= 0) {
        host_->page_refresh(chosen);
    } else {
        return false;
    }
    return true;
}

void ProfileBlockUI::show(int slot) {
    if (host_ == nullptr || slot < 0 || slot >= kProfileCount) {
        return;
    }
    const ProfileStore& store = host_->store();
    for (int i = 0; i < kProfileCount; ++i) {
        if (ui::COptionUI* option = block_->in_use_options[static_cast<size_t>(i)]) {
            option->selected(store.profiles[i].in_use != 0, false);
        }
    }
    // The name shows in both blocks or in neither.
    if (block_->name_label != nullptr && other_->name_label != nullptr) {
        block_->name_label->set_text(
            profile_display_name(field_text(store.profiles[slot].file_name)));
    }
    if (ui::COptionUI* option = block_->profile_options[static_cast<size_t>(slot)]) {
        option->selected(true, false);
    }
}

void ProfileBlockUI::show_name(const std::string& name) {
    for (ui::CControlUI* label : {block_->name_label, other_->name_label}) {
        if (label != nullptr) {
            label->set_text(name);
        }
    }
}

}  // namespace talvoro::shell
