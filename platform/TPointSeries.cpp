#include "platform/TPointSeries.h"

#include "platform/TSettingValue.h"
#include "rtl/Exceptions.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr std::size_t kMask = TPointSeries::kBlockSize - 1;

} // namespace

TPointSeries::TPointSeries() = default;
TPointSeries::~TPointSeries() = default;

// ---- Blocks --------------------------------------------------------------------------------

TPointSeries::Block TPointSeries::TakeBlock() const {
    Block block;
    if (!pool_.empty()) {
        block = std::move(pool_.back());
        pool_.pop_back();
    } else {
        block.x = std::make_unique_for_overwrite<double[]>(2 * kBlockSize);
        block.y = block.x.get() + kBlockSize;
    }
    if (hasColours_ && !block.colours)
        block.colours = std::make_unique_for_overwrite<TColor[]>(kBlockSize);
    else if (!hasColours_)
        block.colours.reset();
    if (hasLabels_ && !block.labels)
        block.labels = std::make_unique_for_overwrite<std::uint32_t[]>(kBlockSize);
    else if (!hasLabels_)
        block.labels.reset();
    return block;
}

void TPointSeries::ReleaseBlock(Block& block) const {
    if (block.x)
        pool_.push_back(std::move(block));
    block = Block();
}

void TPointSeries::TrimPool() const {
    // A few spare blocks smooth the next fill; the rest goes back.
    constexpr std::size_t kSpare = 2;
    if (pool_.size() > kSpare)
        pool_.resize(kSpare);
}

void TPointSeries::SyncCursors() const {
    outX_ = nullptr;
    outEnd_ = nullptr;
    if ((mode_ == Mode::Ascending || mode_ == Mode::Merging) && (stored_ & kMask) != 0) {
        const std::size_t offset = stored_ & kMask;
        outX_ = blocks_.back().x.get() + offset;
        outEnd_ = outX_ + std::min(kBlockSize - offset, kStretch);
    }
    preX_ = nullptr;
    preEnd_ = nullptr;
    if (mode_ == Mode::Descending && !falling_.empty()) {
        preX_ = falling_.front().x.get() + fallingFront_;
        preEnd_ = preX_ - std::min(fallingFront_, kStretch);
    }
    fallX_ = fallEnd_ = nullptr;
    fallEndIsLast_ = true;
    if (mode_ == Mode::Merging && fallingNext_ < fallingCount_) {
        const std::size_t slot = fallingFront_ + fallingNext_;
        const std::size_t offset = slot & kMask;
        const Block& block = falling_[slot >> kBlockShift];
        const std::size_t n = std::min(kBlockSize - offset, fallingCount_ - fallingNext_);
        fallX_ = block.x.get() + offset;
        fallEnd_ = fallX_ + n;
        fallEndIsLast_ = fallingNext_ + n == fallingCount_;
    }
    outBaseX_ = outX_;
    preBaseX_ = preX_;
    fallBaseX_ = fallX_;
}

void TPointSeries::Settle() const {
    const std::size_t rose = std::size_t(outX_ - outBaseX_);
    const std::size_t fell = std::size_t(preBaseX_ - preX_);
    const std::size_t merged = std::size_t(fallX_ - fallBaseX_);
    if (rose == 0 && fell == 0)
        return;
    // Merged falling points were counted in the bounds when they fell; taking them again is
    // harmless and keeps the stretch in one piece.
    if (rose != 0)
        AddBatchBounds(outBaseX_, outBaseX_ + kBlockSize, rose);
    if (fell != 0)
        AddBatchBounds(preX_, preX_ + kBlockSize, fell);
    stored_ += rose;
    ordered_ += rose;
    fallingFront_ -= fell;
    fallingCount_ += fell;
    if (fell != 0)
        fallingTies_ = 1;
    // In a merge that stopped half-way, the last point out is a falling one not above the
    // point being added, which Store compares as it would the previous point.
    lastX_ = fell != 0 ? *preX_ : outX_[-1];
    fallingNext_ += merged;
    count_ += rose + fell - merged;
    changeCount_ += rose + fell - merged;
    outBaseX_ = outX_;
    preBaseX_ = preX_;
    fallBaseX_ = fallX_;
}

