#include "platform/TPointSeries.h"

#include "platform/TSettingValue.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr std::size_t kMask = TPointSeries::kBlockSize - 1;

} // namespace

TPointSeries::TPointSeries() = default;
TPointSeries::~TPointSeries() = default;

TPointSeries::Block TPointSeries::NewBlock() const {
    Block block;
    block.x = std::make_unique_for_overwrite<double[]>(kBlockSize);
    block.y = std::make_unique_for_overwrite<double[]>(kBlockSize);
    if (hasColours_)
        block.colours = std::make_unique_for_overwrite<TColor[]>(kBlockSize);
    if (hasLabels_)
        block.labels = std::make_unique_for_overwrite<std::uint32_t[]>(kBlockSize);
    return block;
}

void TPointSeries::Changed() {
    ++changeCount_;
    if (!notifyPending_ && notify_) {
        notifyPending_ = true;
        notify_();
    }
}

void TPointSeries::SetChangeNotify(std::function<void()> notify) {
    notify_ = std::move(notify);
    notifyPending_ = false;
}

void TPointSeries::Clear() {
    Blocks().swap(blocks_);
    std::vector<QString>().swap(labels_);
    count_ = 0;
    ordered_ = 0;
    hasColours_ = false;
    hasLabels_ = false;
    haveBounds_ = false;
    ++clearCount_;
    Changed();
}

void TPointSeries::AddXY(double x, double y, const QString& label, TColor colour) {
    if (count_ == 0) {
        uniformColour_ = colour;
    } else if (!hasColours_ && colour != uniformColour_) {
        // The first point of another colour: from now on every point carries its own.
        hasColours_ = true;
        for (Block& block : blocks_) {
            block.colours = std::make_unique_for_overwrite<TColor[]>(kBlockSize);
            std::fill_n(block.colours.get(), kBlockSize, uniformColour_);
        }
    }
    if (!hasLabels_ && !label.isEmpty()) {
        hasLabels_ = true;
        for (Block& block : blocks_)
            block.labels = std::make_unique<std::uint32_t[]>(kBlockSize);
    }

    const std::size_t offset = count_ & kMask;
    if (offset == 0)
        blocks_.push_back(NewBlock());
    Block& block = blocks_.back();
    // Points that arrive in order keep the series ordered without any later work.
    if (ordered_ == count_ &&
        (xOrder_ == TChartListOrder::loNone || count_ == 0 || !(x < XValueUnordered(count_ - 1))))
        ++ordered_;
    block.x[offset] = x;
    block.y[offset] = y;
    if (hasColours_)
        block.colours[offset] = colour;
    if (hasLabels_) {
        if (label.isEmpty()) {
            block.labels[offset] = 0;
        } else {
            labels_.push_back(label);
            block.labels[offset] = std::uint32_t(labels_.size());
        }
    }
    ++count_;

    if (std::isfinite(x) && std::isfinite(y)) {
        if (!haveBounds_) {
            bounds_ = {x, x, y, y};
            haveBounds_ = true;
        } else {
            bounds_.xMin = std::min(bounds_.xMin, x);
            bounds_.xMax = std::max(bounds_.xMax, x);
            bounds_.yMin = std::min(bounds_.yMin, y);
            bounds_.yMax = std::max(bounds_.yMax, y);
        }
    }
    Changed();
}

double TPointSeries::XValueUnordered(std::size_t index) const {
    return blocks_[index >> kBlockShift].x[index & kMask];
}

