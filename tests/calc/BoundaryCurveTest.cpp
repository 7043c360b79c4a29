#include "calc/BoundaryCurve.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// An independent evaluation of the curve in which every rounding to single precision goes
// through memory, so no optimiser can drop one.
float StoredSingle(double value) {
    volatile float stored = static_cast<float>(value);
    return stored;
}

// The powers are formed as the program forms them (squares, then products), since another
// choice may differ in the last bit of a double.
TCurvePoint ReferencePoint(float omega) {
    const double w = omega;
    const double w2 = w * w;
    const double w3 = w2 * w;
    const double w4 = w2 * w2;
    const double w5 = w4 * w;
    const double den = StoredSingle(w2 * 1.028 + w4 * 0.028 + 1.0);
    const double x = StoredSingle((w2 * 0.533 + w4 * 0.416) / den);
    const double y = StoredSingle((w4 * 0.167 - w5 * 0.1 - w3 * 1.384 - w) / den);
    return {x, y};
}

struct ReferenceRun {
    std::vector<float> omegas;
    std::vector<TCurvePoint> points;
};

ReferenceRun Reference(float step, float omegaMax, std::size_t cap = 50'000'000) {
    ReferenceRun run;
    float omega = -omegaMax;
    while (omega < omegaMax && run.omegas.size() < cap) {
        run.omegas.push_back(omega);
        run.points.push_back(ReferencePoint(omega));
        volatile float next = omega + step;
        omega = next;
    }
    return run;
}

std::vector<TCurvePoint> Sample(float step, float omegaMax) {
    std::vector<TCurvePoint> points;
    SampleBoundaryCurve(TCurveParameters{step, omegaMax},
                        [&](const TCurvePoint& point) { points.push_back(point); });
    return points;
}

bool SameBits(const TCurvePoint& a, const TCurvePoint& b) {
    return std::bit_cast<std::uint64_t>(a.X) == std::bit_cast<std::uint64_t>(b.X) &&
           std::bit_cast<std::uint64_t>(a.Y) == std::bit_cast<std::uint64_t>(b.Y);
}

bool IsSingle(double value) {
    return double(float(value)) == value;
}

// Six significant digits, as the values of the curve are usually quoted.
void ExpectNear6(double actual, double expected) {
    EXPECT_NEAR(actual, expected, std::fabs(expected) * 5e-6 + 1e-12) << "expected " << expected;
}

} // namespace

TEST(BoundaryCurve, DefaultRunMatchesTheReferenceBitForBit) {
    const ReferenceRun reference = Reference(0.01f, 6.0f);
    const std::vector<TCurvePoint> points = Sample(0.01f, 6.0f);
    ASSERT_EQ(points.size(), 1200u);
    ASSERT_EQ(reference.points.size(), 1200u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        ASSERT_TRUE(SameBits(points[i], reference.points[i])) << "sample " << i;
        ASSERT_TRUE(IsSingle(points[i].X) && IsSingle(points[i].Y)) << "sample " << i;
    }
    ExpectNear6(points.front().X, 7.51486);
    ExpectNear6(points.front().Y, 17.4838);
    ExpectNear6(points.back().X, 7.50266);
    ExpectNear6(points.back().Y, -11.6271);
    EXPECT_EQ(reference.omegas.front(), -6.0f);
    EXPECT_EQ(reference.omegas.back(), 5.990084171295166f);
    EXPECT_EQ(reference.omegas.back() + 0.01f, 6.0000844f);
    EXPECT_EQ(std::count(reference.omegas.begin(), reference.omegas.end(), 0.0f), 0);
}

TEST(BoundaryCurve, LongerRunsMatchTheReferenceBitForBit) {
    const struct {
        float step, omegaMax;
    } runs[] = {{0.001f, 100.0f}, {0.37f, 1000.0f}, {1.0e-4f, 3.0f}, {1.0e5f, 1.0e9f}};
    for (const auto& run : runs) {
        SCOPED_TRACE(testing::Message() << run.step << " " << run.omegaMax);
        const ReferenceRun reference = Reference(run.step, run.omegaMax);
        const std::vector<TCurvePoint> points = Sample(run.step, run.omegaMax);
        ASSERT_EQ(points.size(), reference.points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_TRUE(SameBits(points[i], reference.points[i])) << "sample " << i;
        }
    }
}

TEST(BoundaryCurve, SingleSamplesHaveTheKnownValues) {
    const struct {
        float omega;
        double x, y;
    } cases[] = {
        {1.0f, 0.461576, -1.12695}, {2.0f, 1.58058, -2.44604},   {-2.0f, 1.58058, 3.40719},
        {-1.0f, 0.461576, 1.28940}, {-0.5f, 0.126514, 0.545432}, {0.5f, 0.126514, -0.528848},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.omega);
        const TCurvePoint point = BoundaryCurvePoint(c.omega);
        ExpectNear6(point.X, c.x);
        ExpectNear6(point.Y, c.y);
    }
    const TCurvePoint origin = BoundaryCurvePoint(0.0f);
    EXPECT_EQ(origin.X, 0.0);
    EXPECT_EQ(origin.Y, 0.0);
}

TEST(BoundaryCurve, XIsExactlyEvenInOmega) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> omegas(0.0f, 1000.0f);
    for (int i = 0; i < 1000; ++i) {
        const float omega = omegas(random);
        EXPECT_EQ(BoundaryCurvePoint(omega).X, BoundaryCurvePoint(-omega).X) << omega;
    }
}

