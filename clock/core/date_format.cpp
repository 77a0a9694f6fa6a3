// The date/time formatting routine: reading dates and times from text, and
// writing a date value by a format picture.
//
// Picture elements (letters in any case): yyyy yy y(day of year) m mm mmm mmmm
// d dd ddd dddd ddddd(yyyy/mm/dd) dddddd(yyyy年m月d日) w ww q h hh n nn s ss
// ttttt(h:nn:ss) c(date and time) AM/PM am/pm A/P a/p (12-hour clock)
// AMPM(午前/午後) aaa aaaa(Japanese weekday) g gg ggg e ee(Japanese era),
// "literal text" and \x. "m"/"mm" whose nearest preceding element is an hour
// (whatever literal text stands between) are minutes, elsewhere the month, as
// the system's formatter reads them. Everything else stands for itself.
#include "date_format.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace qv {

namespace {

using namespace std::string_view_literals;

enum class Field {
    Literal, Year4, Year2, DayOfYear, Month, Month2, MonthAbbr, MonthName, Day, Day2, WeekdayAbbr, WeekdayName,
    ShortDate, LongDate, WeekdayNumber, WeekOfYear, Quarter, General, Hour, Hour2, Minute, Minute2, Second, Second2,
    LongTime, AmPm, AmPmJapanese, JapaneseWeekday, JapaneseWeekdayName, EraInitial, EraKanji, EraName, EraYear,
    EraYear2,
};

struct Token {
    Field field;
    std::string_view text;  // the literal, or the AM/PM element as written
};

bool UsesDate(Field f) {
    switch (f) {
    case Field::Literal: case Field::Hour: case Field::Hour2: case Field::Minute: case Field::Minute2:
    case Field::Second: case Field::Second2: case Field::LongTime: case Field::AmPm: case Field::AmPmJapanese:
        return false;
    default:
        return true;
    }
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsNoCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(text[i]) != word[i]) return false;
    }
    return true;
}

std::size_t Utf8Length(char lead) {
    auto b = static_cast<unsigned char>(lead);
    return b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
}

// Splits a picture into its elements; emit(Token) for each.
template <class Emit>
void WalkPicture(std::string_view p, Emit&& emit) {
    bool afterHour = false;  // the nearest element so far is an hour: "m" and "mm" are minutes
    std::size_t i = 0;
    while (i < p.size()) {
        const char c = p[i];
        const char l = Lower(c);
        std::size_t run = 1;  // repeats of a letter (other characters stand alone)
        if (l >= 'a' && l <= 'z') {
            while (i + run < p.size() && Lower(p[i + run]) == l) ++run;
        }
        auto take = [&](Field field, std::size_t count) {
            emit(Token{field, p.substr(i, count)});
            i += count;
            if (field != Field::Literal) afterHour = field == Field::Hour || field == Field::Hour2;
        };
        switch (l) {
        case '"': {
            std::size_t end = p.find('"', i + 1);
            if (end == std::string_view::npos) end = p.size();
            emit(Token{Field::Literal, p.substr(i + 1, end - i - 1)});
            i = end < p.size() ? end + 1 : end;
            break;
        }
        case '\\': {
            std::size_t length = i + 1 < p.size() ? Utf8Length(p[i + 1]) : 0;
            emit(Token{Field::Literal, p.substr(i + 1, length)});
            i += 1 + length;
            break;
        }
        case 'a': {
            std::string_view rest = p.substr(i);
            if (StartsNoCase(rest, "am/pm")) take(Field::AmPm, 5);
            else if (StartsNoCase(rest, "a/p")) take(Field::AmPm, 3);
            else if (StartsNoCase(rest, "ampm")) take(Field::AmPmJapanese, 4);
            else if (run >= 4) take(Field::JapaneseWeekdayName, 4);
            else if (run == 3) take(Field::JapaneseWeekday, 3);
            else take(Field::Literal, run);
            break;
        }
        case 'y': take(run >= 4 ? Field::Year4 : run >= 2 ? Field::Year2 : Field::DayOfYear, run >= 4 ? 4 : run >= 2 ? 2 : 1); break;
        case 'd': {
            static constexpr Field kDays[] = {Field::Day, Field::Day2, Field::WeekdayAbbr, Field::WeekdayName, Field::ShortDate, Field::LongDate};
            std::size_t count = run < 6 ? run : 6;
            take(kDays[count - 1], count);
            break;
        }
        case 'm': {
            std::size_t count = run < 4 ? run : 4;
            if (afterHour && count <= 2) {
                take(count == 1 ? Field::Minute : Field::Minute2, count);
            } else {
                static constexpr Field kMonths[] = {Field::Month, Field::Month2, Field::MonthAbbr, Field::MonthName};
                take(kMonths[count - 1], count);
            }
            break;
        }
        case 'h': take(run >= 2 ? Field::Hour2 : Field::Hour, run >= 2 ? 2 : 1); break;
        case 'n': take(run >= 2 ? Field::Minute2 : Field::Minute, run >= 2 ? 2 : 1); break;
        case 's': take(run >= 2 ? Field::Second2 : Field::Second, run >= 2 ? 2 : 1); break;
        case 'w': take(run >= 2 ? Field::WeekOfYear : Field::WeekdayNumber, run >= 2 ? 2 : 1); break;
        case 'q': take(Field::Quarter, 1); break;
        case 'c': take(Field::General, 1); break;
        case 't': take(run >= 5 ? Field::LongTime : Field::Literal, run >= 5 ? 5 : run); break;
        case 'g': take(run >= 3 ? Field::EraName : run == 2 ? Field::EraKanji : Field::EraInitial, run >= 3 ? 3 : run); break;
        case 'e': take(run >= 2 ? Field::EraYear2 : Field::EraYear, run >= 2 ? 2 : 1); break;
        default: take(Field::Literal, Utf8Length(c) <= p.size() - i ? Utf8Length(c) : p.size() - i); break;
        }
    }
}

