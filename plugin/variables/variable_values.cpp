#include "variable_values.h"

#include <stdlib.h>

#include "calendar_date.h"

namespace {

// A Shift-JIS argument as UTF-16 in malloc'd memory, NUL-terminated.
// Null when it cannot be had; when memory ran out, the buffer fails as well.
WCHAR* WidenArgument(TextBuffer* buffer, const char* text, size_t length, int* wideLength) {
    if (length > 0x100000)
        return nullptr;
    int needed = MultiByteToWideChar(kTextCodePage, 0, text, static_cast<int>(length), nullptr, 0);
    if (needed <= 0)
        return nullptr;
    WCHAR* wide = static_cast<WCHAR*>(malloc((static_cast<size_t>(needed) + 1) * sizeof(WCHAR)));
    if (!wide) {
        buffer->failed = true;
        return nullptr;
    }
    MultiByteToWideChar(kTextCodePage, 0, text, static_cast<int>(length), wide, needed);
    wide[needed] = 0;
    *wideLength = needed;
    return wide;
}

// Decimal digits of a year (1..9999), at least `digits` of them.
void WriteNumber(WCHAR* out, int number, int digits) {
    WCHAR reversed[8];
    int count = 0;
    while (number > 0 || count < digits) {
        reversed[count++] = static_cast<WCHAR>(L'0' + number % 10);
        number /= 10;
    }
    for (int i = 0; i < count; ++i)
        out[i] = reversed[count - 1 - i];
    out[count] = 0;
}

// UTF-16 text growing in malloc'd memory; stays failed once memory runs out.
struct WideText {
    WCHAR* chars;
    size_t length;
    size_t capacity;
    bool failed;
};

void AppendWide(WideText* text, const WCHAR* chars, size_t length) {
    if (text->failed)
        return;
    if (text->length + length > text->capacity) {
        size_t capacity = text->capacity < 64 ? 64 : text->capacity;
        while (capacity < text->length + length)
            capacity *= 2;
        WCHAR* grown = static_cast<WCHAR*>(realloc(text->chars, capacity * sizeof(WCHAR)));
        if (!grown) {
            text->failed = true;
            return;
        }
        text->chars = grown;
        text->capacity = capacity;
    }
    for (size_t i = 0; i < length; ++i)
        text->chars[text->length + i] = chars[i];
    text->length += length;
}

bool IsPictureLetter(WCHAR c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// The longest run of one letter that means something to the system ("dddd",
// "MMMM", "yyyy"). Longer runs go in parts of this length, so that no call
// gets a long picture: Wine 8 overruns its own buffer on those.
const int kLongestRun = 4;

struct PictureDay {
    const SYSTEMTIME* moment;
    bool time;
    const char* eraName; // wareki only: g is the era, y its year
    int eraYear;
};

void AppendEraPart(WideText* out, const PictureDay& day, WCHAR letter, int run) {
    WCHAR text[16] = {};
    if (letter == L'g') {
        MultiByteToWideChar(kTextCodePage, 0, day.eraName, -1, text, 15);
    } else if (day.eraYear == 1) {
        text[0] = 0x5143; // 元
    } else {
        WriteNumber(text, day.eraYear, run == 1 ? 1 : 2);
    }
    size_t length = 0;
    while (text[length])
        ++length;
    AppendWide(out, text, length);
}

bool AppendSystemPart(WideText* out, const PictureDay& day, const WCHAR* picture) {
    WCHAR text[128];
    int made = day.time ? GetTimeFormatW(LOCALE_USER_DEFAULT, 0, day.moment, picture, text, 128)
                        : GetDateFormatW(LOCALE_USER_DEFAULT, 0, day.moment, picture, text, 128);
    if (made <= 0)
        return false;
    AppendWide(out, text, static_cast<size_t>(made - 1));
    return true;
}

// Fills in a picture as GetDateFormat and GetTimeFormat read it (letters,
// quoted text, other characters as they are), one run of letters at a time.
bool FillPicture(WideText* out, const WCHAR* picture, size_t length, const PictureDay& day) {
    size_t at = 0;
    while (at < length) {
        WCHAR c = picture[at];
        if (c == L'\'') {
            // Quoted text, where two quotes stand for one; "''" outside
            // quotes is a quote as well.
            ++at;
            if (at < length && picture[at] == L'\'') {
                AppendWide(out, &picture[at++], 1);
                continue;
            }
            while (at < length) {
                if (picture[at] == L'\'') {
                    if (at + 1 < length && picture[at + 1] == L'\'') {
                        AppendWide(out, &picture[at], 1);
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                AppendWide(out, &picture[at++], 1);
            }
        } else if (IsPictureLetter(c)) {
            int run = 0;
            while (at < length && picture[at] == c && run < kLongestRun) {
                ++at;
                ++run;
            }
            if (day.eraName && (c == L'g' || c == L'y')) {
                AppendEraPart(out, day, c, run);
            } else {
                WCHAR part[kLongestRun + 1] = {};
                for (int i = 0; i < run; ++i)
                    part[i] = c;
                if (!AppendSystemPart(out, day, part))
                    return false;
            }
        } else {
            AppendWide(out, &picture[at++], 1);
        }
    }
    return !out->failed;
}

bool AppendDefaultForm(TextBuffer* buffer, bool time, const SYSTEMTIME& moment) {
    WCHAR text[128];
    int made =
        time ? GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &moment, nullptr, text, 128)
             : GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &moment, nullptr, text, 128);
    if (made <= 0)
        return false;
    AppendWideText(buffer, text, made - 1);
    return true;
}

} // namespace

void AppendWideText(TextBuffer* buffer, const WCHAR* text, int length) {
    if (length <= 0)
        return;
    int needed = WideCharToMultiByte(kTextCodePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return;
    char* bytes = static_cast<char*>(malloc(static_cast<size_t>(needed)));
    if (!bytes) {
        buffer->failed = true;
        return;
    }
    int made = WideCharToMultiByte(kTextCodePage, 0, text, length, bytes, needed, nullptr, nullptr);
    AppendBytes(buffer, bytes, made > 0 ? static_cast<size_t>(made) : 0);
    free(bytes);
}

bool AppendDateOrTime(TextBuffer* buffer, const TextPiece& piece, const SYSTEMTIME& now) {
    SYSTEMTIME moment = now;
    CalendarDate date = {now.wYear, now.wMonth, now.wDay};
    if (piece.shiftUnit && !ShiftCalendarDate(&date, piece.shift, piece.shiftUnit))
        return false;
    moment.wYear = static_cast<WORD>(date.year);
    moment.wMonth = static_cast<WORD>(date.month);
    moment.wDay = static_cast<WORD>(date.day);
    moment.wDayOfWeek = static_cast<WORD>(WeekdayOf(date));

    PictureDay day = {&moment, piece.kind == kPieceTime, nullptr, 0};
    if (piece.kind == kPieceWareki && !JapaneseEraOf(date, &day.eraName, &day.eraYear))
        return false;
    if (!piece.hasArgument && piece.kind != kPieceWareki)
        return AppendDefaultForm(buffer, day.time, moment);

    static const WCHAR kWarekiForm[] = L"ggy年M月d日";
    const WCHAR* picture = kWarekiForm;
    int pictureLength = static_cast<int>(sizeof kWarekiForm / sizeof kWarekiForm[0]) - 1;
    WCHAR* typed = nullptr;
    if (piece.hasArgument) {
        typed = WidenArgument(buffer, piece.argument, piece.argumentLength, &pictureLength);
        if (!typed)
            return false;
        picture = typed;
    }
    WideText filled = {};
    bool made = FillPicture(&filled, picture, static_cast<size_t>(pictureLength), day);
    if (made)
        AppendWideText(buffer, filled.chars, static_cast<int>(filled.length));
    if (filled.failed)
        buffer->failed = true;
    free(filled.chars);
    free(typed);
    return made;
}
