#pragma once

#include "platform/TComponent.h"
#include "rtl/Colors.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

// The per-point path of a fill must not cost a call.
#if defined(__GNUC__)
#define DPARTITION_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define DPARTITION_ALWAYS_INLINE inline
#endif

// How a series keeps its points: in the order they were added, or by ascending X with points
// of equal X in the order they were added.
enum class TChartListOrder { loNone, loAscending };

// The data of one point series of a chart. Points are stored column-wise in fixed-size blocks:
// x and y always, a colour per point only once two colours differ, a label index only once a
// label is not empty. The order by X costs little for the way the calculation adds points, a
// falling run followed by a rising one: the falling run is stored backwards, which puts it in
// order as it arrives, and the rising run is merged with it point by point as it arrives, the
// blocks of the first being reused for the result. A point that continues the current run is
// written in place by AddXY itself, where the memory work overlaps with the caller computing
// the next point; the books (counts, bounds) are settled a stretch at a time. Any other arrival
// order is appended as it comes and put in order by the first read, by a natural merge of its runs.
// Blocks are reused rather than returned between fills, so a refill costs no fresh memory.
class TPointSeries : public TComponent {
public:
    TPointSeries();
    ~TPointSeries() override;

    // Points kept in one block; the unit of allocation and of release while merging.
    static constexpr std::size_t kBlockShift = 16;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockShift;

    void Clear();
    void AddXY(double x, double y, const QString& label, TColor colour) {
        if (!(inPlace_ && colour == uniformColour_ && label.isEmpty() && AddInPlace(x, y)))
            AddGeneral(x, y, label, colour);
    }

