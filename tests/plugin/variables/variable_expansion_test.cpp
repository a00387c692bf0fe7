// Expansion of a menu text's variables with a fixed clock: every variable,
// pictures, offsets across month ends, leap years and the change of era,
// escapes, what stays as typed, and Shift-JIS characters whose second byte is
// a brace or a bar.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

#include "plugin/variables/variable_expansion.h"

namespace {

// Tuesday 2019-04-30 09:05:07: the last day of 平成.
SYSTEMTIME FixedClock() {
    SYSTEMTIME now = {};
    now.wYear = 2019;
    now.wMonth = 4;
    now.wDay = 30;
    now.wDayOfWeek = 2;
    now.wHour = 9;
    now.wMinute = 5;
    now.wSecond = 7;
    return now;
}

struct Expansion {
    std::string text;
    bool hasCursor;
    size_t cursorByte;
};

Expansion Expand(const std::string& text, const std::map<std::string, std::string>& answers = {},
                 const char* clipboard = "クリップ", const char* selection = "選択") {
    TextNeeds needs = {};
    QuestionList questions = {};
    ScanVariables(text.data(), text.size(), &needs, &questions);
    for (size_t i = 0; i < questions.count; ++i) {
        std::string question(questions.items[i].question, questions.items[i].questionLength);
        auto found = answers.find(question);
        if (found != answers.end())
            questions.items[i].answer = _strdup(found->second.c_str());
    }
    ExpansionInputs inputs = {FixedClock(), selection, clipboard, &questions};
    ExpandedText expanded = {};
    EXPECT_TRUE(ExpandVariables(text.data(), text.size(), &inputs, &expanded));
    Expansion result = {std::string(expanded.bytes, expanded.length), expanded.hasCursor,
                        expanded.cursorByte};
    FreeExpandedText(&expanded);
    FreeQuestionAnswers(&questions);
    return result;
}

std::string SystemForm(bool time) {
    SYSTEMTIME now = FixedClock();
    char text[64] = {};
    if (time)
        GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &now, nullptr, text, sizeof text);
    else
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, text, sizeof text);
    return text;
}

TEST(VariableExpansion, FixedClockTable) {
    const std::map<std::string, std::string> answers = {
        {"宛名", "佐藤"}, {"敬称", "さん"}, {"ポ", "A"}, {"表", "ソ|マ"}};
    const struct {
        const char* text;
        std::string expected;
    } rows[] = {
        // The date and time: the user's forms and pictures.
        {"{{date}}", SystemForm(false)},
        {"{{time}}", SystemForm(true)},
        {"{{date:yyyy/MM/dd}}", "2019/04/30"},
        {"{{DaTe:M月d日(ddd)}}", "4月30日(火)"},
        {"{{time:H時mm分}}", "9時05分"},
        // Offsets: days, weeks, month ends, leap years.
        {"{{date+3d:yyyy-MM-dd}}", "2019-05-03"},
        {"{{date-1w:yyyy-MM-dd ddd}}", "2019-04-23 火"},
        {"{{date-2m:yyyy-MM-dd}}", "2019-02-28"},
        {"{{date+10m:yyyy-MM-dd}}", "2020-02-29"},
        {"{{date+1y:yyyy-MM-dd}}", "2020-04-30"},
        {"{{date+245d:yyyy-MM-dd(ddd)}}", "2019-12-31(火)"},
        // The Japanese calendar across the change of era.
        {"{{wareki}}", "平成31年4月30日"},
        {"{{wareki+1d}}", "令和元年5月1日"},
        {"{{wareki+1d:gg yy年 M/d}}", "令和 元年 5/1"},
        {"{{wareki+8y:ggyy'y'/MM}}", "令和09y/04"},
        {"{{wareki-30y}}", "平成元年4月30日"},
        {"{{wareki-31y}}", "昭和63年4月30日"},
        // The selection, the clipboard, the questions, the caret.
        {"「{{selection}}」", "「選択」"},
        {"[{{clipboard}}]", "[クリップ]"},
        {"{{input:宛名|山田}}様、{{input:宛名}}", "佐藤様、佐藤"},
        {"{{choice:敬称|様|さん}}", "さん"},
        {"a{{cursor}}b{{CURSOR}}c", "abc"},
        // Escapes, and what stays as typed.
        {"{{{{date}}", "{{date}}"},
        {"{{{{{{date:yyyy}}", "{{2019"},
        {"{{unknown}} {{date {{date:}} {{date+3x}} {{date+}} {{time+1d}}",
         "{{unknown}} {{date {{date:}} {{date+3x}} {{date+}} {{time+1d}}"},
        {"{{clipboard:x}} {{input}} {{ date}} {{date+999999d}} {{date+9000y}}",
         "{{clipboard:x}} {{input}} {{ date}} {{date+999999d}} {{date+9000y}}"},
        {"{{wareki-200y}} }} {{", "{{wareki-200y}} }} {{"},
        {"{{input:質問}}", "{{input:質問}}"}, // never answered: stays
        // Shift-JIS characters whose second byte is { } or |.
        {"ボ{date:yyyy}}", "ボ{date:yyyy}}"},
        {"ボ{{date:yyyy}}", "ボ2019"},
        {"{{date:yyyyマ}}マ}}", "2019ママ}}"},
        {"{{choice:ポ|A|B}}", "A"},
        {"{{input:表|ソ}}", "ソ|マ"},
        {"{{date:ソ表ボ}}", "ソ表ボ"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Expand(row.text, answers).text, row.expected) << row.text;

    Expansion caret = Expand("あ\r\n{{cursor}}い{{cursor}}");
    EXPECT_TRUE(caret.hasCursor);
    EXPECT_EQ(caret.cursorByte, 4u) << "in bytes; the insertion counts characters";
    EXPECT_FALSE(Expand("no caret").hasCursor);
    EXPECT_EQ(Expand("[{{clipboard}}{{selection}}]", {}, nullptr, nullptr).text, "[]");
}

TEST(VariableExpansion, QuestionsAreListedOnceInOrderOfFirstUse) {
    std::string text = "{{choice:敬称|様|さん}}{{input:宛名|山田}}{{input:敬称}}{{input:宛名}}"
                       "{{clipboard}}";
    TextNeeds needs = {};
    QuestionList questions = {};
    ScanVariables(text.data(), text.size(), &needs, &questions);
    ASSERT_EQ(questions.count, 2u);
    EXPECT_EQ(std::string(questions.items[0].question, questions.items[0].questionLength), "敬称");
    EXPECT_TRUE(questions.items[0].choice);
    EXPECT_EQ(std::string(questions.items[1].question, questions.items[1].questionLength), "宛名");
    const char* part = nullptr;
    size_t length = 0;
    QuestionDefault(&questions.items[1], &part, &length);
    EXPECT_EQ(std::string(part, length), "山田");
    EXPECT_TRUE(needs.clipboard);
    EXPECT_FALSE(needs.selection);
}

} // namespace
