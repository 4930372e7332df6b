#include "shell/language/function_names.h"

#include <array>
#include <cstddef>

#include "shell/language/language.h"

namespace talvoro::shell {
namespace {

struct FunctionName {
    int code;
    std::array<const char*, 4> texts;
};

// The blanks belong to the names: the fields show them as they are.
constexpr FunctionName kNames[] = {
    {1, {"Left Click", " 左鍵 ", " 左键 ", " Linksklick "}},
    {2, {"Right Click", " 右鍵 ", " 右键 ", " Rechtsklick "}},
    {3, {"Scroll Wheel Click", " 滾輪 ", " 滚轮 ", " Mausrad-Taste "}},
    {4, {"Browser Forward ", " 下一頁 ", " 下一页 ", " Browser zurück "}},
    {5, {"Browser Backward", " 上一頁 ", " 上一页 ", " Browser vor "}},
    {6, {"Scroll Up ", " 向上滾動 ", " 向上滚动 ", " Hochscrollen "}},
    {7, {"Scroll Down", " 向下滾動 ", " 向下滚动 ", " Runterscrollen "}},
    {8, {"DPI Up", " DPI 調升 ", " DPI 调升 ", " dpi erhöhen "}},
    {9, {"DPI Down", " DPI 調降 ", " DPI 调降 ", " dpi reduzieren "}},
    {10, {"DPI Level Switch", " DPI 切換 ", " DPI 切换 ", " dpi-Wechsel "}},
    {11, {"Profile Select", " 玩家配置切換 ", " 玩家配置切换 ", " Profilwechsel "}},
    {12, {"Double Click", " 左鍵雙擊 ", " 左键双击 ", " Doppelklick "}},
    {13, {"Triple Click", " 左鍵三擊", " 左键三击", " Dreifachklick "}},
    {14, {"Sniper Switch", " 狙擊者模式切換 ", " 狙击者模式切换 ", " Sniper-Taste "}},
    {16, {"Single Key", " 單一按鍵 ", " 单一按键 ", " Einzelne Taste "}},
    {17, {"Disable", " 關閉 ", " 关闭 ", " Deaktivieren "}},
    {18, {"Default", " 原廠設定 ", " 原厂设定 ", " Werkseinstellung "}},
};

}  // namespace

const char* function_name(int code, int language) {
    for (const FunctionName& name : kNames) {
        if (name.code == code) {
            return name.texts[static_cast<size_t>(known_language(language))];
        }
    }
    return "";
}

}  // namespace talvoro::shell
