#include "calc/CalculateCommand.h"

#include "calc/BoundaryCurve.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace {

// The two tables and the series in memory, with a log of what the command did, in order.
class RecordingTarget : public TCalculateTarget {
public:
    std::map<std::pair<int, int>, std::string> grid1, grid2;
    std::vector<TCurvePoint> points;
    std::vector<std::string> log;
    bool everEmptied = false;
    bool keepPoints = true;
    std::size_t added = 0;

    void Set(TGridId grid, int row, std::string text) { Cells(grid)[{1, row}] = std::move(text); }
    std::string Get(TGridId grid, int row) { return Cells(grid)[{1, row}]; }

    std::string ReadCell(TGridId grid, int col, int row) override {
        log.push_back("R" + Where(grid, col, row));
        return Cells(grid)[{col, row}];
    }
    void WriteCell(TGridId grid, int col, int row, const std::string& text) override {
        log.push_back("W" + Where(grid, col, row) + "=" + text);
        Cells(grid)[{col, row}] = text;
    }
    void EmptySeries() override {
        log.push_back("E");
        everEmptied = true;
        points.clear();
        added = 0;
    }
    void AddPoint(double x, double y, const std::string& label, TColor colour) override {
        EXPECT_EQ(label, "");
        EXPECT_EQ(colour, clGreen);
        ++added;
        if (keepPoints) {
            points.push_back({x, y});
        }
    }

private:
    std::map<std::pair<int, int>, std::string>& Cells(TGridId grid) {
        return grid == TGridId::StringGrid1 ? grid1 : grid2;
    }
    static std::string Where(TGridId grid, int col, int row) {
        return (grid == TGridId::StringGrid1 ? "1:" : "2:") + std::to_string(col) + "," +
               std::to_string(row);
    }
};

constexpr TGridId G1 = TGridId::StringGrid1;
constexpr TGridId G2 = TGridId::StringGrid2;

std::vector<TCurvePoint> Sampled(float step, float omegaMax) {
    std::vector<TCurvePoint> points;
    SampleBoundaryCurve(TCurveParameters{step, omegaMax},
                        [&](const TCurvePoint& point) { points.push_back(point); });
    return points;
}

} // namespace

TEST(CalculateCommand, FillsDefaultsAndSamplesInTheFixedOrder) {
    RecordingTarget target;
    RunCalculateCommand(target);

    std::vector<std::string> expected;
    for (int row = 1; row <= 7; ++row) {
        const std::string cell = "1:1," + std::to_string(row);
        expected.insert(expected.end(), {"R" + cell, "W" + cell + "=0", "R" + cell});
    }
    expected.insert(expected.end(),
                    {"R2:1,1", "W2:1,1=0,01", "R2:1,2", "W2:1,2=6", "R2:1,1", "R2:1,2", "E"});
    EXPECT_EQ(target.log, expected);

    for (int row = 1; row <= 7; ++row) {
        EXPECT_EQ(target.Get(G1, row), "0");
    }
    EXPECT_EQ(target.Get(G2, 1), "0,01");
    EXPECT_EQ(target.Get(G2, 2), "6");

    const std::vector<TCurvePoint> expectedPoints = Sampled(0.01f, 6.0f);
    ASSERT_EQ(target.points.size(), 1200u);
    for (std::size_t i = 0; i < expectedPoints.size(); ++i) {
        ASSERT_EQ(target.points[i].X, expectedPoints[i].X) << i;
        ASSERT_EQ(target.points[i].Y, expectedPoints[i].Y) << i;
    }
}

TEST(CalculateCommand, ReadsTheTypedValuesAndRunsAfresh) {
    RecordingTarget target;
    target.Set(G1, 4, " -2,5e1 ");
    target.Set(G2, 1, "0,5");
    target.Set(G2, 2, "1");
    RunCalculateCommand(target);
    EXPECT_EQ(target.points.size(), 4u);
    EXPECT_EQ(target.Get(G1, 4), " -2,5e1 ");

    RunCalculateCommand(target);
    EXPECT_EQ(target.points.size(), 4u); // emptied first, so nothing piles up
}

TEST(CalculateCommand, StopsAtAFailingCellAndKeepsTheChart) {
    const auto failing = [](std::vector<std::pair<std::pair<TGridId, int>, std::string>> cells) {
        RecordingTarget target;
        for (auto& [where, text] : cells) {
            target.Set(where.first, where.second, text);
        }
        return target;
    };

    {
        SCOPED_TRACE("coefficient row 3 invalid, the rest blank");
        RecordingTarget target = failing({{{G1, 3}, "1.5"}});
        try {
            RunCalculateCommand(target);
            FAIL();
        } catch (const EConvertError& failure) {
            EXPECT_EQ(failure.Message(), "'1.5' is not a valid floating point value");
        }
        EXPECT_EQ(target.Get(G1, 1), "0");
        EXPECT_EQ(target.Get(G1, 2), "0");
        for (int row = 4; row <= 7; ++row) {
            EXPECT_EQ(target.Get(G1, row), "");
        }
        EXPECT_EQ(target.Get(G2, 1), "");
        EXPECT_EQ(target.Get(G2, 2), "");
        EXPECT_FALSE(target.everEmptied);
    }
    {
        SCOPED_TRACE("blanks only are not blank");
        RecordingTarget target = failing({{{G1, 1}, "   "}});
        try {
            RunCalculateCommand(target);
            FAIL();
        } catch (const EConvertError& failure) {
            EXPECT_EQ(failure.Message(), "'   ' is not a valid floating point value");
        }
        EXPECT_EQ(target.Get(G1, 1), "   ");
    }
    {
        SCOPED_TRACE("invalid Step, blank OmegaMax");
        RecordingTarget target = failing({{{G2, 1}, "abc"}});
        EXPECT_THROW(RunCalculateCommand(target), EConvertError);
        EXPECT_EQ(target.Get(G2, 2), "6");
        EXPECT_FALSE(target.everEmptied);
    }
    {
        SCOPED_TRACE("invalid OmegaMax, blank Step");
        RecordingTarget target = failing({{{G2, 2}, "-"}});
        EXPECT_THROW(RunCalculateCommand(target), EConvertError);
        EXPECT_EQ(target.Get(G2, 1), "0,01");
        EXPECT_FALSE(target.everEmptied);
    }
    {
        SCOPED_TRACE("a coefficient beyond the single range stops at its own cell");
        RecordingTarget target = failing({{{G1, 5}, "1" + std::string(39, '0')}});
        try {
            RunCalculateCommand(target);
            FAIL();
        } catch (const EOverflow& failure) {
            EXPECT_EQ(failure.Message(), "Floating point overflow");
        }
        EXPECT_EQ(target.Get(G1, 4), "0");
        EXPECT_EQ(target.Get(G1, 6), "");
        EXPECT_EQ(target.Get(G2, 1), "");
        EXPECT_FALSE(target.everEmptied);
    }
    {
        SCOPED_TRACE("an OmegaMax beyond the single range");
        RecordingTarget target = failing({{{G2, 2}, "1e39"}});
        EXPECT_THROW(RunCalculateCommand(target), EOverflow);
        EXPECT_FALSE(target.everEmptied);
    }
}