struct PictureInfo {
    bool twelveHour = false;
    bool usesDate = false;
    bool showsHour = false;
    bool showsMinute = false;
};

PictureInfo Scan(std::string_view picture) {
    PictureInfo info;
    WalkPicture(picture, [&](const Token& t) {
        info.twelveHour |= t.field == Field::AmPm || t.field == Field::AmPmJapanese;
        info.usesDate |= UsesDate(t.field);
        info.showsHour |= t.field == Field::Hour || t.field == Field::Hour2 || t.field == Field::LongTime;
        info.showsMinute |= t.field == Field::Minute || t.field == Field::Minute2 || t.field == Field::LongTime;
    });
    return info;
}

}  // namespace

DateNames EnglishDateNames() {
    DateNames names{{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
                    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
                     "November", "December"},
                    {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
                    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}};
    return names;
}

namespace {

DateNames& Names() {
    static DateNames names = EnglishDateNames();
    return names;
}

// English weekday names a text may hold before or after its date, whatever the locale.
constexpr std::array<std::string_view, 7> kWeekdayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 7> kJapaneseWeekdays = {"日", "月", "火", "水", "木", "金", "土"};

struct Era {
    CivilTime start;
    std::string_view initial, kanji, name;
};
constexpr Era kEras[] = {
    {{2019, 5, 1}, "R", "令", "令和"},
    {{1989, 1, 8}, "H", "平", "平成"},
    {{1926, 12, 25}, "S", "昭", "昭和"},
    {{1912, 7, 30}, "T", "大", "大正"},
    {{1868, 10, 23}, "M", "明", "明治"},
};

const Era* EraOf(const CivilTime& t) {
    for (const Era& era : kEras) {
        const CivilTime& s = era.start;
        if (t.year != s.year ? t.year > s.year : t.month != s.month ? t.month > s.month : t.day >= s.day) return &era;
    }
    return nullptr;
}

void AppendNumber(std::string& out, long long number, int minDigits) {
    if (number >= 0 && number < 100 && minDigits <= 2) {  // most fields: straight to digits
        if (number >= 10 || minDigits == 2) out.push_back(static_cast<char>('0' + number / 10));
        out.push_back(static_cast<char>('0' + number % 10));
        return;
    }
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number < 0 ? -number : number);
    (void)ec;
    if (number < 0) out.push_back('-');
    for (auto digits = end - buffer; digits < minDigits; ++digits) out.push_back('0');
    out.append(buffer, end);
}

