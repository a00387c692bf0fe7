// Hostile texts, each expanded whole and in bounded time, and the expansion's
// speed on a long text with many variables.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "plugin/variables/variable_expansion.h"

namespace {

struct Expansion {
    std::string text;
};

// Expands text with the question "q" answered, on 2019-04-30 at 9:00.
Expansion Expand(const std::string& text) {
    TextNeeds needs = {};
    QuestionList questions = {};
    ScanVariables(text.data(), text.size(), &needs, &questions);
    for (size_t i = 0; i < questions.count; ++i) {
        if (std::string(questions.items[i].question, questions.items[i].questionLength) == "q")
            questions.items[i].answer = _strdup("answer");
    }
    ExpansionInputs inputs = {};
    inputs.now.wYear = 2019;
    inputs.now.wMonth = 4;
    inputs.now.wDay = 30;
    inputs.now.wDayOfWeek = 2;
    inputs.now.wHour = 9;
    inputs.selection = "選択";
    inputs.clipboard = "クリップ";
    inputs.questions = &questions;
    ExpandedText expanded = {};
    EXPECT_TRUE(ExpandVariables(text.data(), text.size(), &inputs, &expanded));
    Expansion result = {std::string(expanded.bytes ? expanded.bytes : "", expanded.length)};
    FreeExpandedText(&expanded);
    FreeQuestionAnswers(&questions);
    return result;
}

double Milliseconds(const std::string& text, Expansion* result) {
    auto start = std::chrono::steady_clock::now();
    *result = Expand(text);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Texts built to make a reader go quadratic, recurse or overrun: each is
// expanded whole and in time.
TEST(VariableExpansion, HostileTextsExpandInBoundedTime) {
    std::string manyOpeners;
    for (int i = 0; i < 100000; ++i)
        manyOpeners += "{{";
    std::string manyArguments;
    for (int i = 0; i < 100000; ++i)
        manyArguments += "{{date:";
    std::string splitBraces;
    for (int i = 0; i < 100000; ++i)
        splitBraces += "ボ{マ}ポ|";
    std::string megabyte;
    while (megabyte.size() < 1000000)
        megabyte += "本文 {{input:q}} {{date:yyyy}} {{{{ ";
    std::string longArgument = "{{input:" + std::string(10000, 'q') + "|" +
                               std::string(10000, 'd') + "}}{{date:" + std::string(10000, 'M') +
                               "}}";
    std::string everyLetter = "{{date:";
    std::string timeLetters = "{{time:";
    for (char c = 'A'; c <= 'z'; ++c) {
        everyLetter += std::string(5, c);
        timeLetters += std::string(5, c);
    }
    everyLetter += "}}";
    timeLetters += "}}";

    Expansion result;
    EXPECT_LT(Milliseconds(manyOpeners, &result), 2000.0);
    EXPECT_EQ(result.text, std::string(100000, '{')) << "each {{{{ stands for {{";
    for (const std::string* text : {&manyArguments, &splitBraces}) {
        EXPECT_LT(Milliseconds(*text, &result), 2000.0);
        EXPECT_TRUE(result.text == *text) << "nothing in it is a variable";
    }
    EXPECT_LT(Milliseconds(megabyte, &result), 5000.0);
    EXPECT_NE(result.text.find("本文 answer 2019 {{ "), std::string::npos);
    EXPECT_LT(Milliseconds(longArgument, &result), 2000.0);
    std::string question = longArgument.substr(0, longArgument.find("}}") + 2);
    EXPECT_EQ(result.text.substr(0, question.size()), question) << "unanswered: as typed";
    for (const std::string* text : {&everyLetter, &timeLetters}) {
        EXPECT_LT(Milliseconds(*text, &result), 2000.0);
        EXPECT_FALSE(result.text.empty());
    }
}

// A 30,000-character text holding 100 variables, none of them questions.
TEST(VariableExpansion, ThirtyThousandCharactersWithAHundredVariables) {
    std::string text;
    const char* variables[] = {"{{date}}", "{{wareki+3d}}", "{{time:H時mm分}}", "{{selection}}",
                               "{{clipboard}}"};
    for (int i = 0; i < 100; ++i)
        text += std::string(150, 'x') + "本文テキスト。" + std::string(136, 'y') + variables[i % 5];
    Expansion result;
    double best = 1e9;
    for (int run = 0; run < 5; ++run)
        best = std::min(best, Milliseconds(text, &result));
    printf("30,000 characters, 100 variables: %.2f ms\n", best);
    EXPECT_LT(best, 50.0) << "5 ms on an idle machine; generous for a loaded one";
    EXPECT_EQ(result.text.find("{{"), std::string::npos);
}

} // namespace