TEST(CalculateCommand, RefusesASamplingThatWouldNotEndOrFloodTheChart) {
    const struct {
        const char* step;
        const char* omegaMax;
        const char* message;
    } cases[] = {
        {"0", "6", "Шаг должен быть больше нуля"},
        {",", "6", "Шаг должен быть больше нуля"},
        {"-0,01", "6", "Шаг должен быть больше нуля"},
        {"1e-50", "6", "Шаг должен быть больше нуля"},
        {"1e-7", "6", "Шаг слишком мал: точек было бы больше 10000000"},
        {"1e-6", "6", "Шаг слишком мал: точек было бы больше 10000000"},
        {"0,01", "1e10", "Шаг слишком мал: точек было бы больше 10000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        RecordingTarget target;
        target.Set(G2, 1, c.step);
        target.Set(G2, 2, c.omegaMax);
        try {
            RunCalculateCommand(target);
            ADD_FAILURE() << "not refused";
        } catch (const EConvertError&) {
            ADD_FAILURE() << "refused as a conversion";
        } catch (const Exception& failure) {
            EXPECT_EQ(failure.Message(), c.message);
        }
        EXPECT_FALSE(target.everEmptied);
    }
}

TEST(CalculateCommand, AcceptsNoPointsAndReportsTheCurveOverflowAfterEmptying) {
    for (const char* omegaMax : {"0", "-6", "-0"}) {
        RecordingTarget target;
        target.Set(G2, 1, "0");
        target.Set(G2, 2, omegaMax);
        RunCalculateCommand(target);
        EXPECT_TRUE(target.everEmptied) << omegaMax;
        EXPECT_TRUE(target.points.empty()) << omegaMax;
    }

    RecordingTarget target;
    target.points.push_back({1, 1});
    target.Set(G2, 1, "1e4");
    target.Set(G2, 2, "2e10");
    EXPECT_THROW(RunCalculateCommand(target), EOverflow);
    EXPECT_TRUE(target.everEmptied);
    EXPECT_TRUE(target.points.empty());
}

namespace {

std::uint64_t CountByLoop(float step, float omegaMax, std::uint64_t limit) {
    std::uint64_t count = 0;
    for (float omega = -omegaMax; omega < omegaMax && count <= limit; omega = omega + step) {
        ++count;
    }
    return count;
}

// The largest OmegaMax for which a run with this Step still has at most maxPoints points.
float LargestAllowedOmegaMax(float step, std::uint64_t maxPoints) {
    float low = step, high = 1.0e3f;
    while (std::nextafter(low, high) < high) {
        float middle = std::sqrt(low) * std::sqrt(high);
        if (!(middle > low && middle < high)) {
            middle = std::nextafter(low, high);
        }
        if (CountBoundaryCurveSamples({step, middle}, maxPoints) > maxPoints) {
            high = middle;
        } else {
            low = middle;
        }
    }
    return low;
}

std::string CellText(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", double(value));
    std::string cell = text;
    std::replace(cell.begin(), cell.end(), '.', ',');
    return cell;
}

} // namespace

TEST(CalculateCommand, AllowsExactlyTheLargestRunAndRefusesOneMore) {
    const float step = 1.0e-6f;
    const float omegaMax = LargestAllowedOmegaMax(step, kMaxCurvePoints);
    const float oneMore = std::nextafter(omegaMax, 1.0e3f);
    // The refusal counts as the sampling loop accumulates, to the point.
    ASSERT_EQ(CountByLoop(step, omegaMax, kMaxCurvePoints), kMaxCurvePoints);
    ASSERT_EQ(CountByLoop(step, oneMore, kMaxCurvePoints), kMaxCurvePoints + 1);

    RecordingTarget target;
    target.keepPoints = false;
    target.Set(G2, 1, "0,000001");
    target.Set(G2, 2, CellText(omegaMax));
    RunCalculateCommand(target);
    EXPECT_EQ(target.added, kMaxCurvePoints);

    RecordingTarget refused;
    refused.Set(G2, 1, "0,000001");
    refused.Set(G2, 2, CellText(oneMore));
    try {
        RunCalculateCommand(refused);
        ADD_FAILURE() << "not refused";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.Message(), "Шаг слишком мал: точек было бы больше 10000000");
    }
    EXPECT_FALSE(refused.everEmptied);
}
