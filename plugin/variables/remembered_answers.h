// The answers given to questions while the mail client runs, offered as the
// defaults the next time the same question is asked. In malloc'd memory,
// released at the plug-in's clean-up and unload.
#pragma once
#include <stddef.h>

// The last answer to this question (Shift-JIS bytes), or null.
const char* RememberedAnswer(const char* question, size_t length);
// Keeps a copy; nothing happens when memory runs out.
void RememberAnswer(const char* question, size_t length, const char* answer);
void ForgetAnswers(void);
