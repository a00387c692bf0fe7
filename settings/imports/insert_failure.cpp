#include "settings/imports/insert_failure.h"

namespace {
const char kCaption[] = "Tevrix";
const char kInsertFailed[] = "項目を追加できなかったため、何も挿入しませんでした。";
} // namespace

void TellInsertFailed(HWND owner) {
    ::MessageBoxA(owner, kInsertFailed, kCaption, MB_OK | MB_ICONWARNING);
}
