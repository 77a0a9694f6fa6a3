// The help page's date/time format examples are what the clock really shows:
// every example row of its format section is run through the format routine
// for the example moment, Saturday 7 March 2026, 09:05:03.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "date_format.h"
#include "date_value.h"

namespace {

std::string ReadPage() {
    // Under Wine the build's Unix path is on drive Z:.
    std::string path = QV_RELEASE_HELP_PAGE;
    if (path.starts_with('/')) path = "Z:" + path;
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The text of an HTML fragment: tags dropped, the entities the page uses decoded.
std::string PlainText(std::string_view html) {
    std::string out;
    bool inTag = false;
    for (char c : html) {
        if (c == '<') inTag = true;
        else if (c == '>') inTag = false;
        else if (!inTag) out += c;
    }
    for (auto [entity, plain] : {std::pair{"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
        for (std::size_t at; (at = out.find(entity)) != std::string::npos;) out.replace(at, std::strlen(entity), plain);
    }
    return out;
}

std::string FirstCode(std::string_view html) {
    std::size_t open = html.find("<code>");
    if (open == std::string_view::npos) return {};
    std::size_t close = html.find("</code>", open);
    return PlainText(html.substr(open + 6, close - open - 6));
}

struct Example {
    std::string picture, shows;
};

// Rows whose first cell starts with a picture in <code> and whose last cell
// holds what it shows; a last cell "<code>picture</code> → text" brings its
// own picture.
std::vector<Example> FormatExamples(const std::string& page) {
    std::vector<Example> examples;
    std::size_t begin = page.find("<h2 id=\"format\">");
    std::size_t end = page.find("<h2", begin + 1);
    std::string_view section = std::string_view(page).substr(begin, end - begin);
    for (std::size_t row = section.find("<tr>"); row != std::string_view::npos; row = section.find("<tr>", row + 1)) {
        std::string_view tr = section.substr(row, section.find("</tr>", row) - row);
        std::vector<std::string_view> cells;
        for (std::size_t td = tr.find("<td>"); td != std::string_view::npos; td = tr.find("<td>", td + 1))
            cells.push_back(tr.substr(td + 4, tr.find("</td>", td) - td - 4));
        if (cells.size() < 2 || !cells.front().starts_with("<code>")) continue;
        std::string_view last = cells.back();
        const std::string arrow = "→";
        if (std::size_t at = last.find(arrow); at != std::string_view::npos) {
            std::string shows = PlainText(last.substr(at + arrow.size()));
            examples.push_back({FirstCode(last), shows.substr(shows.find_first_not_of(' '))});
        } else if (!last.empty()) {
            examples.push_back({FirstCode(cells.front()), PlainText(last)});
        }
    }
    return examples;
}

TEST(HelpPage, EveryFormatExampleIsWhatTheClockShows) {
    std::string page = ReadPage();
    ASSERT_FALSE(page.empty()) << "cannot read " << QV_RELEASE_HELP_PAGE;
    std::vector<Example> examples = FormatExamples(page);
    // The element table, the further elements and the examples.
    ASSERT_GE(examples.size(), 40u) << "the format section's tables were not found";

    // The page shows the names a Japanese Windows gives.
    qv::DateNames japanese;
    for (int m = 0; m < 12; ++m) japanese.monthAbbr[m] = japanese.monthName[m] = std::to_string(m + 1) + "月";
    const char* days[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int d = 0; d < 7; ++d) {
        japanese.weekdayAbbr[d] = days[d];
        japanese.weekdayName[d] = std::string(days[d]) + "曜日";
    }
    qv::SetDateNames(japanese);
    qv::DateValue moment = qv::ToDateValue(qv::CivilTime{2026, 3, 7, 9, 5, 3});
    for (const Example& example : examples)
        EXPECT_EQ(qv::FormatDate(moment, example.picture), example.shows) << "picture " << example.picture;
}

TEST(HelpPage, IsSelfContained) {
    std::string page = ReadPage();
    ASSERT_FALSE(page.empty());
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    for (const char* outside : {"http:", "https:", "src=", "<link", "@import"})
        EXPECT_EQ(page.find(outside), std::string::npos) << "the page refers outside itself: " << outside;
}

}  // namespace
