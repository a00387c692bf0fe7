#include "variable_expansion.h"

#include <stdlib.h>
#include <string.h>

#include "text_buffer.h"
#include "variable_syntax.h"
#include "variable_values.h"

namespace {

bool SameBytes(const char* a, size_t aLength, const char* b, size_t bLength) {
    return aLength == bLength && memcmp(a, b, aLength) == 0;
}

// The question's part of an argument: up to its first bar.
void QuestionOf(const TextPiece& piece, const char** question, size_t* length) {
    size_t position = 0;
    NextArgumentPart(piece.argument, piece.argumentLength, &position, question, length);
}

const VariableQuestion* FindQuestion(const QuestionList* questions, const char* question,
                                     size_t length) {
    if (!questions)
        return nullptr;
    for (size_t i = 0; i < questions->count; ++i) {
        const VariableQuestion& known = questions->items[i];
        if (SameBytes(known.question, known.questionLength, question, length))
            return &known;
    }
    return nullptr;
}

void AppendString(TextBuffer* buffer, const char* text) {
    if (text)
        AppendBytes(buffer, text, strlen(text));
}

// Appends the value of one variable piece; false when it stays as typed.
bool AppendValue(TextBuffer* buffer, const TextPiece& piece, const ExpansionInputs* inputs) {
    switch (piece.kind) {
    case kPieceBraces:
        AppendBytes(buffer, "{{", 2);
        return true;
    case kPieceDate:
    case kPieceWareki:
    case kPieceTime:
        return AppendDateOrTime(buffer, piece, inputs->now);
    case kPieceClipboard:
        AppendString(buffer, inputs->clipboard);
        return true;
    case kPieceSelection:
        AppendString(buffer, inputs->selection);
        return true;
    case kPieceInput:
    case kPieceChoice: {
        const char* question = nullptr;
        size_t length = 0;
        QuestionOf(piece, &question, &length);
        const VariableQuestion* asked = FindQuestion(inputs->questions, question, length);
        if (!asked || !asked->answer)
            return false;
        AppendString(buffer, asked->answer);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

void ScanVariables(const char* text, size_t length, TextNeeds* needs, QuestionList* questions) {
    *needs = {};
    questions->count = 0;
    TextReader reader;
    StartTextReader(&reader, text, length);
    TextPiece piece;
    while (NextTextPiece(&reader, &piece)) {
        if (piece.kind == kPieceLiteral)
            continue;
        needs->any = true;
        needs->clipboard |= piece.kind == kPieceClipboard;
        needs->selection |= piece.kind == kPieceSelection;
        if (piece.kind != kPieceInput && piece.kind != kPieceChoice)
            continue;
        const char* question = nullptr;
        size_t questionLength = 0;
        QuestionOf(piece, &question, &questionLength);
        if (questionLength == 0 || FindQuestion(questions, question, questionLength) ||
            questions->count == kMostQuestions)
            continue;
        VariableQuestion& added = questions->items[questions->count++];
        added = {};
        added.question = question;
        added.questionLength = questionLength;
        added.choice = piece.kind == kPieceChoice;
        added.argument = piece.argument;
        added.argumentLength = piece.argumentLength;
    }
}

void FreeQuestionAnswers(QuestionList* questions) {
    for (size_t i = 0; i < questions->count; ++i) {
        free(questions->items[i].answer);
        questions->items[i].answer = nullptr;
    }
}

void QuestionDefault(const VariableQuestion* question, const char** part, size_t* length) {
    size_t position = 0;
    NextArgumentPart(question->argument, question->argumentLength, &position, part, length);
    if (!NextArgumentPart(question->argument, question->argumentLength, &position, part, length)) {
        *part = question->argument + question->argumentLength;
        *length = 0;
    }
}

bool ExpandVariables(const char* text, size_t length, const ExpansionInputs* inputs,
                     ExpandedText* expanded) {
    *expanded = {};
    TextBuffer buffer = {};
    TextReader reader;
    StartTextReader(&reader, text, length);
    TextPiece piece;
    while (NextTextPiece(&reader, &piece)) {
        if (piece.kind == kPieceCursor) {
            // Only the first marks the caret; every one leaves the text.
            if (!expanded->hasCursor) {
                expanded->hasCursor = true;
                expanded->cursorByte = buffer.length;
            }
            continue;
        }
        if (piece.kind == kPieceLiteral || !AppendValue(&buffer, piece, inputs))
            AppendBytes(&buffer, text + piece.start, piece.length);
    }
    if (!FinishText(&buffer)) {
        FreeTextBuffer(&buffer);
        *expanded = {};
        return false;
    }
    expanded->bytes = buffer.bytes;
    expanded->length = buffer.length;
    return true;
}

void FreeExpandedText(ExpandedText* expanded) {
    free(expanded->bytes);
    *expanded = {};
}
