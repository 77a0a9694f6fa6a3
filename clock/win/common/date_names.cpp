// GetLocaleInfoW's month and weekday names as the format routine's names.
#include "date_names.h"

#include <windows.h>

#include "text.h"

namespace qv::win {

namespace {

void Take(std::string& name, LCID locale, LCTYPE type) {
    wchar_t buffer[80];
    if (GetLocaleInfoW(locale, type, buffer, static_cast<int>(std::size(buffer))) > 0) name = Narrow(buffer);
}

}  // namespace

DateNames DateNamesOf(unsigned long locale) {
    DateNames names = EnglishDateNames();
    for (int m = 0; m < 12; ++m) {
        Take(names.monthAbbr[static_cast<std::size_t>(m)], locale, LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(m));
        Take(names.monthName[static_cast<std::size_t>(m)], locale, LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(m));
    }
    // The system counts Monday as day 1 and Sunday as day 7; the routine starts on Sunday.
    for (int d = 0; d < 7; ++d) {
        const auto day = static_cast<LCTYPE>((d + 6) % 7);
        Take(names.weekdayAbbr[static_cast<std::size_t>(d)], locale, LOCALE_SABBREVDAYNAME1 + day);
        Take(names.weekdayName[static_cast<std::size_t>(d)], locale, LOCALE_SDAYNAME1 + day);
    }
    return names;
}

DateNames UserDateNames() { return DateNamesOf(LOCALE_USER_DEFAULT); }

}  // namespace qv::win
