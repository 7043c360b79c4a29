#include "ChartFakeContext.h"
#include "platform/TPointSeries.h"

#include <QJsonArray>
#include <QJsonValue>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

struct Point {
    double x;
    double y;
};

// The series must hold exactly the stable sort of the input by x.
void ExpectStableOrder(const std::vector<Point>& input, const TPointSeries& series) {
    std::vector<Point> expected = input;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Point& a, const Point& b) { return a.x < b.x; });
    ASSERT_EQ(series.Count(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(series.XValue(i), expected[i].x) << "at " << i;
        ASSERT_EQ(series.YValue(i), expected[i].y) << "at " << i;
    }
}

// The boundary curve as the calculation samples it: float omega, float-rounded den, X, Y.
std::vector<Point> Curve(float step, float omegaMax) {
    std::vector<Point> points;
    for (float w = -omegaMax; w < omegaMax; w += step) {
        const double o = w, o2 = o * o, o3 = o2 * o, o4 = o2 * o2, o5 = o4 * o;
        const float den = float(o2 * 1.028 + o4 * 0.028 + 1);
        const float x = float((o2 * 0.533 + o4 * 0.416) / den);
        const float y = float((o4 * 0.167 + o5 * -0.1 - o3 * 1.384 - o) / den);
        points.push_back({x, y});
    }
    return points;
}

TPointSeries& Fill(TPointSeries& series, const std::vector<Point>& points) {
    for (const Point& p : points)
        series.AddXY(p.x, p.y, QString(), clGreen);
    return series;
}

} // namespace

TEST(SeriesOrder, KeepsAscendingXWithTiesInInsertionOrder) {
    // y numbers the points in the order they were added.
    const std::vector<std::vector<Point>> cases = {
        {{1, 0}, {0, 1}, {1, 2}, {1, 3}, {0, 4}}, // ties on both sides
        {{3, 0}, {2, 1}, {2, 2}, {1, 3}},         // a falling run with a tie inside
        {{5, 0}, {4, 1}, {3, 2}, {3, 3}, {3, 4}, {4, 5}, {0, 6}},
        {{-0.0, 0}, {0.0, 1}, {-0.0, 2}}, // signed zeros compare equal
        {{2, 0}},
        {{1, 0}, {5, 1}, {4, 2}, {3, 3}, {6, 4}, {2, 5}}, // a fall after earlier points
        {{9, 0},
         {5, 1},
         {5, 2},
         {5, 3},
         {5, 4},
         {5, 5},
         {5, 6},
         {5, 7},
         {5, 8},
         {5, 9},
         {5, 10},
         {5, 11},
         {4, 12},
         {7, 13}}, // more equal X in a fall than are sorted in place
    };
    for (const auto& points : cases) {
        TPointSeries series;
        ExpectStableOrder(points, Fill(series, points));
    }
}

TEST(SeriesOrder, RealCurveFallsThenRises) {
    // The default run, and one long enough to cross blocks and to hold equal X in its fall.
    const std::vector<Point> small = Curve(0.01f, 6.0f);
    ASSERT_EQ(small.size(), 1200u);
    const std::vector<Point> large = Curve(12.0f / 300000, 6.0f);
    ASSERT_GT(large.size(), 2 * TPointSeries::kBlockSize);
    for (const auto* points : {&small, &large}) {
        TPointSeries series;
        ExpectStableOrder(*points, Fill(series, *points));
        // A refill reuses the storage and starts from nothing.
        series.Clear();
        ExpectStableOrder(*points, Fill(series, *points));
    }
}

TEST(SeriesOrder, ManyRunsAcrossBlocksWithDuplicates) {
    // Several blocks of short runs with many equal x: exercises multi-pass merging and the
    // release of blocks shared by two runs.
    std::mt19937 random(7);
    std::vector<Point> points;
    const std::size_t n = 3 * TPointSeries::kBlockSize + 123;
    for (std::size_t i = 0; i < n; ++i)
        points.push_back({double(random() % 200), double(i)});
    TPointSeries series;
    ExpectStableOrder(points, Fill(series, points));
}

TEST(SeriesOrder, AddingAfterReadingMergesIntoTheOrderedPoints) {
    struct Case {
        std::vector<Point> before, after;
    };
    const Case cases[] = {
        {{{2, 0}, {4, 1}, {6, 2}}, {{5, 3}, {1, 4}, {4, 5}, {7, 6}}},
        // The read moves the point added last away from the end.
        {{{6, 0}, {2, 1}}, {{4, 2}}},
        {{{6, 0}, {2, 1}, {3, 2}}, {{4, 3}, {5, 4}}},
    };
    for (const Case& c : cases) {
        TPointSeries series;
        Fill(series, c.before);
        EXPECT_EQ(series.XValue(0), 2.0); // the smallest in every case
        Fill(series, c.after);
        std::vector<Point> points = c.before;
        points.insert(points.end(), c.after.begin(), c.after.end());
        ExpectStableOrder(points, series);
    }
}

