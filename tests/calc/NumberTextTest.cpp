#include "calc/NumberText.h"

#include "rtl/Exceptions.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

std::uint32_t Bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

std::string InvalidMessage(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}

struct ValidCase {
    std::string text;
    float expected;
};

// 1 + 2^-24 + 2^-64: halfway between two extended numbers, and rounding to the lower one lands
// exactly on the halfway point between 1 and the next float.
const std::string kExtendedTie =
    "1,0000000596046447754448351086242752217003726400434970855712890625";

} // namespace

TEST(TextToSingle, ConvertsEveryFormOfTheSyntax) {
    const ValidCase cases[] = {
        {"1,5", 1.5f},
        {" 2 ", 2.0f},
        {"   2", 2.0f},
        {"-2", -2.0f},
        {"+3", 3.0f},
        {",", 0.0f},
        {"1,", 1.0f},
        {",5", 0.5f},
        {"0,01", 0.01f},
        {"6", 6.0f},
        {"007", 7.0f},
        {"1e3", 1000.0f},
        {"1E+2", 100.0f},
        {"25e-1", 2.5f},
        {"1e", 1.0f},
        {"1e+", 1.0f},
        {"1e-", 1.0f},
        {",5e1  ", 5.0f},
        {",e5", 0.0f},
        {"1,25E0002", 125.0f},
        {"0e4999", 0.0f},
        {"0,0e0499", 0.0f},
        {"1e-4999", 0.0f},
        {"123456789", 123456792.0f},
        {"16777217", 16777216.0f},                            // tie, to even
        {"340282346638528859811704183484516925440", FLT_MAX}, // FLT_MAX itself
        {"340282356779733661628316023421287792639", FLT_MAX}, // just below the cut
        {"1e-45", std::ldexp(1.0f, -149)},                    // smallest subnormal
        {"1,1754942e-38", std::nextafter(FLT_MIN, 0.0f)},     // largest subnormal
        {"1e-46", 0.0f},
        {kExtendedTie, 1.0f},                                        // double rounding, tie
        {kExtendedTie + std::string(30000, '0'), 1.0f},              // zeros change nothing
        {kExtendedTie + std::string(30000, '0') + "1", 1.00000012f}, // a far digit does
        {"1," + std::string(1'000'000, '0'), 1.0f},
        {"0," + std::string(1'000'000, '9'), 1.0f},
        {std::string(1'000'000, '0') + "3", 3.0f},
        {"0," + std::string(1'000'000, '0') + "1e4999", 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        EXPECT_EQ(Bits(TextToSingle(c.text)), Bits(c.expected));
    }
}

TEST(TextToSingle, FormsTheValueInExtendedPrecisionBeforeRoundingToSingle) {
    // 1 + 2^-24 + 2^-80 lies above the halfway point between 1 and the next float, so a direct
    // rounding gives 1.0000001; in extended precision the 2^-80 is lost first, leaving a tie.
    EXPECT_EQ(TextToSingle("1,00000005960464477539062582718061255302767487140869206996285356581211"
                           "090087890625"),
              1.0f);
}

TEST(TextToSingle, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(TextToSingle("-0")));
    EXPECT_TRUE(std::signbit(TextToSingle("-,")));
    EXPECT_TRUE(std::signbit(TextToSingle("-1e-50")));
    EXPECT_FALSE(std::signbit(TextToSingle("0")));
}

TEST(TextToSingle, RejectsWhatIsNoNumberWithTheTextInTheMessage) {
    const std::string cases[] = {
        "",
        " ",
        "   ",
        "+",
        "-",
        "--1",
        "+-1",
        "1-",
        "1.5",
        "1,2,3",
        "1 2",
        "e5",
        "1e5e",
        "1e+-5",
        "\t1",
        "1\t",
        "1\n",
        "0x10",
        "1e5000", // the digit after 500 is one too many
        "1e-05000",
        "1e4999",                     // beyond extended precision
        "12e4932",                    // just beyond it
        "1" + std::string(5000, '0'), // the same, by digits
        "inf",
        "nan",
        "1 000",
        std::string("1\0", 2),
        "\xd1\x88", // UTF-8 letter
        "5" + std::string(1'000'000, ' ') + "5",
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(text.substr(0, 80));
        try {
            TextToSingle(text);
            ADD_FAILURE() << "accepted";
        } catch (const EConvertError& failure) {
            EXPECT_EQ(failure.Message(), InvalidMessage(text));
        }
    }
}

TEST(TextToSingle, ReportsOverflowBeyondTheSingleRange) {
    const std::string cases[] = {
        "1" + std::string(39, '0'),
        "-1" + std::string(39, '0'),
        "340282356779733661637539395458142568448", // 2^128 - 2^103
        "340282356779733661628316023421287792640", // rounds to it in extended precision
        "1e0500",
        "1e4931",
        "3,5e38",
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(text);
        try {
            TextToSingle(text);
            ADD_FAILURE() << "accepted";
        } catch (const EOverflow& failure) {
            EXPECT_EQ(failure.Message(), "Floating point overflow");
        }
    }
}