void TPointSeries::CheckIndex(std::size_t index) const {
    if (index >= count_)
        throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

double TPointSeries::XValue(std::size_t index) const {
    CheckIndex(index);
    EnsureOrdered();
    return blocks_[index >> kBlockShift].x[index & kMask];
}

double TPointSeries::YValue(std::size_t index) const {
    CheckIndex(index);
    EnsureOrdered();
    return blocks_[index >> kBlockShift].y[index & kMask];
}

TColor TPointSeries::ValueColor(std::size_t index) const {
    CheckIndex(index);
    if (!hasColours_)
        return uniformColour_;
    EnsureOrdered();
    return blocks_[index >> kBlockShift].colours[index & kMask];
}

QString TPointSeries::Label(std::size_t index) const {
    CheckIndex(index);
    if (!hasLabels_)
        return {};
    EnsureOrdered();
    const std::uint32_t entry = blocks_[index >> kBlockShift].labels[index & kMask];
    return entry == 0 ? QString() : labels_[entry - 1];
}

std::optional<TPointSeries::TBounds> TPointSeries::Bounds() const {
    if (!haveBounds_)
        return std::nullopt;
    return bounds_;
}

void TPointSeries::ForEachSpan(const std::function<void(const TSpan&)>& visit) const {
    EnsureOrdered();
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        const Block& block = blocks_[b];
        const std::size_t count = std::min(kBlockSize, count_ - b * kBlockSize);
        visit({block.x.get(), block.y.get(), block.colours.get(), uniformColour_, count});
    }
}

void TPointSeries::SetSeriesColor(TColor colour) {
    seriesColor_ = colour;
}

void TPointSeries::SetXValuesOrder(TChartListOrder order) {
    if (order == xOrder_)
        return;
    // Points added so far were kept in insertion order; they get sorted on the next read.
    if (order == TChartListOrder::loAscending)
        ordered_ = count_ == 0 ? 0 : 1;
    xOrder_ = order;
    if (order == TChartListOrder::loNone)
        ordered_ = count_;
    Changed();
}

// ---- Ordering ------------------------------------------------------------------------------
//
// A natural merge sort over the blocks. Each pass cuts the points into maximal runs, either
// non-decreasing or strictly decreasing in X (a strictly decreasing run, read backwards, is
// its own stable order), and merges neighbouring runs pairwise into fresh blocks, the left run
// winning ties. An input block is released as soon as all of its points have been taken, so a
// pass holds the data about once, plus a few blocks. The curve the calculation adds is one
// falling and one rising run: a single pass.

void TPointSeries::EnsureOrdered() const {
    if (ordered_ >= count_)
        return;
    while (MergePass()) {
    }
    ordered_ = count_;
}

std::size_t TPointSeries::RunEnd(std::size_t begin, bool& descending) const {
    std::size_t i = begin + 1;
    // The leading stretch known to be in order needs no scan.
    if (begin == 0 && ordered_ > 1)
        i = ordered_;
    descending = false;
    if (i >= count_)
        return count_;
    double previous = XValueUnordered(i - 1);
    descending = begin + 1 == i && XValueUnordered(i) < previous;
    while (i < count_) {
        const double* x = blocks_[i >> kBlockShift].x.get();
        const std::size_t blockEnd = std::min(count_, ((i >> kBlockShift) + 1) << kBlockShift);
        for (; i < blockEnd; ++i) {
            const double current = x[i & kMask];
            if (descending ? !(current < previous) : current < previous)
                return i;
            previous = current;
        }
    }
    return count_;
}

bool TPointSeries::MergePass() const {
    Blocks out;
    out.reserve(blocks_.size());
    std::vector<std::uint32_t> consumed(blocks_.size(), 0);
    std::size_t outCount = 0;
    std::size_t begin = 0;
    std::size_t runs = 0;
    while (begin < count_) {
        bool aDescending = false;
        const std::size_t aEnd = RunEnd(begin, aDescending);
        if (begin == 0 && aEnd == count_ && !aDescending)
            return false; // already one ordered run
        bool bDescending = false;
        const std::size_t bEnd = aEnd < count_ ? RunEnd(aEnd, bDescending) : aEnd;
        if (hasColours_ && hasLabels_)
            MergeRuns<true, true>(blocks_, consumed, begin, aEnd, aDescending, aEnd, bEnd,
                                  bDescending, out, outCount);
        else if (hasColours_)
            MergeRuns<true, false>(blocks_, consumed, begin, aEnd, aDescending, aEnd, bEnd,
                                   bDescending, out, outCount);
        else if (hasLabels_)
            MergeRuns<false, true>(blocks_, consumed, begin, aEnd, aDescending, aEnd, bEnd,
                                   bDescending, out, outCount);
        else
            MergeRuns<false, false>(blocks_, consumed, begin, aEnd, aDescending, aEnd, bEnd,
                                    bDescending, out, outCount);
        if (begin == 0)
            ordered_ = bEnd;
        begin = bEnd;
        ++runs;
    }
    blocks_ = std::move(out);
    return runs > 1;
}