TEST(SeriesData, CountsAndBoundsAreCurrentAfterEveryPoint) {
    // Long enough for several stretches and blocks of the fall and of the merge; reading
    // the bounds part-way must not disturb the fill either.
    const std::vector<Point> points = Curve(12.0f / 150000, 6.0f);
    TPointSeries series;
    series.Clear();
    const auto changes = series.ChangeCount();
    double xMin = INFINITY, xMax = -INFINITY, yMin = INFINITY, yMax = -INFINITY;
    for (std::size_t i = 0; i < points.size(); ++i) {
        series.AddXY(points[i].x, points[i].y, QString(), clGreen);
        ASSERT_EQ(series.Count(), i + 1);
        ASSERT_EQ(series.ChangeCount(), changes + i + 1);
        xMin = std::min(xMin, points[i].x);
        xMax = std::max(xMax, points[i].x);
        yMin = std::min(yMin, points[i].y);
        yMax = std::max(yMax, points[i].y);
        if (i % 997 == 0 || i + 1 == points.size()) {
            const auto bounds = series.Bounds();
            ASSERT_TRUE(bounds);
            ASSERT_EQ(bounds->xMin, xMin) << i;
            ASSERT_EQ(bounds->xMax, xMax) << i;
            ASSERT_EQ(bounds->yMin, yMin) << i;
            ASSERT_EQ(bounds->yMax, yMax) << i;
        }
    }
    ExpectStableOrder(points, series);
}

TEST(SeriesOrder, NoneKeepsInsertionOrder) {
    TPointSeries series;
    series.SetXValuesOrder(TChartListOrder::loNone);
    Fill(series, {{3, 0}, {1, 1}, {2, 2}});
    EXPECT_EQ(series.XValue(0), 3.0);
    EXPECT_EQ(series.XValue(1), 1.0);
}

TEST(SeriesData, ColoursAndLabelsTravelWithTheirPoints) {
    TPointSeries series;
    series.AddXY(3, 0, "c", clRed);
    series.AddXY(1, 1, "", clGreen);
    series.AddXY(2, 2, "", clGreen);
    series.AddXY(0, 3, "a", clBlack);
    const double ys[] = {3, 1, 2, 0};
    const TColor colours[] = {clBlack, clGreen, clGreen, clRed};
    const char* labels[] = {"a", "", "", "c"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(series.YValue(i), ys[i]);
        EXPECT_EQ(series.ValueColor(i), colours[i]);
        EXPECT_EQ(series.Label(i), QString(labels[i]));
    }
}

TEST(SeriesData, ClearEmptiesEverythingAndCountsAsAClear) {
    TPointSeries series;
    series.AddXY(1, 2, "label", clRed);
    series.AddXY(0, 5, "", clGreen);
    const auto clears = series.ClearCount();
    series.Clear();
    EXPECT_EQ(series.Count(), 0u);
    EXPECT_FALSE(series.Bounds());
    EXPECT_EQ(series.ClearCount(), clears + 1);
    EXPECT_THROW(series.XValue(0), Exception);
    series.AddXY(7, 8, "", clGreen);
    EXPECT_EQ(series.XValue(0), 7.0);
    EXPECT_EQ(series.ValueColor(0), clGreen);
    EXPECT_EQ(series.Label(0), QString());
}

TEST(SeriesData, BoundsIgnoreNonFinitePoints) {
    TPointSeries series;
    series.AddXY(NAN, 100, "", clGreen);
    series.AddXY(1, INFINITY, "", clGreen);
    EXPECT_FALSE(series.Bounds());
    series.AddXY(-2, 3, "", clGreen);
    series.AddXY(4, -1, "", clGreen);
    const auto bounds = series.Bounds();
    ASSERT_TRUE(bounds);
    EXPECT_EQ(bounds->xMin, -2);
    EXPECT_EQ(bounds->xMax, 4);
    EXPECT_EQ(bounds->yMin, -1);
    EXPECT_EQ(bounds->yMax, 3);
    EXPECT_EQ(series.Count(), 4u);
}

TEST(SeriesData, NotifiesOncePerFillUntilAcknowledged) {
    TPointSeries series;
    int notified = 0;
    series.SetChangeNotify([&] { ++notified; });
    series.Clear();
    for (int i = 0; i < 1000; ++i)
        series.AddXY(i, i, "", clGreen);
    EXPECT_EQ(notified, 1);
    series.AcknowledgeChange();
    series.AddXY(0, 0, "", clGreen);
    EXPECT_EQ(notified, 2);
}

TEST(SeriesSettings, AcceptsTheStoredValuesAndRejectsUnsupportedOnes) {
    ChartFakeContext context;
    TPointSeries series;
    struct Setting {
        const char* name;
        QJsonValue value;
    };
    const Setting accepted[] = {
        {"SeriesColor", "clRed"},
        {"Marks.Visible", false},
        {"Marks.ArrowLength", 8},
        {"Pointer.Visible", true},
        {"Pointer.Style", "psSmallDot"},
        {"Pointer.InflateMargins", true},
        {"XValues.Name", "X"},
        {"YValues.Name", "Y"},
        {"XValues.Order", "loAscending"},
        {"YValues.Order", "loNone"},
        {"XValues.Multiplier", 1},
        {"YValues.Multiplier", 1.0},
        {"XValues.DateTime", false},
        {"YValues.DateTime", "False"},
    };
    for (const Setting& s : accepted)
        EXPECT_TRUE(series.ReadProperty(s.name, s.value, context)) << s.name;
    EXPECT_EQ(series.SeriesColor(), clRed);
    EXPECT_EQ(series.XValuesOrder(), TChartListOrder::loAscending);

    const Setting rejected[] = {
        {"SeriesColor", "clPurple"},      {"SeriesColor", 1.5},
        {"Marks.Visible", true},          {"Pointer.Style", "psCircle"},
        {"Pointer.Visible", "yes"},       {"XValues.Order", "loDescending"},
        {"YValues.Order", "loAscending"}, {"XValues.Multiplier", 2},
        {"YValues.DateTime", true},       {"Marks.ArrowLength", "8"},
    };
    for (const Setting& s : rejected)
        EXPECT_THROW(series.ReadProperty(s.name, s.value, context), EReadError) << s.name;
    EXPECT_FALSE(series.ReadProperty("Pointer.Size", 4, context));
}