void Render(std::string& out, const CivilTime& t, std::string_view picture, const PictureInfo& info);

void AppendField(std::string& out, const Token& token, const CivilTime& t, const PictureInfo& info) {
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    const int hour = info.twelveHour ? hour12 : t.hour;
    switch (token.field) {
    case Field::Literal: out.append(token.text); break;
    case Field::Year4: AppendNumber(out, t.year, 1); break;  // years 100 to 999 have three digits, as the system writes them
    case Field::Year2: AppendNumber(out, t.year % 100, 2); break;
    case Field::DayOfYear: AppendNumber(out, DayOfYear(t), 1); break;
    case Field::Month: AppendNumber(out, t.month, 1); break;
    case Field::Month2: AppendNumber(out, t.month, 2); break;
    case Field::MonthAbbr: out.append(Names().monthAbbr[t.month - 1]); break;
    case Field::MonthName: out.append(Names().monthName[t.month - 1]); break;
    case Field::Day: AppendNumber(out, t.day, 1); break;
    case Field::Day2: AppendNumber(out, t.day, 2); break;
    case Field::WeekdayAbbr: out.append(Names().weekdayAbbr[DayOfWeek(t)]); break;
    case Field::WeekdayName: out.append(Names().weekdayName[DayOfWeek(t)]); break;
    case Field::ShortDate: Render(out, t, "yyyy/mm/dd", info); break;
    case Field::LongDate: Render(out, t, "yyyy\"年\"m\"月\"d\"日\"", info); break;
    case Field::WeekdayNumber: AppendNumber(out, DayOfWeek(t) + 1, 1); break;
    case Field::WeekOfYear: {
        // Sunday starts a week; the week holding 1 January is the first.
        int jan1 = DayOfWeek(CivilTime{t.year, 1, 1});
        AppendNumber(out, (DayOfYear(t) - 1 + jan1) / 7 + 1, 1);
        break;
    }
    case Field::Quarter: AppendNumber(out, (t.month - 1) / 3 + 1, 1); break;
    case Field::General: {
        bool hasDate = !(t.year == 1899 && t.month == 12 && t.day == 30);
        bool hasTime = t.hour || t.minute || t.second;
        if (hasDate) Render(out, t, "yyyy/mm/dd", info);
        if (hasDate && hasTime) out.push_back(' ');
        if (hasTime || !hasDate) Render(out, t, "h:nn:ss", PictureInfo{});
        break;
    }
    case Field::Hour: AppendNumber(out, hour, 1); break;
    case Field::Hour2: AppendNumber(out, hour, 2); break;
    case Field::Minute: AppendNumber(out, t.minute, 1); break;
    case Field::Minute2: AppendNumber(out, t.minute, 2); break;
    case Field::Second: AppendNumber(out, t.second, 1); break;
    case Field::Second2: AppendNumber(out, t.second, 2); break;
    case Field::LongTime: Render(out, t, "h:nn:ss", PictureInfo{}); break;
    case Field::AmPm: {
        // The half of "AM/PM" or "A/P" that applies, in the case it is written.
        std::size_t slash = token.text.find('/');
        out.append(t.hour < 12 ? token.text.substr(0, slash) : token.text.substr(slash + 1));
        break;
    }
    case Field::AmPmJapanese: out.append(t.hour < 12 ? "午前"sv : "午後"sv); break;
    case Field::JapaneseWeekday: out.append(kJapaneseWeekdays[DayOfWeek(t)]); break;
    case Field::JapaneseWeekdayName:
        out.append(kJapaneseWeekdays[DayOfWeek(t)]);
        out.append("曜日"sv);
        break;
    case Field::EraInitial:
    case Field::EraKanji:
    case Field::EraName: {
        const Era* era = EraOf(t);
        if (era) out.append(token.field == Field::EraInitial ? era->initial : token.field == Field::EraKanji ? era->kanji : era->name);
        break;
    }
    case Field::EraYear:
    case Field::EraYear2: {
        const Era* era = EraOf(t);
        AppendNumber(out, era ? t.year - era->start.year + 1 : t.year, token.field == Field::EraYear2 ? 2 : 1);
        break;
    }
    }
}

