#include "dialogs/notice_box_wnd.h"

#include <algorithm>

#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "core/text.h"

namespace talvoro::ui {
namespace {

constexpr int kBorder = 1;
constexpr int kCaptionHeight = 32;
constexpr int kInset = 16;
constexpr int kIconSize = 28;
constexpr int kIconGap = 12;
constexpr int kButtonRowHeight = 28;
const FontStyle kTextFont{"Verdana", 13};

// Sizes here agree with the constants above; the text's width is what is left of kWidth.
constexpr const char* kLayout = R"(<Window>
  <Font name="Verdana" size="13" default="true"/>
  <Font name="Verdana" size="13" bold="true"/>
  <VerticalLayout name="notice_frame" bkcolor="{panel}" bordercolor="{accent}" bordersize="1"
                  inset="1,1,1,1">
    <HorizontalLayout name="notice_caption_bar" height="32" bkcolor="{window}" inset="14,0,14,0">
      <Label name="notice_caption" font="1" textcolor="{text}"/>
    </HorizontalLayout>
    <Control height="1" bkcolor="{line}"/>
    <HorizontalLayout name="notice_body" inset="16,16,16,16" childpadding="12">
      <NoticeIcon name="notice_icon" width="28" height="28"/>
      <Text name="notice_text" textcolor="{text}" valign="top"/>
    </HorizontalLayout>
    <HorizontalLayout height="44" inset="16,0,16,16">
      <Control/>
      <DialogButton name="notice_ok_btn" width="88" text="OK" align="center" textcolor="{text}"
                    bkcolor="{accent}" hotbkcolor="{accent_hot}" pushedbkcolor="{accent_pressed}"/>
    </HorizontalLayout>
  </VerticalLayout>
</Window>)";

}  // namespace

CNoticeBoxWnd::CNoticeBoxWnd(std::string text, std::string caption, NoticeIcon icon)
    : text_(shown_text(std::move(text))), caption_(std::move(caption)), icon_(icon) {}

std::string CNoticeBoxWnd::shown_text(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

CNoticeBoxWnd::~CNoticeBoxWnd() {
    destroy();
}

bool CNoticeBoxWnd::open(CWindowWnd* owner) {
    const int icon_room = icon_ == NoticeIcon::kNone ? 0 : kIconSize + kIconGap;
    const int text_width = kWidth - 2 * kBorder - 2 * kInset - icon_room;
    const Size measured = measure_text(text_, kTextFont, kTextWordBreak, text_width);
    const int text_height = std::clamp(measured.height, kIconSize, kMaxTextHeight);
    const int height =
        2 * kBorder + kCaptionHeight + 1 + 2 * kInset + text_height + kButtonRowHeight + kInset;
    if (!create_dialog(owner, caption_, Size{kWidth, height}, kLayout, kCaptionHeight)) {
        return false;
    }
    if (auto* caption = manager().find_control("notice_caption")) {
        caption->set_text(caption_);
    }
    if (auto* text = manager().find_control("notice_text")) {
        text->set_text(text_);
    }
    if (auto* icon = dynamic_cast<CNoticeIconUI*>(manager().find_control("notice_icon"))) {
        icon->set_icon(icon_);
        icon->set_visible(icon_ != NoticeIcon::kNone);
    }
    return true;
}

void CNoticeBoxWnd::notify(TNotifyUI& msg) {
    if (msg.type == "click" && msg.sender != nullptr && msg.sender->name() == "notice_ok_btn") {
        close();
    }
}

intptr_t CNoticeBoxWnd::handle_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                                       bool& handled) {
    if (msg == WindowMessage::kKeyDown && (wparam == static_cast<uintptr_t>(kKeyReturn) ||
                                           wparam == static_cast<uintptr_t>(kKeyEscape))) {
        handled = true;
        close();
        return 0;
    }
    return CWindowWnd::handle_message(msg, wparam, lparam, handled);
}

}  // namespace talvoro::ui
