#pragma once

#include "rtl/Colors.h"

#include <cstdint>
#include <string>

enum class TGridId { StringGrid1, StringGrid2 };

// What the calculation needs of the window: the cells of the two tables (UTF-8 texts) and the
// chart's point series.
class TCalculateTarget {
public:
    virtual ~TCalculateTarget() = default;

    // A cell that was never written reads as the empty text.
    virtual std::string ReadCell(TGridId grid, int col, int row) = 0;
    virtual void WriteCell(TGridId grid, int col, int row, const std::string& text) = 0;
    virtual void EmptySeries() = 0;
    virtual void AddPoint(double x, double y, const std::string& label, TColor colour) = 0;
};

// The most points one calculation may yield; a Step that would give more is refused.
constexpr std::uint64_t kMaxCurvePoints = 10'000'000;

// The calculate command: defaults blank cells, converts all nine values, refuses a sampling
// that would not end or would be absurdly large, then empties the series and refills it with
// the curve's points. Every failure leaves as an exception; what was done before it stays done.
void RunCalculateCommand(TCalculateTarget& target);
