#include "shell/language/text_table.h"

#include <array>
#include <cstddef>

#include "shell/language/language.h"
#include "shell/language/macro_step_texts.h"
#include "store/macro_steps.h"

namespace talvoro::shell {
namespace {

using Row = std::array<const char*, 4>;

struct TableRow {
    TextRow row;
    Row texts;
};

// The rows of the macro step list come from its own texts (macro_step_texts.h), which also word
// whole steps; only the rest are here.
constexpr TableRow kRows[] = {
    {TextRow::kMouseEventClick, {" Click", " 點擊   ", " 点击   ", " Klick   "}},
    {TextRow::kKeyWord, {" Key", "鍵", "键", "Maustaste"}},
    {TextRow::kKeyPopupTitle,
     {"Single    Key    Setting", " 單  一  鍵  設  定 ", " 单  一  键  设  定 ",
      "Einzelne Taste Einstellungen"}},
    {TextRow::kKeyPopupPrompt,
     {"Input a single key", " 輸入一個單一鍵 ", " 输入一个单一键 ",
      "Verzögerungsdauer Einzelne Taste "}},
    {TextRow::kNoProfileInUse,
     {"Please select at least one of the five\n profiles to start customization.",
      "在啟用自定義設定前，\n請至少激活五個配置文件中的其中一個配置文件。",
      "在启用自定义设定前，\n请至少激活五个配置文件中的其中一个配置文件。",
      "Please select at least one of the five\n profiles to start customization."}},
    {TextRow::kSoftwareVersion,
     {"Current SoftWare Version : ", "目前軟體版本 ： ", "目前软件版本 ： ",
      "Aktuelle Software-Version : "}},
    {TextRow::kFirmwareVersion,
     {"Current FirmWare Version : ", "目前韌體版本 ： ", "目前固件版本 ： ",
      "Aktuelle Firmware-Version : "}},
    {TextRow::kMenuMouseFunction,
     {" Mouse Function      >> ", "  滑鼠功能             >> ", "  鼠标功能             >> ",
      "  Mausfunktion         >> "}},
    {TextRow::kMenuGameFunction,
     {" Game Function       >> ", "  遊戲功能             >> ", "  游戏功能             >> ",
      "  Spielfunktion         >> "}},
    {TextRow::kMenuMacro,
     {" Macro                     >> ", "  巨集指派             >> ", "  宏指派                >> ",
      "  Makro                    >> "}},
    {TextRow::kEventMenuLeft,
     {" Left Button                >>", "  左鍵                    >> ",
      "  左键                    >> ", " Linke Maustaste       >>"}},
    {TextRow::kEventMenuRight,
     {" Right Button              >>", "  右鍵                    >> ",
      "  右键                    >> ", " Rechte Maustaste     >>"}},
    {TextRow::kEventMenuWheel,
     {" Wheel Button            >>", "  滾輪鍵                 >> ", "  滚轮鍵                 >> ",
      " Mausrad-Taste          >>"}},
    {TextRow::kEventMenuForward,
     {" Browser Forward      >>", "  下一頁按鍵          >> ", "  下一页按键          >> ",
      " Browser vor              >>"}},
    {TextRow::kEventMenuBackward,
     {" Browser Backward    >>", "  上一頁按鍵          >> ", "  上一页按键          >> ",
      " Browser zurück         >>"}},
    {TextRow::kPlayOnce, {" Play once ", " 播放一次 ", " 播放一次 ", " Einmal abspielen "}},
    {TextRow::kPlayNTimes, {" Play N times:", " 播放N次:", " 播放N次:", " n-mal abspielen "}},
    {TextRow::kPlayWhilePressed,
     {" Play while pressed ", " 續壓恆播 ", " 续压恒播 ",
      " Abspielen, während Taste gedrückt wird "}},
    {TextRow::kPlayToggle,
     {" Toggle continuous play on/off ", " 單壓恆播/單壓取消 ", " 单压恒播/单压取消 ",
      " Ununterbrochenes Abspielen einschalten/ausschalten "}},
    {TextRow::kDefineN, {" Define N : ", " 定義N : ", " 定义N : ", " n definieren "}},
    {TextRow::kLeftButtonWarning,
     {"{u}At least one button is assigned to the left button!{/u} ",
      "{u}  至少一個按鍵被設置為鼠標左鍵!  {/u} ", "{u}  至少一个按键被设置为鼠标左键!  {/u} ",
      "{u}At least one button is assigned to the left button!{/u} "}},
    {TextRow::kApplyFailed,
     {"The mouse did not take the new settings.\n Please check its cable and apply again.",
      "滑鼠未能套用新的設定，\n請檢查連接線後再套用一次。",
      "鼠标未能应用新的设置，\n请检查连接线后再应用一次。",
      "Die Maus hat die neuen Einstellungen nicht übernommen.\n Bitte prüfen Sie das Kabel "
      "und übernehmen Sie sie erneut."}},
    {TextRow::kReadFailed,
     {"The settings could not be read from the mouse.\n The factory settings are shown.",
      "無法讀取滑鼠中的設定，\n目前顯示的是原廠設定。",
      "无法读取鼠标中的设置，\n当前显示的是出厂设置。",
      "Die Einstellungen konnten nicht aus der Maus gelesen werden.\n Es werden die "
      "Werkseinstellungen angezeigt."}},
    {TextRow::kProgressWrite,
     {"Writing profile %d of 5 to the mouse …", "正在將配置文件 %d / 5 寫入滑鼠 …",
      "正在将配置文件 %d / 5 写入鼠标 …", "Profil %d von 5 wird in die Maus geschrieben …"}},
    {TextRow::kProgressSelect,
     {"Making profile %d the mouse's current profile …", "正在將配置文件 %d 設為目前的配置 …",
      "正在将配置文件 %d 设为当前的配置 …", "Profil %d wird in der Maus aktiviert …"}},
    {TextRow::kProgressRead,
     {"Reading profile %d of 5 from the mouse …", "正在從滑鼠讀取配置文件 %d / 5 …",
      "正在从鼠标读取配置文件 %d / 5 …", "Profil %d von 5 wird aus der Maus gelesen …"}},
    {TextRow::kFileNotSaved,
     {"The settings could not be saved to\n %s:\n %s", "無法將設定儲存至\n %s：\n %s",
      "无法将设置保存至\n %s：\n %s",
      "Die Einstellungen konnten nicht gespeichert werden in\n %s:\n %s"}},
    {TextRow::kMacroFull,
     {"The macro holds 256 steps, the most it can.\n Recording takes no more steps.",
      "巨集已有 256 個步驟，已達上限。\n錄製不再加入步驟。",
      "宏已有 256 个步骤，已达上限。\n录制不再加入步骤。",
      "Das Makro enthält 256 Schritte, mehr geht nicht.\n Die Aufnahme nimmt keine weiteren "
      "Schritte "
      "auf."}},
    {TextRow::kMacroCut,
     {"%s has more than the 128 key and mouse steps the mouse can play.\n The mouse will play "
      "its first 128.",
      "%s 的按鍵與滑鼠步驟超過滑鼠可播放的 128 個。\n滑鼠只會播放前 128 個。",
      "%s 的按键与鼠标步骤超过鼠标可播放的 128 个。\n鼠标只会播放前 128 个。",
      "%s hat mehr als die 128 Tasten- und Mausschritte, die die Maus abspielen kann.\n Die Maus "
      "spielt die ersten 128."}},
    {TextRow::kProfileTooFull,
     {"The macros of profile %d need more room than the mouse has.\n Shorten them or give fewer "
      "buttons macros, then apply again.",
      "配置文件 %d 的巨集所需空間超過滑鼠容量。\n請縮短巨集或減少使用巨集的按鍵後再套用。",
      "配置文件 %d 的宏所需空间超过鼠标容量。\n请缩短宏或减少使用宏的按键后再应用。",
      "Die Makros von Profil %d brauchen mehr Platz, als die Maus hat.\n Kürzen Sie sie oder "
      "belegen Sie weniger Tasten mit Makros, dann übernehmen Sie erneut."}},
    {TextRow::kLightingFailed,
     {"The mouse did not take the lighting setting.\n Please check its cable and try again.",
      "滑鼠未能套用燈光設定，\n請檢查連接線後再試一次。",
      "鼠标未能应用灯光设置，\n请检查连接线后再试一次。",
      "Die Maus hat die Beleuchtungseinstellung nicht übernommen.\n Bitte prüfen Sie das Kabel "
      "und versuchen Sie es erneut."}},
};

// Rows 4..10 in the order of the store's mouse actions.
constexpr int kFirstMouseRow = static_cast<int>(TextRow::kMouseLeftButton);
static_assert(static_cast<int>(TextRow::kMouseWheelDown) - kFirstMouseRow + 1 == kMouseActionCount);

}  // namespace

const char* text(TextRow row) {
    return text(row, language_index());
}

const char* text(TextRow row, int language) {
    language = known_language(language);
    const int number = static_cast<int>(row);
    switch (row) {
        case TextRow::kStepUp:
            return step_suffix(StepSuffix::kUp, language);
        case TextRow::kStepDown:
            return step_suffix(StepSuffix::kDown, language);
        case TextRow::kDelaySuffix:
            return step_suffix(StepSuffix::kDelay, language);
        default:
            break;
    }
    if (number >= kFirstMouseRow && number < kFirstMouseRow + kMouseActionCount) {
        return mouse_action_text(number - kFirstMouseRow, language);
    }
    for (const TableRow& entry : kRows) {
        if (entry.row == row) {
            return entry.texts[static_cast<size_t>(language)];
        }
    }
    return "";
}

}  // namespace talvoro::shell