void TPointSeries::SetChangeNotify(std::function<void()> notify) {
    notify_ = std::move(notify);
    notifyPending_ = !notify_;
    inPlace_ = inPlace_ && notifyPending_;
}

void TPointSeries::Notify() {
    notifyPending_ = true;
    if (notify_)
        notify_();
}

void TPointSeries::Clear() {
    Settle(); // for ChangeCount
    // The blocks wait in the pool for the refill that usually follows.
    for (Block& block : blocks_)
        ReleaseBlock(block);
    for (Block& block : falling_)
        ReleaseBlock(block);
    blocks_.clear();
    falling_.clear();
    std::vector<QString>().swap(labels_);
    mode_ = Mode::Ascending;
    stored_ = ordered_ = 0;
    fallingFront_ = fallingCount_ = fallingNext_ = fallingTies_ = 0;
    count_ = 0;
    hasColours_ = false;
    hasLabels_ = false;
    bounds_ = {kInf, -kInf, kInf, -kInf};
    inPlace_ = false;
    SyncCursors();
    ++clearCount_;
    Changed();
}

void TPointSeries::MaterializeColours() const {
    // The first point of another colour: from now on every point carries its own.
    hasColours_ = true;
    inPlace_ = false;
    for (Blocks* list : {&blocks_, &falling_})
        for (Block& block : *list)
            if (block.x) {
                block.colours = std::make_unique_for_overwrite<TColor[]>(kBlockSize);
                std::fill_n(block.colours.get(), kBlockSize, uniformColour_);
            }
}

void TPointSeries::MaterializeLabels() const {
    hasLabels_ = true;
    inPlace_ = false;
    for (Blocks* list : {&blocks_, &falling_})
        for (Block& block : *list)
            if (block.x)
                block.labels = std::make_unique<std::uint32_t[]>(kBlockSize);
}

// ---- Adding --------------------------------------------------------------------------------

void TPointSeries::Push(double x, double y, TColor colour, std::uint32_t label) const {
    const std::size_t offset = stored_ & kMask;
    if (offset == 0)
        blocks_.push_back(TakeBlock());
    Block& block = blocks_.back();
    block.x[offset] = x;
    block.y[offset] = y;
    if (hasColours_)
        block.colours[offset] = colour;
    if (hasLabels_)
        block.labels[offset] = label;
    ++stored_;
}

void TPointSeries::PushFrom(const Block& from, std::size_t at) const {
    Push(from.x[at], from.y[at], hasColours_ ? from.colours[at] : uniformColour_,
         hasLabels_ ? from.labels[at] : 0);
}

TPointSeries::Block& TPointSeries::FallingAt(std::size_t k, std::size_t& offset) const {
    const std::size_t slot = fallingFront_ + k;
    offset = slot & kMask;
    return falling_[slot >> kBlockShift];
}

void TPointSeries::Prepend(double x, double y, TColor colour, std::uint32_t label) const {
    if (fallingFront_ == 0) {
        falling_.insert(falling_.begin(), TakeBlock());
        fallingFront_ = kBlockSize;
    }
    --fallingFront_;
    Block& block = falling_.front();
    block.x[fallingFront_] = x;
    block.y[fallingFront_] = y;
    if (hasColours_)
        block.colours[fallingFront_] = colour;
    if (hasLabels_)
        block.labels[fallingFront_] = label;
    ++fallingCount_;
}

void TPointSeries::StartFalling(double x, double y, TColor colour, std::uint32_t label) const {
    // The previous point and this one begin the falling run; the previous point is the last
    // one stored, and the points before it stay where they are.
    const std::size_t at = (stored_ - 1) & kMask;
    const Block& last = blocks_.back();
    Prepend(last.x[at], last.y[at], hasColours_ ? last.colours[at] : uniformColour_,
            hasLabels_ ? last.labels[at] : 0);
    --stored_;
    --ordered_;
    if ((stored_ & kMask) == 0) {
        ReleaseBlock(blocks_.back());
        blocks_.pop_back();
    }
    Prepend(x, y, colour, label);
    fallingTies_ = 1;
    mode_ = Mode::Descending;
}

