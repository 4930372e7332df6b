#include "shell/pages/macro_rows.h"

#include <array>

#include "core/horizontal_layout.h"
#include "core/label.h"
#include "shell/language/macro_step_texts.h"

namespace talvoro::shell {
namespace {

using Attributes = std::initializer_list<std::pair<const char*, const char*>>;

template <typename Control>
std::unique_ptr<Control> make(Attributes attributes) {
    auto control = std::make_unique<Control>();
    for (const auto& [name, value] : attributes) {
        control->set_attribute(name, value);
    }
    return control;
}

ui::CControlUI* find_first(ui::CControlUI* row, const std::function<bool(ui::CControlUI&)>& fits) {
    ui::CControlUI* found = nullptr;
    if (row != nullptr) {
        row->for_each([&](ui::CControlUI& control) {
            if (found == nullptr && fits(control)) {
                found = &control;
            }
        });
    }
    return found;
}

}  // namespace

const char* step_icon(MacroRowKind kind) {
    switch (kind) {
        case kRowDelay:
            return "file='MacroSignTimer.bmp' mask='0xff000000'";
        case kRowKeyDown:
            return "MacroSignDown.bmp";
        case kRowKeyUp:
            return "MacroSignUp.bmp";
        case kRowMousePress:
        case kRowMouseRelease:
        case kRowWheelDown:
        case kRowWheelUp:
            return "MacroSignMouse2.bmp";
    }
    return "";
}

std::unique_ptr<ui::CListContainerElementUI> make_name_row(const std::string& control_name,
                                                           const std::string& name) {
    auto row = make<ui::CListContainerElementUI>({{"height", "18"}});
    auto layout =
        make<ui::CHorizontalLayoutUI>({{"width", "318"}, {"height", "18"}, {"inset", "3,5,3,5"}});
    auto edit = make<ui::CEditUI>({{"float", "true"},
                                   {"pos", "3,-2,0,0"},
                                   {"width", "120"},
                                   {"height", "18"},
                                   {"bkcolor", "#00000000"},
                                   {"textcolor", "#00FFFFFF"},
                                   {"readonly", "true"}});
    edit->set_name(control_name);
    edit->set_text(name);
    auto label =
        make<ui::CLabelUI>({{"float", "true"},
                            {"pos", "129,0,0,0"},
                            {"width", "190"},
                            {"height", "18"},
                            {"bkcolor", "#00000000"},
                            {"textcolor", "#00FFFFFF"},
                            {"bkimage", "file='MacroName_hot.png' source='123,0,318,18' "}});
    layout->add(std::move(edit));
    layout->add(std::move(label));
    row->add(std::move(layout));
    return row;
}

std::string step_row_text(const MacroStep& step, int language) {
    // The editor lists only listed steps, so there is always a text.
    return step_display_text(step, language).value_or("");
}

std::unique_ptr<ui::CListContainerElementUI> make_step_row(MacroRowKind kind, const MacroStep& step,
                                                           int language) {
    auto row = make<ui::CListContainerElementUI>({{"height", "20"}});
    // 18, not 17: the text label below sits at 4 and is 14 tall, and a 17-pixel layout would cut
    // the descenders of its last line.
    auto layout =
        make<ui::CHorizontalLayoutUI>({{"width", "340"}, {"height", "18"}, {"inset", "3,5,3,5"}});
    auto icon = make<ui::CLabelUI>({{"name", "macro_type_icon"},
                                    {"float", "true"},
                                    {"pos", "12,4,26,18"},
                                    {"bordersize", "0"},
                                    {"width", "14"},
                                    {"height", "14"},
                                    {"bkimage", step_icon(kind)},
                                    {"bkcolor2", "#FF757676"},
                                    {"bordercolor", "#FF000000"},
                                    {"maxheight", "10"},
                                    {"textcolor", "#FF000000"},
                                    {"disabledtextcolor", "#FFA7A6AA"}});
    auto label = make<ui::CLabelUI>({{"float", "true"},
                                     {"pos", "76,4,0,0"},
                                     {"width", "200"},
                                     {"height", "14"},
                                     {"bkcolor", "#00000000"},
                                     {"textcolor", "#00FFFFFF"}});
    label->set_name(kStepTextLabel);
    label->set_text(step_row_text(step, language));
    layout->add(std::move(icon));
    layout->add(std::move(label));
    row->add(std::move(layout));
    return row;
}

ui::CEditUI* find_name_edit(ui::CControlUI* row) {
    return dynamic_cast<ui::CEditUI*>(find_first(row, [](ui::CControlUI& control) {
        return name_row_index(control.name()) >= 0 && dynamic_cast<ui::CEditUI*>(&control);
    }));
}

ui::CControlUI* find_step_label(ui::CControlUI* row) {
    return find_first(row,
                      [](ui::CControlUI& control) { return control.name() == kStepTextLabel; });
}

}  // namespace talvoro::shell