namespace {

// A read position in one run. A falling run is read from its end towards its start.
struct RunCursor {
    std::size_t next; // index of the next point to take
    std::size_t left; // points of the run not yet taken
    bool descending;

    // Points available in the current block in reading order.
    std::size_t Available() const {
        const std::size_t offset = next & kMask;
        return std::min(left, descending ? offset + 1 : TPointSeries::kBlockSize - offset);
    }
    std::ptrdiff_t Stride() const { return descending ? -1 : 1; }
};

RunCursor MakeCursor(std::size_t begin, std::size_t end, bool descending) {
    return {descending ? end - 1 : begin, end - begin, descending};
}

} // namespace

template <bool kColours, bool kLabels>
void TPointSeries::MergeRuns(Blocks& in, std::vector<std::uint32_t>& consumed, std::size_t aBegin,
                             std::size_t aEnd, bool aDescending, std::size_t bBegin,
                             std::size_t bEnd, bool bDescending, Blocks& out,
                             std::size_t& outCount) const {
    RunCursor a = MakeCursor(aBegin, aEnd, aDescending);
    RunCursor b = MakeCursor(bBegin, bEnd, bDescending);

    // Books points taken from a block and releases the block once all of its points are gone.
    auto take = [&](RunCursor& cursor, std::size_t taken) {
        if (taken == 0)
            return;
        const std::size_t blockIndex = cursor.next >> kBlockShift;
        consumed[blockIndex] += std::uint32_t(taken);
        const std::size_t held = std::min(kBlockSize, count_ - (blockIndex << kBlockShift));
        if (consumed[blockIndex] == held)
            in[blockIndex] = Block();
        cursor.left -= taken;
        if (cursor.descending)
            cursor.next -= taken; // wraps past 0 only when the run is exhausted
        else
            cursor.next += taken;
    };

    while (a.left != 0 || b.left != 0) {
        const std::size_t outOffset = outCount & kMask;
        if (outOffset == 0)
            out.push_back(NewBlock());
        Block& target = out.back();
        const std::size_t room = kBlockSize - outOffset;
        double* ox = target.x.get() + outOffset;
        double* oy = target.y.get() + outOffset;
        TColor* oc = kColours ? target.colours.get() + outOffset : nullptr;
        std::uint32_t* ol = kLabels ? target.labels.get() + outOffset : nullptr;

        std::size_t takenA = 0;
        std::size_t takenB = 0;
        std::size_t written = 0;
        if (a.left != 0 && b.left != 0) {
            const Block& blockA = in[a.next >> kBlockShift];
            const Block& blockB = in[b.next >> kBlockShift];
            const std::size_t offA = a.next & kMask;
            const std::size_t offB = b.next & kMask;
            const std::size_t availA = a.Available();
            const std::size_t availB = b.Available();
            const std::ptrdiff_t strideA = a.Stride();
            const std::ptrdiff_t strideB = b.Stride();
            const double* ax = blockA.x.get() + offA;
            const double* ay = blockA.y.get() + offA;
            const double* bx = blockB.x.get() + offB;
            const double* by = blockB.y.get() + offB;
            while (takenA < availA && takenB < availB && written < room) {
                const double xa = ax[strideA * std::ptrdiff_t(takenA)];
                const double xb = bx[strideB * std::ptrdiff_t(takenB)];
                if (xb < xa) {
                    const std::ptrdiff_t at = strideB * std::ptrdiff_t(takenB);
                    ox[written] = xb;
                    oy[written] = by[at];
                    if constexpr (kColours)
                        oc[written] = blockB.colours[offB + at];
                    if constexpr (kLabels)
                        ol[written] = blockB.labels[offB + at];
                    ++takenB;
                } else {
                    const std::ptrdiff_t at = strideA * std::ptrdiff_t(takenA);
                    ox[written] = xa;
                    oy[written] = ay[at];
                    if constexpr (kColours)
                        oc[written] = blockA.colours[offA + at];
                    if constexpr (kLabels)
                        ol[written] = blockA.labels[offA + at];
                    ++takenA;
                }
                ++written;
            }
        } else {
            RunCursor& rest = a.left != 0 ? a : b;
            const Block& block = in[rest.next >> kBlockShift];
            const std::size_t offset = rest.next & kMask;
            const std::size_t n = std::min(rest.Available(), room);
            const std::ptrdiff_t stride = rest.Stride();
            for (std::size_t k = 0; k < n; ++k) {
                const std::ptrdiff_t at = std::ptrdiff_t(offset) + stride * std::ptrdiff_t(k);
                ox[k] = block.x[at];
                oy[k] = block.y[at];
                if constexpr (kColours)
                    oc[k] = block.colours[at];
                if constexpr (kLabels)
                    ol[k] = block.labels[at];
            }
            written = n;
            (a.left != 0 ? takenA : takenB) = n;
        }
        take(a, takenA);
        take(b, takenB);
        outCount += written;
    }
}