void TPointSeries::AddTie(double x, double y, TColor colour, std::uint32_t label) const {
    // Points of equal X keep the order they came in: the new one goes behind the others of
    // its value, which are the first fallingTies_ points of the run.
    Prepend(x, y, colour, label);
    for (std::size_t k = 0; k < fallingTies_; ++k) {
        std::size_t to = 0;
        std::size_t from = 0;
        Block& target = FallingAt(k, to);
        Block& source = FallingAt(k + 1, from);
        std::swap(target.x[to], source.x[from]);
        std::swap(target.y[to], source.y[from]);
        if (hasColours_)
            std::swap(target.colours[to], source.colours[from]);
        if (hasLabels_)
            std::swap(target.labels[to], source.labels[from]);
    }
    ++fallingTies_;
}

void TPointSeries::MergeFallingUpTo(double x) const {
    ReleaseMergedFalling();
    // Falling points not above x came earlier than x and go first.
    while (fallingNext_ < fallingCount_) {
        std::size_t offset = 0;
        Block& block = FallingAt(fallingNext_, offset);
        if (x < block.x[offset])
            return;
        PushFrom(block, offset);
        ++ordered_;
        ++fallingNext_;
        if (offset == kMask)
            ReleaseBlock(block);
    }
}

void TPointSeries::ReleaseMergedFalling() const {
    // The inline path leaves the falling block it finished for this one to release.
    const std::size_t slot = fallingFront_ + fallingNext_;
    if (fallingNext_ != 0 && (slot & kMask) == 0)
        ReleaseBlock(falling_[(slot >> kBlockShift) - 1]);
}

void TPointSeries::FlushFalling(bool inOrder) const {
    ReleaseMergedFalling();
    while (fallingNext_ < fallingCount_) {
        std::size_t offset = 0;
        Block& block = FallingAt(fallingNext_, offset);
        PushFrom(block, offset);
        ++fallingNext_;
        if (offset == kMask)
            ReleaseBlock(block);
    }
    if (inOrder)
        ordered_ = stored_;
    for (Block& block : falling_)
        ReleaseBlock(block);
    falling_.clear();
    fallingFront_ = fallingCount_ = fallingNext_ = fallingTies_ = 0;
}

void TPointSeries::AddGeneral(double x, double y, const QString& label, TColor colour) {
    Settle();
    if (count_ == 0)
        uniformColour_ = colour;
    else if (!hasColours_ && colour != uniformColour_)
        MaterializeColours();
    std::uint32_t labelIndex = 0;
    if (!label.isEmpty()) {
        if (!hasLabels_)
            MaterializeLabels();
        labels_.push_back(label);
        labelIndex = std::uint32_t(labels_.size());
    }
    Store(x, y, colour, labelIndex);
    ++count_;
    AddBounds(x, y);
    Changed();
    inPlace_ = !hasColours_ && !hasLabels_ && notifyPending_;
}

void TPointSeries::AddBounds(double x, double y) const {
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    bounds_.xMin = std::min(bounds_.xMin, x);
    bounds_.xMax = std::max(bounds_.xMax, x);
    bounds_.yMin = std::min(bounds_.yMin, y);
    bounds_.yMax = std::max(bounds_.yMax, y);
}