    std::size_t Count() const { return count_ + Unsettled(); }
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
    std::uint64_t ChangeCount() const { return changeCount_ + Unsettled(); }
    std::uint64_t ClearCount() const { return clearCount_; }
    void SetChangeNotify(std::function<void()> notify);
    void AcknowledgeChange() {
        notifyPending_ = !notify_;
        inPlace_ = inPlace_ && notifyPending_; // the next point notifies
    }

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
        std::unique_ptr<double[]> x; // and y, kBlockSize further on
        double* y = nullptr;
        std::unique_ptr<TColor[]> colours;
        std::unique_ptr<std::uint32_t[]> labels; // 0: none, else index + 1 into labels_
    };
    using Blocks = std::vector<Block>;

    // Ascending: every point sits in order in blocks_. Descending: the latest points fall and
    // are kept in order backwards in falling_, after the earlier points in blocks_. Merging:
    // blocks_ was empty when the fall ended; the rising points are merged with falling_ into
    // blocks_ as they arrive. Raw: points are appended as they come, ordered when read.
    enum class Mode { Ascending, Descending, Merging, Raw };

    // The most points written in place between two settlements: their bounds are then
    // taken while they are still in the cache.
    static constexpr std::size_t kStretch = 2048;

    void Changed() {
        ++changeCount_;
        if (!notifyPending_)
            Notify();
    }
    void Notify();

    // The common steps of Store on the cursors alone; false for a point that needs more (the
    // end of a stretch or block, a change of direction, a tie), which Store then takes, after
    // any falling points that go before it were moved. Each cursor is read and written once
    // a point: the chains of updates through memory are what limits the rate. A y value sits
    // kBlockSize after its x.
    DPARTITION_ALWAYS_INLINE bool AddInPlace(double x, double y) {
        if (mode_ == Mode::Descending) {
            double* const px = preX_;
            if (px == preEnd_ || !(x < *px))
                return false;
            px[-1] = x;
            px[kBlockSize - 1] = y;
            preX_ = px - 1;
            return true;
        }
        // Ascending, or Merging; the other modes have no room.
        double* ox = outX_;
        if (ox == outEnd_ || x < ox[-1])
            return false;
        // Falling points not above x came earlier and go first.
        const double* fx = fallX_;
        bool added = true;
        while (fx != fallEnd_ && !(x < *fx)) {
            ox[0] = fx[0];
            ox[kBlockSize] = fx[kBlockSize];
            ++ox;
            ++fx;
            if (ox == outEnd_) {
                added = false;
                break;
            }
        }
        if (added && fx == fallEnd_ && !fallEndIsLast_)
            added = false;
        if (added) {
            ox[0] = x;
            ox[kBlockSize] = y;
            ++ox;
        }
        outX_ = ox;
        fallX_ = fx;
        return added;
    }
    // Points added in place since the last settlement.
    std::size_t Unsettled() const {
        return std::size_t((outX_ - outBaseX_) + (preBaseX_ - preX_) - (fallX_ - fallBaseX_));
    }
    void Settle() const;
    static bool BatchBounds(const double* px, const double* py, std::size_t n, double& xMin,
                            double& xMax, double& yMin, double& yMax);
    void AddBatchBounds(const double* px, const double* py, std::size_t n) const;
    void Store(double x, double y, TColor colour, std::uint32_t label) const;
    void AddBounds(double x, double y) const;
    void AddGeneral(double x, double y, const QString& label, TColor colour);
    void SyncCursors() const;

    Block TakeBlock() const;
    void ReleaseBlock(Block& block) const;
    void TrimPool() const;
    void MaterializeColours() const;
    void MaterializeLabels() const;

    void Push(double x, double y, TColor colour, std::uint32_t label) const;
    void PushFrom(const Block& block, std::size_t offset) const;
    void Prepend(double x, double y, TColor colour, std::uint32_t label) const;
    void StartFalling(double x, double y, TColor colour, std::uint32_t label) const;
    void AddTie(double x, double y, TColor colour, std::uint32_t label) const;
    void MergeFallingUpTo(double x) const;
    void FlushFalling(bool inOrder) const;
    void ReleaseMergedFalling() const;
    Block& FallingAt(std::size_t k, std::size_t& offset) const;

    void EnsureOrdered() const;
    bool MergePass() const;
    template <bool kColours, bool kLabels>
    void MergeRuns(Blocks& in, std::vector<std::uint32_t>& consumed, std::size_t aBegin,
                   std::size_t aEnd, bool aDescending, std::size_t bBegin, std::size_t bEnd,
                   bool bDescending, Blocks& out, std::size_t& outCount) const;
    std::size_t RunEnd(std::size_t begin, bool& descending) const;
    double XValueStored(std::size_t index) const;
    void CheckIndex(std::size_t index) const;

    // Readers put the points in order, so the storage is mutable.
    mutable Mode mode_ = Mode::Ascending;
    mutable Blocks blocks_;
    mutable std::size_t stored_ = 0;  // points in blocks_
    mutable std::size_t ordered_ = 0; // leading points of blocks_ known to be in order
    // The falling run, ascending from slot fallingFront_ of its first block.
    mutable Blocks falling_;
    mutable std::size_t fallingFront_ = 0;
    mutable std::size_t fallingCount_ = 0;
    mutable std::size_t fallingNext_ = 0; // first point not yet merged into blocks_
    mutable std::size_t fallingTies_ = 0; // leading points equal to the smallest
    mutable Blocks pool_;
    // Where AddInPlace writes and reads, each with the position of the last settlement: the
    // free slots after the last stored point, the free slots before the falling run's first
    // point (written downwards), and the falling points of the current block not yet merged.
    // Set again by SyncCursors after every change made elsewhere.
    mutable double* outX_ = nullptr;
    mutable const double* outEnd_ = nullptr;
    mutable const double* outBaseX_ = nullptr;
    mutable double* preX_ = nullptr;
    mutable const double* preEnd_ = nullptr;
    mutable const double* preBaseX_ = nullptr;
    mutable const double* fallX_ = nullptr;
    mutable const double* fallEnd_ = nullptr;
    mutable const double* fallBaseX_ = nullptr;
    mutable bool fallEndIsLast_ = false; // fallEnd_ is the end of the falling run
    // The next point of uniformColour_ without label may go in place: every point so far is
    // of that colour without label, and no notification is due.
    mutable bool inPlace_ = false;
    mutable std::size_t count_ = 0;
    // What Store compares the next point with: the X of the point added last, or after a
    // read the largest. Not kept up by AddInPlace; Settle takes it from the stored points.
    mutable double lastX_ = 0;
    mutable bool hasColours_ = false;
    mutable bool hasLabels_ = false;
    TColor uniformColour_ = clRed;
    std::vector<QString> labels_;

    // Empty (xMin above xMax) until a finite point arrives.
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    mutable TBounds bounds_{kInf, -kInf, kInf, -kInf};

    mutable std::uint64_t changeCount_ = 0;
    std::uint64_t clearCount_ = 0;
    bool notifyPending_ = true; // nothing to notify, or notified since the last paint
    std::function<void()> notify_;

    TColor seriesColor_ = clRed;
    bool pointerVisible_ = true;
    bool inflateMargins_ = true;
    QString xName_ = QStringLiteral("X");
    QString yName_ = QStringLiteral("Y");
    TChartListOrder xOrder_ = TChartListOrder::loAscending;
};
