#include "platform/TAxisMapping.h"
#include "support/ParseLabel.h"

#include <QSet>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A label as wide as a 7-pixel font would make it.
double SevenPixelsPerCharacter(const QString& label) {
    return 7.0 * label.size();
}

} // namespace

TEST(AxisMapping, ForwardAndInverseRoundTrip) {
    struct Case {
        double lo, hi, pixelLo, pixelHi;
    };
    const Case cases[] = {
        {0, 1, 0, 100},           {-6, 6, 420, 15}, // a vertical axis runs backwards
        {7.5, 7.500004, 10, 600}, {-1e30, 1e30, 0, 300}, {1e-20, 3e-20, 50, 51},
    };
    for (const Case& c : cases) {
        const TAxisMapping axis(c.lo, c.hi, c.pixelLo, c.pixelHi);
        EXPECT_DOUBLE_EQ(axis.ToPixel(c.lo), c.pixelLo);
        EXPECT_DOUBLE_EQ(axis.ToPixel(c.hi), c.pixelHi);
        for (const double f : {0.0, 0.25, 0.5, 1.0}) {
            const double pixel = c.pixelLo + f * (c.pixelHi - c.pixelLo);
            EXPECT_NEAR(axis.ToPixel(axis.ToData(pixel)), pixel, 1e-6);
        }
        EXPECT_NEAR(axis.UnitsPerPixel(), (c.hi - c.lo) / std::abs(c.pixelHi - c.pixelLo),
                    1e-9 * (c.hi - c.lo));
    }
}

TEST(AxisMapping, GuardMakesEveryRangeUsable) {
    struct Case {
        double lo, hi;
        double expectLo, expectHi; // NaN: only checked for being usable
    };
    const Case cases[] = {
        {kNaN, kNaN, 0, 1},
        {kInf, -kInf, 0, 1},
        {3, 1, 1, 3},
        {5, 5, 4.5, 5.5},
        {0, 0, -1, 1},
        {-2, kNaN, -2.2, -1.8},
        {-1e308, 1e308, -1e300, 1e300},
        {7.5, 7.5 + 1e-12, kNaN, kNaN}, // narrower than the points' precision
        {1e300, kInf, kNaN, kNaN},
    };
    for (const Case& c : cases) {
        const auto [lo, hi] = TAxisMapping::Guard(c.lo, c.hi);
        EXPECT_TRUE(std::isfinite(lo) && std::isfinite(hi)) << c.lo << " " << c.hi;
        EXPECT_LT(lo, hi) << c.lo << " " << c.hi;
        const double magnitude = std::max(std::abs(lo), std::abs(hi));
        EXPECT_GE(hi - lo, magnitude * TAxisMapping::kMinRelativeSpan * 0.999);
        EXPECT_LE(magnitude, TAxisMapping::kMaxMagnitude);
        if (!std::isnan(c.expectLo)) {
            EXPECT_DOUBLE_EQ(lo, c.expectLo) << c.lo << " " << c.hi;
            EXPECT_DOUBLE_EQ(hi, c.expectHi) << c.lo << " " << c.hi;
        }
    }
    // A range that is already usable is left exactly as it is.
    const auto [lo, hi] = TAxisMapping::Guard(7.5, 7.500004);
    EXPECT_EQ(lo, 7.5);
    EXPECT_EQ(hi, 7.500004);
}

TEST(AxisMapping, TicksAreRoundSensibleAndNeverOverlap) {
    struct Case {
        double lo, hi, pixels;
    };
    const Case cases[] = {
        {0, 7.51486, 590},    {-11.6271, 17.4838, 380}, {-0.3, 0.2, 600},
        {0, 1, 60},           {1e6, 3.5e6, 400},        {-1e-12, 1e-12, 500},
        {7.5, 7.500004, 590}, {-1e300, 1e300, 500},     {123456.7, 123456.9, 300},
    };
    for (const Case& c : cases) {
        const TAxisMapping axis(c.lo, c.hi, 0, c.pixels);
        const auto ticks = axis.ChooseTicks(SevenPixelsPerCharacter, 8, 40);
        ASSERT_GE(ticks.size(), 1u) << c.lo << " " << c.hi;
        EXPECT_LE(double(ticks.size()), c.pixels / 40 + 1);
        if (c.pixels >= 300) {
            EXPECT_GE(ticks.size(), 2u) << c.lo << " " << c.hi;
        }
        QSet<QString> labels;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_GE(ticks[i].value, axis.DataLo());
            EXPECT_LE(ticks[i].value, axis.DataHi());
            labels.insert(ticks[i].label);
            if (i == 0)
                continue;
            const double step = ticks[i].value - ticks[i - 1].value;
            const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
            EXPECT_TRUE(std::abs(mantissa - 1) < 1e-6 || std::abs(mantissa - 2) < 1e-6 ||
                        std::abs(mantissa - 5) < 1e-6)
                << step;
            // Centred labels: half of each label on either side of its tick.
            const double room = ticks[i].pixel - ticks[i - 1].pixel;
            EXPECT_GE(room, (SevenPixelsPerCharacter(ticks[i].label) +
                             SevenPixelsPerCharacter(ticks[i - 1].label)) /
                                    2 +
                                8 - 1e-9)
                << ticks[i - 1].label.toStdString() << " / " << ticks[i].label.toStdString();
            EXPECT_NEAR(ParseLabel(ticks[i].label), ticks[i].value, step / 2);
        }
        EXPECT_EQ(std::size_t(labels.size()), ticks.size()) << "labels must be distinct";
    }
}

TEST(AxisMapping, TicksCoverTheMarginsTheAxisShowsBeyondTheData) {
    // The curve's X starts a hair above 0; the margin beside the data still shows the origin.
    const TAxisMapping axis(1e-9, 7.51486, 5.5, 480.5);
    const auto withMargin = axis.ChooseTicks(SevenPixelsPerCharacter, 12, 50, 5);
    ASSERT_FALSE(withMargin.empty());
    EXPECT_EQ(withMargin.front().value, 0.0);
    EXPECT_EQ(withMargin.front().label, QStringLiteral("0"));
    EXPECT_NEAR(withMargin.front().pixel, 5.5, 1e-6);
    EXPECT_GT(axis.ChooseTicks(SevenPixelsPerCharacter, 12, 50).front().value, 0.0);
}

TEST(AxisMapping, FormatsWithADecimalCommaAndTheResolvedDigits) {
    struct Case {
        double value, resolution;
        const char* text;
        bool keepZeros = false;
    };
    const Case cases[] = {
        {-0.5, 0.1, "-0,5"},
        {1.5, 0.5, "1,5"},
        {0, 1, "0"},
        {-1e-17, 0.1, "0"},
        {2, 1, "2"},
        {20, 10, "20"},
        {0.3 * 3, 0.1, "0,9"},
        {-0.004, 0.01, "0,00", true},
        {7.5000005, 5e-7, "7,5000005"},
        {1e-12, 1e-13, "1E-12"},
        {1.2e-12, 1e-13, "1,2E-12"},
        {1, 0.01, "1,00", true},
        {1, 0.01, "1"},
        {-2.5e12, 5e11, "-2,5E12"},
        {0.25, 0.05, "0,25"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TAxisMapping::Format(c.value, c.resolution, c.keepZeros).toStdString(), c.text)
            << c.value << " at " << c.resolution;
}
