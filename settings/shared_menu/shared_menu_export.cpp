#include "settings/shared_menu/shared_menu_export.h"

#include "settings/backup/backup_file.h"
#include "settings/backup/menu_backup.h"
#include "settings/shared_menu/shared_menu_source.h"

#include <cstdio>

namespace {
const char kCaption[] = "Tevrix";
const char kNoSource[] = "共有メニューの場所が指定されていません。ページ「共有メニュー」でファイル"
                         "のパスを指定してください。";
const char kAddressSource[] = "共有メニューの場所がアドレスのため書き出せません。書き出せるのは、フ"
                              "ァイルのパス(共有フォルダーなど)だけです。";
const char kInvalidSource[] =
    "共有メニューの場所は、フルパス (X:\\... や \\\\server\\share\\...) で指定してください。";
// Follows the file's path.
const char kChangedQuestion[] = "\r\nは、この設定画面で最後に読み書きした後に、ほかの人によって変"
                                "更されています。\r\n上書きしますか?";
const char kNotLoaded[] = "メニューを最後まで読み込めなかったため、書き出せません";
const char kTooDeep[] = "サブメニューの階層が深すぎるため書き出せません(%d階層まで)";
const char kCannotWrite[] = "共有メニューのファイルに書き出せませんでした";
const char kUnconvertible[] =
    "Shift-JISの文字として読めないバイトが%d個あり、「?」として書き出しました";

std::string WithNumber(const char* format, int number) {
    char text[256];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

void Tell(HWND owner, const std::string& text) {
    ::MessageBoxA(owner, text.c_str(), kCaption, MB_OK | MB_ICONWARNING);
}
} // namespace

void ExportSharedMenu(CURLPage& menuPage, const std::string& source, SharedFileStamp& stamp,
                      HWND owner) {
    switch (ClassifySharedSource(source)) {
    case SharedSourceKind::kNone:
        return Tell(owner, kNoSource);
    case SharedSourceKind::kAddress:
        return Tell(owner, kAddressSource);
    case SharedSourceKind::kInvalid:
        return Tell(owner, kInvalidSource);
    case SharedSourceKind::kPath:
        break;
    }
    // Half a menu would replace the whole shared one.
    if (!menuPage.HoldsWholeMenu())
        return Tell(owner, kNotLoaded);
    std::string file;
    int unconvertible = 0;
    if (!ExportMenu(menuPage, file, unconvertible))
        return Tell(owner, WithNumber(kTooDeep, kMaxBackupLevels));
    if (stamp.ChangedSince(source) &&
        ::MessageBoxA(owner, (source + kChangedQuestion).c_str(), kCaption,
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    if (!WriteFileReplacing(source.c_str(), file))
        return Tell(owner, kCannotWrite);
    stamp.Remember(source);
    if (unconvertible > 0)
        Tell(owner, WithNumber(kUnconvertible, unconvertible));
}
