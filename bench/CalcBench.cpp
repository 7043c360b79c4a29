#include "bench/BenchCurve.h"
#include "calc/BoundaryCurve.h"
#include "calc/CalculateCommand.h"

#include <array>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

void SetPointCounters(benchmark::State& state, std::size_t points) {
    state.counters["points"] = double(points);
    state.counters["ns_per_point"] =
        benchmark::Counter(double(points) * double(state.iterations()) * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Sample(benchmark::State& state) {
    const TCurveParameters parameters = CurveParametersFor(std::uint64_t(state.range(0)));
    std::vector<TCurvePoint> points;
    points.reserve(std::size_t(state.range(0)));
    for (auto _ : state) {
        points.clear();
        SampleBoundaryCurve(parameters, [&](const TCurvePoint& point) { points.push_back(point); });
        benchmark::DoNotOptimize(points.data());
    }
    SetPointCounters(state, points.size());
}
BENCHMARK(BM_Sample)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// The same arithmetic written out by hand as a plain loop, appending the same way: what the
// sampling's sink interface and its overflow checks may cost at most.
void BM_SampleReference(benchmark::State& state) {
    const TCurveParameters parameters = CurveParametersFor(std::uint64_t(state.range(0)));
    std::vector<TCurvePoint> points;
    points.reserve(std::size_t(state.range(0)));
    using BoundaryCurveDetail::RoundToSingle;
    for (auto _ : state) {
        points.clear();
        for (float omega = -parameters.OmegaMax; omega < parameters.OmegaMax;
             omega = RoundToSingle(omega + parameters.Step)) {
            const double w = omega, w2 = w * w, w3 = w2 * w, w4 = w2 * w2, w5 = w4 * w;
            const float den = RoundToSingle(w2 * 1.028 + w4 * 0.028 + 1.0);
            const float x = RoundToSingle((w2 * 0.533 + w4 * 0.416) / double(den));
            const float y = RoundToSingle((w4 * 0.167 + w5 * -0.1 - w3 * 1.384 - w) / double(den));
            points.push_back({x, y});
        }
        benchmark::DoNotOptimize(points.data());
    }
    SetPointCounters(state, points.size());
}
BENCHMARK(BM_SampleReference)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// The two tables and a series in memory.
class MemoryTarget : public TCalculateTarget {
public:
    std::array<std::array<std::string, 8>, 2> cells;
    std::vector<TCurvePoint> points;

    std::string ReadCell(TGridId grid, int, int row) override { return Cell(grid, row); }
    void WriteCell(TGridId grid, int, int row, const std::string& text) override {
        Cell(grid, row) = text;
    }
    void EmptySeries() override { points.clear(); }
    void AddPoint(double x, double y, const std::string&, TColor) override {
        points.push_back({x, y});
    }

private:
    std::string& Cell(TGridId grid, int row) {
        return cells[grid == TGridId::StringGrid1 ? 0 : 1][std::size_t(row)];
    }
};

void BM_Calculate(benchmark::State& state) {
    MemoryTarget target;
    for (auto _ : state) {
        state.PauseTiming();
        target.cells = {};
        state.ResumeTiming();
        RunCalculateCommand(target);
        benchmark::DoNotOptimize(target.points.data());
    }
    if (target.points.size() != std::size_t(state.range(0))) {
        state.SkipWithError("the default run did not give the expected number of points");
    }
    SetPointCounters(state, target.points.size());
}
BENCHMARK(BM_Calculate)->Arg(1200)->Unit(benchmark::kMicrosecond);

// Deciding whether a 10 000 000-point run is allowed, next to sampling it (BM_Sample).
void BM_Refusal(benchmark::State& state) {
    const std::uint64_t points = std::uint64_t(state.range(0));
    const TCurveParameters parameters = CurveParametersFor(points);
    std::uint64_t counted = 0;
    for (auto _ : state) {
        counted = CountBoundaryCurveSamples(parameters, kMaxCurvePoints);
        benchmark::DoNotOptimize(counted);
    }
    state.counters["points"] = double(counted);
}
BENCHMARK(BM_Refusal)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);

} // namespace
