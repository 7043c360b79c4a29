#pragma once

#include "platform/TComponent.h"
#include "rtl/Colors.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// How a series keeps its points: in the order they were added, or by ascending X with points
// of equal X in the order they were added.
enum class TChartListOrder { loNone, loAscending };

// The data of one point series of a chart. Points are stored column-wise in fixed-size blocks:
// x and y always, a colour per point only once two colours differ, a label index only once a
// label is not empty. Appending is O(1); the order by X is established lazily, the first time
// something reads the points, by a natural merge of the runs the points arrived in. Blocks are
// released while they are merged, so the ordering needs no second copy of the data.
class TPointSeries : public TComponent {
public:
    TPointSeries();
    ~TPointSeries() override;

    // Points kept in one block; the unit of allocation and of release while merging.
    static constexpr std::size_t kBlockShift = 16;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockShift;

    void Clear();
    void AddXY(double x, double y, const QString& label, TColor colour);

    std::size_t Count() const { return count_; }
    // Indices count from 0 in the series' order; an index out of range throws Exception.
    double XValue(std::size_t index) const;
    double YValue(std::size_t index) const;
    TColor ValueColor(std::size_t index) const;
    QString Label(std::size_t index) const;

    // The smallest box holding every point whose X and Y are both finite.
    struct TBounds {
        double xMin, xMax, yMin, yMax;
    };
    std::optional<TBounds> Bounds() const;

    // One contiguous stretch of points in the series' order. colours is null when every point
    // has the colour uniformColour.
    struct TSpan {
        const double* x;
        const double* y;
        const TColor* colours;
        TColor uniformColour;
        std::size_t count;
    };
    // Visits every point in order, a block at a time; the fast path for drawing.
    void ForEachSpan(const std::function<void(const TSpan&)>& visit) const;

    // Every Clear and AddXY increments ChangeCount; ClearCount counts the Clears alone. The
    // notification runs on the first change after AcknowledgeChange, not once per point, so
    // the owner can schedule one repaint for a whole fill.
    std::uint64_t ChangeCount() const { return changeCount_; }
    std::uint64_t ClearCount() const { return clearCount_; }
    void SetChangeNotify(std::function<void()> notify);
    void AcknowledgeChange() { notifyPending_ = false; }

    // Stored settings.
    TColor SeriesColor() const { return seriesColor_; }
    void SetSeriesColor(TColor colour);
    bool PointerVisible() const { return pointerVisible_; }
    bool InflateMargins() const { return inflateMargins_; }
    const QString& XValuesName() const { return xName_; }
    const QString& YValuesName() const { return yName_; }
    TChartListOrder XValuesOrder() const { return xOrder_; }
    void SetXValuesOrder(TChartListOrder order);

    bool ReadProperty(const QString& name, const QJsonValue& value,
                      const TReadContext& context) override;

private:
    struct Block {
        std::unique_ptr<double[]> x;
        std::unique_ptr<double[]> y;
        std::unique_ptr<TColor[]> colours;
        std::unique_ptr<std::uint32_t[]> labels; // 0: none, else index + 1 into labels_
    };
    using Blocks = std::vector<Block>;

    Block NewBlock() const;
    void Changed();
    void EnsureOrdered() const;
    bool MergePass() const;
    template <bool kColours, bool kLabels>
    void MergeRuns(Blocks& in, std::vector<std::uint32_t>& consumed, std::size_t aBegin,
                   std::size_t aEnd, bool aDescending, std::size_t bBegin, std::size_t bEnd,
                   bool bDescending, Blocks& out, std::size_t& outCount) const;
    std::size_t RunEnd(std::size_t begin, bool& descending) const;
    double XValueUnordered(std::size_t index) const;
    void CheckIndex(std::size_t index) const;

    // The order is established lazily by readers, so the storage is mutable.
    mutable Blocks blocks_;
    mutable std::size_t ordered_ = 0; // leading points known to be in order
    std::size_t count_ = 0;
    bool hasColours_ = false;
    bool hasLabels_ = false;
    TColor uniformColour_ = clRed;
    std::vector<QString> labels_;

    bool haveBounds_ = false;
    TBounds bounds_{0, 0, 0, 0};

    std::uint64_t changeCount_ = 0;
    std::uint64_t clearCount_ = 0;
    bool notifyPending_ = false;
    std::function<void()> notify_;

    TColor seriesColor_ = clRed;
    bool pointerVisible_ = true;
    bool inflateMargins_ = true;
    QString xName_ = QStringLiteral("X");
    QString yName_ = QStringLiteral("Y");
    TChartListOrder xOrder_ = TChartListOrder::loAscending;
};
