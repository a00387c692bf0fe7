#include "settings/menu_page/variable_menu.h"

#include <string.h>

#include "plugin/variables/variable_expansion.h"

namespace {

struct Known {
    const char* name;
    const char* syntax;
    bool showsValue;
};

const Known kVariables[] = {
    {"日付", "{{date}}", true},
    {"日付 (書式指定)", "{{date:M月d日(ddd)}}", true},
    {"3日後の日付", "{{date+3d}}", true},
    {"和暦", "{{wareki}}", true},
    {"時刻", "{{time}}", true},
    {"クリップボード", "{{clipboard}}", false},
    {"選択していた文字列", "{{selection}}", false},
    {"カーソル位置", "{{cursor}}", false},
    {"入力欄", "{{input:質問|既定値}}", false},
    {"選択肢", "{{choice:質問|A|B|C}}", false},
    {"{{ そのもの", "{{{{", false},
};

// The value the plug-in inserts for syntax at the moment now.
std::string ValueOf(const char* syntax, const SYSTEMTIME& now) {
    ExpansionInputs inputs = {};
    inputs.now = now;
    ExpandedText expanded = {};
    std::string value;
    if (ExpandVariables(syntax, strlen(syntax), &inputs, &expanded))
        value.assign(expanded.bytes, expanded.length);
    FreeExpandedText(&expanded);
    return value;
}

} // namespace

std::vector<VariableChoice> VariableChoices(const SYSTEMTIME& now) {
    std::vector<VariableChoice> choices;
    for (const Known& known : kVariables) {
        std::string label = known.name;
        if (known.showsValue)
            label += " (" + ValueOf(known.syntax, now) + ")";
        label += "\t";
        label += known.syntax;
        choices.push_back({label, known.syntax});
    }
    return choices;
}

std::string ChooseVariable(HWND owner, POINT at, const SYSTEMTIME& now) {
    std::vector<VariableChoice> choices = VariableChoices(now);
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return std::string();
    for (size_t i = 0; i < choices.size(); ++i)
        AppendMenuA(menu, MF_STRING, i + 1, choices[i].label.c_str());
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, at.x,
                       at.y, 0, owner, nullptr));
    DestroyMenu(menu);
    return chosen >= 1 && chosen <= choices.size() ? choices[chosen - 1].syntax : std::string();
}
