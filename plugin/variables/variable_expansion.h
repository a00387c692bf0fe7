// Expansion of the variables of one menu text into the bytes to insert, with
// the day and time, the selection, the clipboard and the answers handed in,
// so that what is inserted depends on nothing else.
#pragma once
#include <windows.h>

struct VariableQuestion {
    const char* question; // into the text, not NUL-terminated
    size_t questionLength;
    bool choice;          // a list of options, else one line of input
    const char* argument; // the whole argument: QUESTION|DEFAULT or QUESTION|A|B...
    size_t argumentLength;
    char* answer; // malloc'd, NUL-terminated; null until answered
};

// The distinct questions of a text in the order they first appear. Beyond
// kMostQuestions, further questions stay in the text as typed.
const size_t kMostQuestions = 20;
struct QuestionList {
    VariableQuestion items[kMostQuestions];
    size_t count;
};

// What the text will need from the editor and the system.
struct TextNeeds {
    bool any; // holds at least one variable (or "{{{{")
    bool clipboard;
    bool selection;
};

struct ExpansionInputs {
    SYSTEMTIME now;        // local time
    const char* selection; // NUL-terminated Shift-JIS, or null for none
    const char* clipboard; // likewise
    const QuestionList* questions;
};

struct ExpandedText {
    char* bytes; // malloc'd, NUL-terminated
    size_t length;
    bool hasCursor;
    size_t cursorByte; // where the first {{cursor}} stood, in bytes
};

// Lists the text's questions (answers left null) and its needs.
void ScanVariables(const char* text, size_t length, TextNeeds* needs, QuestionList* questions);
void FreeQuestionAnswers(QuestionList* questions);

// False when memory ran out: then nothing is to be inserted.
bool ExpandVariables(const char* text, size_t length, const ExpansionInputs* inputs,
                     ExpandedText* expanded);
void FreeExpandedText(ExpandedText* expanded);

// The text's default for a question (the part after its first bar, or the
// first option of a choice), as a part of the argument.
void QuestionDefault(const VariableQuestion* question, const char** part, size_t* length);
