// Number texts and date arithmetic give bit for bit the same doubles in every
// build: the shipped 32-bit program, the 64-bit one and the host's. The
// expectations are exact bit patterns written by make_exact_numbers.py, not
// the C runtime of the system under test, which may itself round twice.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>

#include "clock_tick.h"
#include "date_value.h"
#include "value.h"
#include "exact_numbers.h"

namespace qv {
namespace {

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

class ExactNumbers : public ::testing::Test {
protected:
    static void SetUpTestSuite() { std::printf("exact numbers: corpus seed %u\n", test::exact::kSeed); }
};

TEST_F(ExactNumbers, DecimalTextsConvertToTheCorrectlyRoundedDouble) {
    // "-.677164625563" is one the x87 unit's extended precision rounds twice.
    int wrong = 0;
    for (const auto& c : test::exact::kParse) {
        auto number = ParseNumber(c.text);
        ASSERT_TRUE(number) << c.text;
        if (Bits(*number) != c.bits && ++wrong <= 10) {
            ADD_FAILURE() << c.text << ": got " << std::hexfloat << *number << ", expected "
                          << std::bit_cast<double>(c.bits);
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << std::size(test::exact::kParse) << " texts";
}

TEST_F(ExactNumbers, APlacesTimeAndItsSecondAreTheSameInEveryBuild) {
    int wrong = 0;
    for (const auto& c : test::exact::kPlace) {
        const CivilTime civil{c.y, c.mo, c.d, c.h, c.mi, c.s};
        const DateValue local = ToDateValue(civil);
        const DateValue place = PlaceTime(local, Value::Text(c.diff), Value::Text(c.summer));
        const CivilTime shown = ToCivilTime(place);
        const CivilTime midnight{shown.year, shown.month, shown.day, 0, 0, 0};
        const bool same = Bits(local) == c.local && Bits(place) == c.place &&
                          ToDateValue(midnight) == static_cast<double>(c.day) &&
                          shown.hour * 3600 + shown.minute * 60 + shown.second == c.second;
        if (!same && ++wrong <= 10) {
            ADD_FAILURE() << c.y << '-' << c.mo << '-' << c.d << ' ' << c.h << ':' << c.mi << ':' << c.s
                          << " + " << c.diff << " h + " << c.summer << " h: place " << std::hexfloat << place
                          << ", expected " << std::bit_cast<double>(c.place) << " (local " << local << ", expected "
                          << std::bit_cast<double>(c.local) << ")";
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << std::size(test::exact::kPlace) << " places";
}

}  // namespace
}  // namespace qv