TEST(BoundaryCurve, SamplesFromMinusOmegaMaxAndNeverOmegaMaxItself) {
    const std::vector<TCurvePoint> four = Sample(0.5f, 1.0f);
    ASSERT_EQ(four.size(), 4u);
    const float omegas[] = {-1.0f, -0.5f, 0.0f, 0.5f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(SameBits(four[i], BoundaryCurvePoint(omegas[i]))) << i;
    }

    const std::vector<TCurvePoint> one = Sample(7.0f, 3.0f);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_TRUE(SameBits(one[0], BoundaryCurvePoint(-3.0f)));
    EXPECT_EQ(Sample(6.0f, 3.0f).size(), 1u);

    EXPECT_TRUE(Sample(0.01f, 0.0f).empty());
    EXPECT_TRUE(Sample(0.01f, -5.0f).empty());
    EXPECT_TRUE(Sample(0.0f, -5.0f).empty());
}

TEST(BoundaryCurve, OverflowsAtTheFirstSampleBeforeAnyPointIsHanded) {
    for (const float omegaMax : {2.0e10f, 1.1e10f, 3.0e38f}) {
        int handed = 0;
        try {
            SampleBoundaryCurve(TCurveParameters{1.0e9f, omegaMax},
                                [&](const TCurvePoint&) { ++handed; });
            ADD_FAILURE() << omegaMax << " did not overflow";
        } catch (const EOverflow& failure) {
            EXPECT_EQ(failure.Message(), "Floating point overflow");
        }
        EXPECT_EQ(handed, 0) << omegaMax;
    }
    EXPECT_NO_THROW(BoundaryCurvePoint(-1.0e10f));
}

TEST(BoundaryCurve, AFailingSinkEndsTheSamplingAtOnce) {
    int handed = 0;
    EXPECT_THROW(SampleBoundaryCurve(TCurveParameters{0.01f, 6.0f},
                                     [&](const TCurvePoint&) {
                                         if (++handed == 3) {
                                             throw EAbort("stop");
                                         }
                                     }),
                 EAbort);
    EXPECT_EQ(handed, 3);
}

namespace {

std::uint64_t CountByLoop(float step, float omegaMax, std::uint64_t limit) {
    std::uint64_t count = 0;
    for (float omega = -omegaMax; omega < omegaMax; omega = omega + step) {
        if (++count > limit) {
            return limit + 1;
        }
    }
    return count;
}

} // namespace

TEST(CountBoundaryCurveSamples, AgreesWithTheSamplingLoop) {
    const std::uint64_t limit = 3'000'000;
    const struct {
        float step, omegaMax;
    } cases[] = {
        {0.01f, 6.0f},
        {0.5f, 1.0f},
        {7.0f, 3.0f},
        {6.0f, 3.0f},
        {0.01f, 0.0f},
        {0.01f, -1.0f},
        {1.0e-6f, 1.0f},
        {3.0e-7f, 0.4f},
        {1.5f, 1.0e6f},
        {0.75f, 4.0e6f},
        {1.0f + 1.0f / 1024, 3.0e4f},
        {0.5f, 1.6e7f},
        {1.0f, 1.6777216e7f},
        {2.0e4f, 2.0e10f},
        {1.0e-30f, 1.0e-25f},
        {1.0e-40f, 1.0e-39f},
        {0.1f, 0.1f},
        {0.3f, 1000.0f},
        {1.0e-3f, 1.0e3f},
        {0.01f, 60000.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.step << " " << c.omegaMax);
        EXPECT_EQ(CountBoundaryCurveSamples({c.step, c.omegaMax}, limit),
                  CountByLoop(c.step, c.omegaMax, limit));
    }

    // Random steps and ranges across many binades, with steps built to round ties as well.
    std::mt19937 random(2026);
    std::uniform_real_distribution<float> exponent(-20.0f, 20.0f);
    std::uniform_int_distribution<int> mantissaBits(1, 24);
    for (int i = 0; i < 300; ++i) {
        const float omegaMax = std::exp2(exponent(random));
        float step =
            omegaMax * std::exp2(-std::uniform_real_distribution<float>(-1.0f, 20.0f)(random));
        if (i % 3 == 0) {
            // Few significant bits: the steps that round a tie in some binade.
            int e = 0;
            const float m = std::frexp(step, &e);
            const int bits = mantissaBits(random);
            step = std::ldexp(std::round(std::ldexp(m, bits)), e - bits);
        }
        SCOPED_TRACE(testing::Message() << step << " " << omegaMax);
        ASSERT_EQ(CountBoundaryCurveSamples({step, omegaMax}, limit),
                  CountByLoop(step, omegaMax, limit));
    }
}

TEST(CountBoundaryCurveSamples, ReportsARunThatNeverEndsAsBeyondTheLimit) {
    EXPECT_EQ(CountBoundaryCurveSamples({0.0f, 6.0f}, 100), 101u);
    EXPECT_EQ(CountBoundaryCurveSamples({1.0e-7f, 6.0f}, 100'000'000), 100'000'001u);
    EXPECT_EQ(CountBoundaryCurveSamples({0.5f, 1.7e7f}, 100'000'000), 100'000'001u);
    EXPECT_EQ(CountBoundaryCurveSamples({0.01f, 6.0f}, 1199), 1200u);
    EXPECT_EQ(CountBoundaryCurveSamples({0.01f, 6.0f}, 1200), 1200u);
}