// The bounds of a batch of points; false when a value is not finite, and the bounds are then
// of no use. Without a test per point: x - x is 0 for a finite x and NaN otherwise.
bool TPointSeries::BatchBounds(const double* px, const double* py, std::size_t n, double& xMin,
                               double& xMax, double& yMin, double& yMax) {
#if defined(__SSE2__)
    // Two neighbouring values of a column at a time.
    __m128d xLo = _mm_set1_pd(px[0]), xHi = xLo, yLo = _mm_set1_pd(py[0]), yHi = yLo;
    __m128d bad = _mm_setzero_pd();
    std::size_t k = 0;
    for (; k + 2 <= n; k += 2) {
        const __m128d x = _mm_loadu_pd(px + k);
        const __m128d y = _mm_loadu_pd(py + k);
        xLo = _mm_min_pd(xLo, x);
        xHi = _mm_max_pd(xHi, x);
        yLo = _mm_min_pd(yLo, y);
        yHi = _mm_max_pd(yHi, y);
        bad = _mm_or_pd(bad, _mm_cmpunord_pd(_mm_sub_pd(x, x), _mm_sub_pd(y, y)));
    }
    if (k < n) {
        const __m128d x = _mm_set1_pd(px[k]);
        const __m128d y = _mm_set1_pd(py[k]);
        xLo = _mm_min_pd(xLo, x);
        xHi = _mm_max_pd(xHi, x);
        yLo = _mm_min_pd(yLo, y);
        yHi = _mm_max_pd(yHi, y);
        bad = _mm_or_pd(bad, _mm_cmpunord_pd(_mm_sub_pd(x, x), _mm_sub_pd(y, y)));
    }
    alignas(16) double lanes[8];
    _mm_store_pd(lanes, xLo);
    _mm_store_pd(lanes + 2, xHi);
    _mm_store_pd(lanes + 4, yLo);
    _mm_store_pd(lanes + 6, yHi);
    xMin = std::min(lanes[0], lanes[1]);
    xMax = std::max(lanes[2], lanes[3]);
    yMin = std::min(lanes[4], lanes[5]);
    yMax = std::max(lanes[6], lanes[7]);
    return _mm_movemask_pd(bad) == 0;
#else
    xMin = xMax = px[0];
    yMin = yMax = py[0];
    double check = 0;
    for (std::size_t k = 0; k < n; ++k) {
        xMin = std::min(xMin, px[k]);
        xMax = std::max(xMax, px[k]);
        yMin = std::min(yMin, py[k]);
        yMax = std::max(yMax, py[k]);
        check += (px[k] - px[k]) + (py[k] - py[k]);
    }
    return check == 0;
#endif
}

void TPointSeries::AddBatchBounds(const double* px, const double* py, std::size_t n) const {
    double xMin, xMax, yMin, yMax;
    if (BatchBounds(px, py, n, xMin, xMax, yMin, yMax)) {
        AddBounds(xMin, yMin);
        AddBounds(xMax, yMax);
    } else {
        for (std::size_t k = 0; k < n; ++k)
            AddBounds(px[k], py[k]);
    }
}

void TPointSeries::Store(double x, double y, TColor colour, std::uint32_t labelIndex) const {
    // At most this many equal X in a row are sorted in place inside a falling run.
    constexpr std::size_t kMaxTies = 8;
    const bool empty = stored_ == 0 && fallingNext_ == fallingCount_;
    const bool rising = empty || !(x < lastX_);
    switch (mode_) {
    case Mode::Ascending:
        if (rising || xOrder_ == TChartListOrder::loNone) {
            Push(x, y, colour, labelIndex);
            ++ordered_;
        } else {
            StartFalling(x, y, colour, labelIndex);
        }
        break;
    case Mode::Descending:
        if (x < lastX_) {
            Prepend(x, y, colour, labelIndex);
            fallingTies_ = 1;
        } else if (x == lastX_ && fallingTies_ < kMaxTies) {
            AddTie(x, y, colour, labelIndex);
        } else if (stored_ == 0) {
            mode_ = Mode::Merging;
            MergeFallingUpTo(x);
            Push(x, y, colour, labelIndex);
            ++ordered_;
        } else {
            // Earlier points before the fall: the read sorts the two runs together.
            FlushFalling(false);
            mode_ = Mode::Raw;
            Push(x, y, colour, labelIndex);
        }
        break;
    case Mode::Merging:
        if (rising) {
            MergeFallingUpTo(x);
            Push(x, y, colour, labelIndex);
            ++ordered_;
        } else {
            // What was merged and the falling rest above it are in order; x starts a new run.
            FlushFalling(true);
            mode_ = Mode::Raw;
            Push(x, y, colour, labelIndex);
        }
        break;
    case Mode::Raw:
        if (ordered_ == stored_ && rising)
            ++ordered_;
        Push(x, y, colour, labelIndex);
        break;
    }
    lastX_ = x;
    SyncCursors();
}

