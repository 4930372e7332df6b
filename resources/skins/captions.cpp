#include "captions.h"

namespace talvoro::skins {

// "\n" breaks a caption into lines; pictures are sized for the German captions, the longest.
const std::array<Captions, 4>& all_captions() {
    static const std::array<Captions, 4> kCaptions{{
        {"TalvoroSkin",
         {"Verdana", 14},
         "TALVORO",
         "Apply the new settings to the mouse?",
         "Reset every profile to the factory settings?\nYour own settings will be lost.",
         "Exit the program?",
         "The mouse is not connected.\nConnect it and press OK to search again.",
         "You already have 15 macros.\nDelete one to make room.",
         "Enter a repeat count\nfrom 1 to 99.",
         "Record",
         114},
        {"TalvoroSkin1",
         {"Microsoft JhengHei", 14},
         "TALVORO",
         "要將新設定套用到滑鼠嗎？",
         "要將所有配置文件還原為原廠設定嗎？\n您自訂的設定將會遺失。",
         "要結束程式嗎？",
         "未偵測到滑鼠。\n請連接滑鼠後按下確定重新搜尋。",
         "巨集已達 15 個。\n請先刪除一個巨集。",
         "請輸入 1 到 99 之間的\n重複次數。",
         "錄製",
         114},
        {"TalvoroSkin2",
         {"微软雅黑", 14},
         "TALVORO",
         "要将新设定应用到鼠标吗？",
         "要将所有配置文件还原为原厂设定吗？\n您自定义的设定将会丢失。",
         "要退出程序吗？",
         "未检测到鼠标。\n请连接鼠标后按确定重新搜索。",
         "宏已达 15 个。\n请先删除一个宏。",
         "请输入 1 到 99 之间的\n重复次数。",
         "录制",
         114},
        {"TalvoroSkin3",
         {"Verdana", 14},
         "TALVORO",
         "Die neuen Einstellungen auf die Maus übertragen?",
         "Alle Profile auf die Werkseinstellungen zurücksetzen?\n"
         "Ihre eigenen Einstellungen gehen verloren.",
         "Das Programm beenden?",
         "Die Maus ist nicht angeschlossen.\n"
         "Schließen Sie sie an und drücken Sie OK, um erneut zu suchen.",
         "Sie haben bereits 15 Makros.\nLöschen Sie zuerst eines.",
         "Geben Sie eine Wiederholungszahl\nvon 1 bis 99 ein.",
         "Aufnahme",
         143},
    }};
    return kCaptions;
}

}  // namespace talvoro::skins
