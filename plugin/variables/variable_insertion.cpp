#include "variable_insertion.h"

#include <stdlib.h>
#include <string.h>

#include "plugin/host/plugin_state.h"
#include "plugin/menu/menu_cache.h"
#include "questions_dialog.h"
#include "text_buffer.h"
#include "variable_expansion.h"
#include "variable_values.h"

namespace {

// An edit control counts its positions in characters when its text is kept
// in UTF-16 (a Unicode control, and every edit control under Wine), but an
// ANSI control on Windows keeps Shift-JIS and counts bytes. Where the text has
// double-byte characters the two differ, and the end of the last line tells
// which the editor counts.
bool CountsBytes(HWND editor) {
    int bytes = GetWindowTextLengthA(editor);
    if (bytes == GetWindowTextLengthW(editor))
        return false; // the same either way
    LRESULT lastLine = SendMessageA(editor, EM_GETLINECOUNT, 0, 0) - 1;
    LRESULT lineStart = SendMessageA(editor, EM_LINEINDEX, lastLine < 0 ? 0 : lastLine, 0);
    LRESULT lineLength = SendMessageA(editor, EM_LINELENGTH, lineStart, 0);
    return lineStart + lineLength == bytes;
}

// The editor's selection as Shift-JIS, read in the units its positions count.
char* ReadSelection(HWND editor) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    bool bytes = CountsBytes(editor);
    int length = bytes ? GetWindowTextLengthA(editor) : GetWindowTextLengthW(editor);
    TextBuffer buffer = {};
    if (length > 0 && end > start) {
        size_t unit = bytes ? sizeof(char) : sizeof(WCHAR);
        void* text = malloc((static_cast<size_t>(length) + 1) * unit);
        if (!text)
            return nullptr;
        int got = bytes ? GetWindowTextA(editor, static_cast<char*>(text), length + 1)
                        : GetWindowTextW(editor, static_cast<WCHAR*>(text), length + 1);
        DWORD last = static_cast<DWORD>(got > 0 ? got : 0);
        if (end > last)
            end = last;
        if (start < end && bytes)
            AppendBytes(&buffer, static_cast<char*>(text) + start, end - start);
        else if (start < end)
            AppendWideText(&buffer, static_cast<WCHAR*>(text) + start,
                           static_cast<int>(end - start));
        free(text);
    }
    if (!FinishText(&buffer)) {
        FreeTextBuffer(&buffer);
        return nullptr;
    }
    return buffer.bytes;
}

// The clipboard's text as Shift-JIS; empty when it holds none.
char* ReadClipboard(HWND editor) {
    TextBuffer buffer = {};
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(editor)) {
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        const WCHAR* text = data ? static_cast<const WCHAR*>(GlobalLock(data)) : nullptr;
        if (text) {
            size_t most = GlobalSize(data) / sizeof(WCHAR);
            size_t length = 0;
            while (length < most && text[length])
                ++length;
            if (length <= 0x7FFFFFFF)
                AppendWideText(&buffer, text, static_cast<int>(length));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    if (!FinishText(&buffer)) {
        FreeTextBuffer(&buffer);
        return nullptr;
    }
    return buffer.bytes;
}

struct Insertion {
    char* text;
    char* selection;
    char* clipboard;
    QuestionList questions;
};

void FreeInsertion(Insertion* insertion) {
    free(insertion->text);
    free(insertion->selection);
    free(insertion->clipboard);
    FreeQuestionAnswers(&insertion->questions);
    free(insertion);
}

// Replaces the selection and leaves the caret where {{cursor}} stood. The
// caret is counted in the editor's units (CR LF counts two, as the editor
// does), which the length the insertion took tells.
void Put(HWND editor, const ExpandedText& expanded) {
    DWORD start = 0;
    SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(expanded.bytes));
    if (!expanded.hasCursor)
        return;
    DWORD end = 0;
    SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&end), 0);
    int characters = expanded.cursorByte == 0
                         ? 0
                         : MultiByteToWideChar(kTextCodePage, 0, expanded.bytes,
                                               static_cast<int>(expanded.cursorByte), nullptr, 0);
    bool bytes = end - start == expanded.length;
    DWORD caret =
        start + (bytes ? static_cast<DWORD>(expanded.cursorByte) : static_cast<DWORD>(characters));
    SendMessageA(editor, EM_SETSEL, caret, caret);
    SendMessageA(editor, EM_SCROLLCARET, 0, 0);
}

void InsertExpanded(HWND editor, const char* stored, size_t length) {
    // The questions' loop lets the host rebuild its menus, which replaces
    // the entry texts: the insertion works on a copy.
    Insertion* insertion = static_cast<Insertion*>(calloc(1, sizeof(Insertion)));
    if (!insertion)
        return;
    insertion->text = static_cast<char*>(malloc(length + 1));
    if (!insertion->text) {
        FreeInsertion(insertion);
        return;
    }
    memcpy(insertion->text, stored, length + 1);
    TextNeeds needs = {};
    ScanVariables(insertion->text, length, &needs, &insertion->questions);
    if (!needs.any) {
        SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(stored));
        FreeInsertion(insertion);
        return;
    }
    if (needs.selection && !(insertion->selection = ReadSelection(editor))) {
        FreeInsertion(insertion);
        return;
    }
    if (needs.clipboard && !(insertion->clipboard = ReadClipboard(editor))) {
        FreeInsertion(insertion);
        return;
    }
    if (insertion->questions.count &&
        (!AskQuestions(editor, &insertion->questions) || !IsWindow(editor))) {
        FreeInsertion(insertion);
        return;
    }
    ExpansionInputs inputs = {};
    GetLocalTime(&inputs.now);
    inputs.selection = insertion->selection;
    inputs.clipboard = insertion->clipboard;
    inputs.questions = &insertion->questions;
    ExpandedText expanded = {};
    if (ExpandVariables(insertion->text, length, &inputs, &expanded))
        Put(editor, expanded);
    FreeExpandedText(&expanded);
    FreeInsertion(insertion);
}

} // namespace

void InsertMenuText(ComposeWindowRef window, const char* text) {
    if (!text || !StoreUsesVariables()) {
        InsertIntoEditor(window, text);
        return;
    }
    HWND editor = HostFunctions.SendGetEditor ? HostFunctions.SendGetEditor(window) : nullptr;
    // The popups go first: while questions are asked, the host may build a
    // menu for another compose window, whose popups must stay.
    DestroyPopups();
    if (editor)
        InsertExpanded(editor, text, strlen(text));
}