void Render(std::string& out, const CivilTime& t, std::string_view picture, const PictureInfo& info) {
    WalkPicture(picture, [&](const Token& token) { AppendField(out, token, t, info); });
}

// ---- Reading dates and times from text ----

struct Parsed {
    bool hasDate = false, hasYear = false;
    int year = 0, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

class TextCursor {
public:
    explicit TextCursor(std::string_view text) : s_(text) {}

    std::size_t pos() const { return i_; }
    void reset(std::size_t pos) { i_ = pos; }
    bool AtEnd() const { return i_ == s_.size(); }

    void SkipBlanks() {
        while (true) {
            if (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
            else if (!Eat("\u3000")) return;
        }
    }
    bool Eat(std::string_view word) {
        if (s_.substr(i_).starts_with(word)) {
            i_ += word.size();
            return true;
        }
        return false;
    }
    bool EatNoCase(std::string_view word) {
        if (StartsNoCase(s_.substr(i_), word)) {
            i_ += word.size();
            return true;
        }
        return false;
    }
    bool EatChar(char c) {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    char Peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
    bool IsDigitAt() const { return Peek() >= '0' && Peek() <= '9'; }
    bool IsLetterAt() const {
        char c = Lower(Peek());
        return c >= 'a' && c <= 'z';
    }
    // Up to nine digits; digits tells how many there were.
    bool Number(int& value, int& digits) {
        value = 0;
        digits = 0;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9' && digits < 9) {
            value = value * 10 + (s_[i_] - '0');
            ++digits;
            ++i_;
        }
        return digits > 0 && !(Peek() >= '0' && Peek() <= '9');
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
};

int ExpandYear(int year, int digits) {
    if (digits > 2) return year;
    return year < 30 ? 2000 + year : 1900 + year;  // the system's two-digit year window
}

bool ParseDate(TextCursor& c, Parsed& p) {
    const std::size_t start = c.pos();
    auto fail = [&] {
        c.reset(start);
        return false;
    };
    // A Japanese era before the year: 令和8年12月7日, R8/12/07.
    const Era* era = nullptr;
    for (const Era& e : kEras) {
        if (c.IsDigitAt()) break;
        const char initial = Lower(e.initial[0]);
        if (c.Eat(e.name) || (c.EatNoCase(std::string_view(&initial, 1)) && c.IsDigitAt())) {
            era = &e;
            break;
        }
        c.reset(start);
    }
    auto yearOf = [era](int year, int digits) { return era ? era->start.year + year - 1 : ExpandYear(year, digits); };
    int a = 0, da = 0, b = 0, db = 0, x = 0, dx = 0;
    if (!c.Number(a, da)) return fail();
    if (c.Eat("年")) {
        if (!c.Number(b, db) || !c.Eat("月")) return fail();
        p.hasYear = true;
        p.year = yearOf(a, da);
        p.month = b;
        p.day = 1;
        std::size_t dayAt = c.pos();
        if (c.Number(x, dx) && c.Eat("日")) p.day = x;
        else c.reset(dayAt);
    } else if (c.Eat("月")) {
        if (!c.Number(b, db) || !c.Eat("日")) return fail();
        p.month = a;
        p.day = b;
    } else if (c.Peek() == '/' || c.Peek() == '-') {
        const char sep = c.Peek();
        c.EatChar(sep);
        if (!c.Number(b, db)) return fail();
        if (c.EatChar(sep)) {
            if (!c.Number(x, dx)) return fail();
            if (dx > 2 && da <= 2 && !era) {  // m/d/yyyy
                p.hasYear = true, p.year = x, p.month = a, p.day = b;
            } else {  // y/m/d, the order of this system's dates
                p.hasYear = true, p.year = yearOf(a, da), p.month = b, p.day = x;
            }
        } else if (da > 2 && !era) {  // yyyy/m
            p.hasYear = true, p.year = a, p.month = b, p.day = 1;
        } else {  // m/d
            p.month = a, p.day = b;
        }
    } else {
        return fail();
    }
    if (era && !p.hasYear) return fail();
    p.hasDate = true;
    return true;
}

// A weekday after a date, as a display format may put it: "(月)", "月曜日", "Mon".
void SkipWeekday(TextCursor& c) {
    const std::size_t start = c.pos();
    c.SkipBlanks();
    if (c.IsDigitAt() || c.AtEnd()) {  // the usual case: no weekday
        c.reset(start);
        return;
    }
    bool open = c.EatChar('(') || c.Eat("（");
    bool found = false;
    for (std::string_view day : kJapaneseWeekdays) {
        if (c.Eat(day)) {
            c.Eat("曜日") || c.Eat("曜");
            found = true;
            break;
        }
    }
    for (std::size_t n = 0; !found && n < kWeekdayNames.size(); ++n) {
        char lower[10] = {};
        std::string_view name = kWeekdayNames[n];
        for (std::size_t k = 0; k < name.size(); ++k) lower[k] = Lower(name[k]);
        if (c.EatNoCase(std::string_view(lower, 3))) {
            found = true;
            c.EatNoCase(std::string_view(lower + 3, name.size() - 3));
        }
    }
    if (found && open) found = c.EatChar(')') || c.Eat("）");
    if (!found) c.reset(start);
}

bool ParseTime(TextCursor& c, Parsed& p) {
    const std::size_t start = c.pos();
    auto fail = [&] {
        c.reset(start);
        return false;
    };
    int half = 0;  // 1 before noon, 2 after
    if (c.Eat("午前")) half = 1;
    else if (c.Eat("午後")) half = 2;
    if (half) c.SkipBlanks();
    int h = 0, dh = 0, m = 0, dm = 0, s = 0, ds = 0;
    if (!c.Number(h, dh) || dh > 2) return fail();
    if (c.EatChar(':')) {
        if (!c.Number(m, dm) || dm > 2) return fail();
        if (c.EatChar(':') && (!c.Number(s, ds) || ds > 2)) return fail();
    } else if (c.Eat("時")) {
        std::size_t minuteAt = c.pos();
        if (c.Number(m, dm) && dm <= 2 && c.Eat("分")) {
            std::size_t secondAt = c.pos();
            if (!(c.Number(s, ds) && ds <= 2 && c.Eat("秒"))) {
                s = 0;
                c.reset(secondAt);
            }
        } else {
            m = 0;
            c.reset(minuteAt);
        }
    } else {
        return fail();
    }
    if (!half) {
        std::size_t suffixAt = c.pos();
        c.SkipBlanks();
        if (c.EatNoCase("am") || c.EatNoCase("a") || c.Eat("午前")) half = 1;
        else if (c.EatNoCase("pm") || c.EatNoCase("p") || c.Eat("午後")) half = 2;
        if (!half || c.IsLetterAt()) {
            half = 0;
            c.reset(suffixAt);
        }
    }
    if (half) {
        if (h > 12) return fail();
        h = h % 12 + (half == 2 ? 12 : 0);
    }
    if (h > 23 || m > 59 || s > 59) return fail();
    p.hour = h, p.minute = m, p.second = s;
    return true;
}

bool ParseText(std::string_view text, Parsed& p) {
    TextCursor c(text);
    c.SkipBlanks();
    SkipWeekday(c);  // "Mon 12/07", "(月) 12/07"
    c.SkipBlanks();
    bool date = ParseDate(c, p);
    if (date) {
        SkipWeekday(c);
        c.SkipBlanks();
    }
    bool time = ParseTime(c, p);
    c.SkipBlanks();
    if ((!date && !time) || !c.AtEnd()) return false;
    return !date || (p.month >= 1 && p.month <= 12 && p.day >= 1 && p.day <= 31 && (!p.hasYear || (p.year >= 100 && p.year <= 9999)));
}

const ClockSource* g_yearClock = nullptr;

// The local year of now, from the program's clock: it follows a change of the
// computer's zone, which the C runtime's cached zone would not.
int CurrentYear() {
    return g_yearClock ? g_yearClock->Now().year : kYearWithoutClock;
}

std::optional<DateValue> ToValue(const Parsed& p, int year) {
    if (!p.hasDate) return ToDateValue(CivilTime{1899, 12, 30, p.hour, p.minute, p.second});
    if (p.hasYear) year = p.year;
    if (p.day > DaysInMonth(year, p.month)) return std::nullopt;
    return ToDateValue(CivilTime{year, p.month, p.day, p.hour, p.minute, p.second});
}

// A text as a date value for this picture: a year is looked up only when
// the picture shows a part of the date.
std::optional<DateValue> ParseForPicture(std::string_view text, std::string_view picture) {
    Parsed p;
    if (!ParseText(text, p)) return std::nullopt;
    int year = 2000;  // a leap year: any month and day the text gives is a date
    if (p.hasDate && !p.hasYear && (picture.empty() || Scan(picture).usesDate)) year = CurrentYear();
    return ToValue(p, year);
}

}  // namespace

void UseClockForCurrentYear(const ClockSource* clock) { g_yearClock = clock; }
void SetDateNames(const DateNames& names) { Names() = names; }
const DateNames& CurrentDateNames() { return Names(); }

std::optional<DateValue> ParseDateTime(std::string_view text, int defaultYear) {
    Parsed p;
    if (!ParseText(text, p)) return std::nullopt;
    return ToValue(p, defaultYear);
}

std::optional<DateValue> ParseDateTime(std::string_view text) {
    return ParseDateTime(text, CurrentYear());
}

void FormatDateInto(std::string& out, DateValue value, std::string_view picture) {
    out.clear();
    if (!InDateRange(value)) {
        char buffer[40];
        const int length = std::snprintf(buffer, sizeof buffer, "%.15g", value);
        if (length > 0 && length < static_cast<int>(sizeof buffer)) out.append(buffer, static_cast<std::size_t>(length));
        return;
    }
    if (picture.empty()) picture = "c";
    PictureInfo info;  // only an "a" can make the clock 12-hour
    for (char c : picture) {
        if (c == 'a' || c == 'A') {
            info = Scan(picture);
            break;
        }
    }
    Render(out, ToCivilTime(value), picture, info);
}

bool ShownHourMinute(std::string& out, DateValue value, std::string_view picture) {
    if (!InDateRange(value)) return false;
    const PictureInfo info = Scan(picture);
    if (!info.showsHour || !info.showsMinute) return false;
    const CivilTime t = ToCivilTime(value);
    out.clear();
    AppendNumber(out, t.hour, 2);
    out.push_back(':');
    AppendNumber(out, t.minute, 2);
    return true;
}

std::string FormatDate(DateValue value, std::string_view picture) {
    std::string out;
    FormatDateInto(out, value, picture);
    return out;
}

std::string Format(const Value& value, std::string_view picture) {
    Value copy = value;
    FormatInPlace(copy, picture);
    return copy.ToText();
}

void FormatInPlace(Value& value, std::string_view picture) {
    switch (value.kind()) {
    case Value::Kind::Empty:
        value = Value::Text("");
        return;
    case Value::Kind::Boolean:
        value = Value::Text(value.ToText());
        return;
    case Value::Kind::Integer:
    case Value::Kind::Single: {
        DateValue date = *value.ToNumber();
        FormatDateInto(value.MutableText(), date, picture);
        return;
    }
    case Value::Kind::Text: {
        // Parse first: the result is written over the same text.
        if (auto date = ParseForPicture(*value.TextIf(), picture)) FormatDateInto(value.MutableText(), *date, picture);
        return;
    }
    }
}

}  // namespace qv