bool TPointSeries::ReadProperty(const QString& name, const QJsonValue& value,
                                const TReadContext& context) {
    if (name == QLatin1String("SeriesColor")) {
        SetSeriesColor(TSettingValue::Color(value));
    } else if (name == QLatin1String("Marks.Visible")) {
        // Value labels at the points are not drawn by this chart.
        if (TSettingValue::Bool(value))
            TSettingValue::Invalid();
    } else if (name == QLatin1String("Marks.ArrowLength")) {
        if (TSettingValue::Int(value) < 0)
            TSettingValue::Invalid();
    } else if (name == QLatin1String("Pointer.Visible")) {
        pointerVisible_ = TSettingValue::Bool(value);
    } else if (name == QLatin1String("Pointer.Style")) {
        TSettingValue::OneOf(value, {"psSmallDot"});
    } else if (name == QLatin1String("Pointer.InflateMargins")) {
        inflateMargins_ = TSettingValue::Bool(value);
    } else if (name == QLatin1String("XValues.Name")) {
        xName_ = TSettingValue::String(value);
    } else if (name == QLatin1String("YValues.Name")) {
        yName_ = TSettingValue::String(value);
    } else if (name == QLatin1String("XValues.Order")) {
        const QString order = TSettingValue::OneOf(value, {"loNone", "loAscending"});
        SetXValuesOrder(order == QLatin1String("loNone") ? TChartListOrder::loNone
                                                         : TChartListOrder::loAscending);
    } else if (name == QLatin1String("YValues.Order")) {
        TSettingValue::OneOf(value, {"loNone"});
    } else if (name == QLatin1String("XValues.Multiplier") ||
               name == QLatin1String("YValues.Multiplier")) {
        if (!value.isDouble() || value.toDouble() != 1.0)
            TSettingValue::Invalid();
    } else if (name == QLatin1String("XValues.DateTime") ||
               name == QLatin1String("YValues.DateTime")) {
        if (TSettingValue::Bool(value))
            TSettingValue::Invalid();
    } else {
        return TComponent::ReadProperty(name, value, context);
    }
    return true;
}
