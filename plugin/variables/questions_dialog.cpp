#include "questions_dialog.h"

#include <stdlib.h>
#include <string.h>

#include "plugin/host/module_hold.h"
#include "plugin/host/plugin_state.h"
#include "plugin/resources/resource.h"
#include "remembered_answers.h"
#include "variable_syntax.h"

namespace {

// Dialog units of one question's label and field.
const int kMargin = 7;
const int kRowHeight = 26;
const int kFieldWidth = 226;
const int kDroppedHeight = 100;

char* CopyPart(const char* part, size_t length) {
    char* copy = static_cast<char*>(malloc(length + 1));
    if (copy) {
        memcpy(copy, part, length);
        copy[length] = '\0';
    }
    return copy;
}

RECT DialogRect(HWND dialog, int x, int y, int width, int height) {
    RECT rect = {x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

HWND AddControl(HWND dialog, HWND after, const char* className, const char* text, DWORD style,
                DWORD exStyle, int id, const RECT& rect) {
    HWND control =
        CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.left,
                        rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), PluginInstance, nullptr);
    if (!control)
        return nullptr;
    SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    // Tab order follows creation, before the dialog's OK and Cancel.
    SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

bool FillChoices(HWND combo, const VariableQuestion& question, const char* remembered) {
    size_t position = 0;
    const char* part = nullptr;
    size_t length = 0;
    NextArgumentPart(question.argument, question.argumentLength, &position, &part, &length);
    while (
        NextArgumentPart(question.argument, question.argumentLength, &position, &part, &length)) {
        char* option = CopyPart(part, length);
        if (!option)
            return false;
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(option));
        free(option);
    }
    LRESULT chosen = remembered ? SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(remembered))
                                : CB_ERR;
    SendMessageA(combo, CB_SETCURSEL, chosen == CB_ERR ? 0 : chosen, 0);
    return true;
}

bool AddQuestion(HWND dialog, HWND* after, size_t index, const VariableQuestion& question) {
    int top = kMargin + static_cast<int>(index) * kRowHeight;
    char* label = CopyPart(question.question, question.questionLength);
    if (!label)
        return false;
    HWND labelWindow = AddControl(dialog, *after, "STATIC", label, SS_NOPREFIX, 0,
                                  IDC_QUESTION_LABEL + static_cast<int>(index),
                                  DialogRect(dialog, kMargin, top, kFieldWidth, 8));
    free(label);
    if (!labelWindow)
        return false;
    const char* remembered = RememberedAnswer(question.question, question.questionLength);
    int id = IDC_QUESTION_FIELD + static_cast<int>(index);
    HWND field = nullptr;
    if (question.choice) {
        field = AddControl(dialog, labelWindow, "COMBOBOX", "",
                           CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, id,
                           DialogRect(dialog, kMargin, top + 10, kFieldWidth, kDroppedHeight));
        if (field && !FillChoices(field, question, remembered))
            return false;
    } else {
        const char* part = nullptr;
        size_t length = 0;
        QuestionDefault(&question, &part, &length);
        char* initial =
            remembered ? CopyPart(remembered, strlen(remembered)) : CopyPart(part, length);
        if (!initial)
            return false;
        field = AddControl(dialog, labelWindow, "EDIT", initial, ES_AUTOHSCROLL | WS_TABSTOP,
                           WS_EX_CLIENTEDGE, id,
                           DialogRect(dialog, kMargin, top + 10, kFieldWidth, 12));
        free(initial);
        if (field)
            SendMessageA(field, EM_SETSEL, 0, -1);
    }
    *after = field;
    return field != nullptr;
}

// Below the questions go OK and Cancel; the dialog then takes its height and
// its place: centred on the compose window, whole in its monitor's work area.
void LayOut(HWND dialog, size_t count) {
    int buttonsTop = kMargin + static_cast<int>(count) * kRowHeight + 4;
    RECT ok = DialogRect(dialog, 128, buttonsTop, 50, 14);
    RECT cancel = DialogRect(dialog, 183, buttonsTop, 50, 14);
    SetWindowPos(GetDlgItem(dialog, IDOK), nullptr, ok.left, ok.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(dialog, IDCANCEL), nullptr, cancel.left, cancel.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = DialogRect(dialog, 0, 0, 240, buttonsTop + 14 + kMargin);
    RECT window = {};
    RECT current = {};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &current);
    int width = (window.right - window.left) - current.right + client.right;
    int height = (window.bottom - window.top) - current.bottom + client.bottom;

    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT ownerRect = window;
    if (owner)
        GetWindowRect(owner, &ownerRect);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    int left = ownerRect.left + ((ownerRect.right - ownerRect.left) - width) / 2;
    int top = ownerRect.top + ((ownerRect.bottom - ownerRect.top) - height) / 2;
    if (left + width > work.right)
        left = work.right - width;
    if (top + height > work.bottom)
        top = work.bottom - height;
    if (left < work.left)
        left = work.left;
    if (top < work.top)
        top = work.top;
    SetWindowPos(dialog, HWND_TOP, left, top, width, height, SWP_NOACTIVATE);
}

char* FieldText(HWND dialog, size_t index, bool choice) {
    HWND field = GetDlgItem(dialog, IDC_QUESTION_FIELD + static_cast<int>(index));
    if (choice) {
        LRESULT selected = SendMessageA(field, CB_GETCURSEL, 0, 0);
        LRESULT length = selected == CB_ERR ? 0 : SendMessageA(field, CB_GETLBTEXTLEN, selected, 0);
        char* text = static_cast<char*>(malloc(static_cast<size_t>(length < 0 ? 0 : length) + 1));
        if (text) {
            text[0] = '\0';
            if (length > 0)
                SendMessageA(field, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
        }
        return text;
    }
    int length = GetWindowTextLengthA(field);
    char* text = static_cast<char*>(malloc(static_cast<size_t>(length < 0 ? 0 : length) + 1));
    if (text) {
        text[0] = '\0';
        GetWindowTextA(field, text, length + 1);
    }
    return text;
}

bool TakeAnswers(HWND dialog, QuestionList* questions) {
    for (size_t i = 0; i < questions->count; ++i) {
        VariableQuestion& question = questions->items[i];
        question.answer = FieldText(dialog, i, question.choice);
        if (!question.answer)
            return false;
    }
    for (size_t i = 0; i < questions->count; ++i) {
        const VariableQuestion& question = questions->items[i];
        RememberAnswer(question.question, question.questionLength, question.answer);
    }
    return true;
}

INT_PTR CALLBACK QuestionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    QuestionList* questions = reinterpret_cast<QuestionList*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        questions = reinterpret_cast<QuestionList*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        HWND after = HWND_TOP;
        for (size_t i = 0; i < questions->count; ++i) {
            if (!AddQuestion(dialog, &after, i, questions->items[i])) {
                EndDialog(dialog, IDABORT);
                return TRUE;
            }
        }
        LayOut(dialog, questions->count);
        SetFocus(GetDlgItem(dialog, IDC_QUESTION_FIELD));
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, TakeAnswers(dialog, questions) ? IDOK : IDABORT);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool AskQuestions(HWND editor, QuestionList* questions) {
    HWND owner = GetAncestor(editor, GA_ROOT);
    HoldPluginForModalLoop();
    INT_PTR result = DialogBoxParamA(PluginInstance, MAKEINTRESOURCEA(IDD_QUESTIONS), owner,
                                     QuestionsProc, reinterpret_cast<LPARAM>(questions));
    EndModalLoop();
    if (result == IDOK)
        return true;
    FreeQuestionAnswers(questions);
    return false;
}