double TPointSeries::XValueStored(std::size_t index) const {
    return blocks_[index >> kBlockShift].x[index & kMask];
}

void TPointSeries::CheckIndex(std::size_t index) const {
    if (index >= Count())
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
    Settle();
    if (!(bounds_.xMin <= bounds_.xMax))
        return std::nullopt;
    return bounds_;
}

void TPointSeries::ForEachSpan(const std::function<void(const TSpan&)>& visit) const {
    EnsureOrdered();
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        const Block& block = blocks_[b];
        const std::size_t count = std::min(kBlockSize, stored_ - b * kBlockSize);
        visit({block.x.get(), block.y, block.colours.get(), uniformColour_, count});
    }
}

void TPointSeries::SetSeriesColor(TColor colour) {
    seriesColor_ = colour;
}

void TPointSeries::SetXValuesOrder(TChartListOrder order) {
    if (order == xOrder_)
        return;
    // Points added so far were kept in insertion order; they get sorted on the next read.
    EnsureOrdered();
    xOrder_ = order;
    if (order == TChartListOrder::loAscending) {
        mode_ = Mode::Raw;
        ordered_ = std::min<std::size_t>(stored_, 1);
    }
    SyncCursors();
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
    Settle();
    if (mode_ == Mode::Ascending && ordered_ == stored_) {
        TrimPool();
        return;
    }
    if (mode_ == Mode::Descending)
        FlushFalling(stored_ == 0);
    else if (mode_ == Mode::Merging)
        FlushFalling(true);
    while (ordered_ < stored_ && MergePass()) {
    }
    ordered_ = stored_;
    mode_ = Mode::Ascending;
    // A point added next compares with the largest, which is no longer the one added last.
    if (stored_ != 0)
        lastX_ = XValueStored(stored_ - 1);
    TrimPool();
    SyncCursors();
}

std::size_t TPointSeries::RunEnd(std::size_t begin, bool& descending) const {
    std::size_t i = begin + 1;
    // The leading stretch known to be in order needs no scan.
    if (begin == 0 && ordered_ > 1)
        i = ordered_;
    descending = false;
    if (i >= stored_)
        return stored_;
    double previous = XValueStored(i - 1);
    descending = begin + 1 == i && XValueStored(i) < previous;
    while (i < stored_) {
        const double* x = blocks_[i >> kBlockShift].x.get();
        const std::size_t blockEnd = std::min(stored_, ((i >> kBlockShift) + 1) << kBlockShift);
        for (; i < blockEnd; ++i) {
            const double current = x[i & kMask];
            if (descending ? !(current < previous) : current < previous)
                return i;
            previous = current;
        }
    }
    return stored_;
}

bool TPointSeries::MergePass() const {
    Blocks out;
    out.reserve(blocks_.size());
    std::vector<std::uint32_t> consumed(blocks_.size(), 0);
    std::size_t outCount = 0;
    std::size_t begin = 0;
    std::size_t runs = 0;
    while (begin < stored_) {
        bool aDescending = false;
        const std::size_t aEnd = RunEnd(begin, aDescending);
        if (begin == 0 && aEnd == stored_ && !aDescending)
            return false; // already one ordered run
        bool bDescending = false;
        const std::size_t bEnd = aEnd < stored_ ? RunEnd(aEnd, bDescending) : aEnd;
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
        const std::size_t held = std::min(kBlockSize, stored_ - (blockIndex << kBlockShift));
        if (consumed[blockIndex] == held)
            ReleaseBlock(in[blockIndex]);
        cursor.left -= taken;
        if (cursor.descending)
            cursor.next -= taken; // wraps past 0 only when the run is exhausted
        else
            cursor.next += taken;
    };

    while (a.left != 0 || b.left != 0) {
        const std::size_t outOffset = outCount & kMask;
        if (outOffset == 0)
            out.push_back(TakeBlock());
        Block& target = out.back();
        const std::size_t room = kBlockSize - outOffset;
        double* ox = target.x.get() + outOffset;
        double* oy = target.y + outOffset;
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
            const double* ay = blockA.y + offA;
            const double* bx = blockB.x.get() + offB;
            const double* by = blockB.y + offB;
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
