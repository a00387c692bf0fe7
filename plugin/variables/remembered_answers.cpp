#include "remembered_answers.h"

#include <stdlib.h>
#include <string.h>

namespace {

struct Remembered {
    char* question; // NUL-terminated copies
    size_t questionLength;
    char* answer;
};

// Enough for every question a person keeps in a menu; beyond it the oldest
// answer goes.
const size_t kMostRemembered = 64;
Remembered Answers[kMostRemembered];
size_t AnswerCount = 0;

char* Copy(const char* text, size_t length) {
    char* copy = static_cast<char*>(malloc(length + 1));
    if (copy) {
        memcpy(copy, text, length);
        copy[length] = '\0';
    }
    return copy;
}

Remembered* Find(const char* question, size_t length) {
    for (size_t i = 0; i < AnswerCount; ++i) {
        if (Answers[i].questionLength == length &&
            memcmp(Answers[i].question, question, length) == 0)
            return &Answers[i];
    }
    return nullptr;
}

} // namespace

const char* RememberedAnswer(const char* question, size_t length) {
    Remembered* known = Find(question, length);
    return known ? known->answer : nullptr;
}

void RememberAnswer(const char* question, size_t length, const char* answer) {
    char* answerCopy = Copy(answer, strlen(answer));
    if (!answerCopy)
        return;
    Remembered* known = Find(question, length);
    if (known) {
        free(known->answer);
        known->answer = answerCopy;
        return;
    }
    char* questionCopy = Copy(question, length);
    if (!questionCopy) {
        free(answerCopy);
        return;
    }
    if (AnswerCount == kMostRemembered) {
        free(Answers[0].question);
        free(Answers[0].answer);
        memmove(&Answers[0], &Answers[1], sizeof Answers[0] * (kMostRemembered - 1));
        --AnswerCount;
    }
    Answers[AnswerCount++] = {questionCopy, length, answerCopy};
}

void ForgetAnswers(void) {
    for (size_t i = 0; i < AnswerCount; ++i) {
        free(Answers[i].question);
        free(Answers[i].answer);
    }
    AnswerCount = 0;
}
