#ifdef DPARTITION_BENCH_GUI

#include "bench/AllocationCounter.h"
#include "bench/BenchCurve.h"
#include "calc/BoundaryCurve.h"
#include "platform/TChart.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

const QSize kChartSize(609, 425);

// A chart of the stored size holding the first count points of the curve, ordered.
std::unique_ptr<TChart> MakeChart(std::size_t count) {
    auto chart = std::make_unique<TChart>();
    chart->resize(kChartSize);
    chart->SetTitleText({QStringLiteral("D разбиение")});
    TPointSeries& series = chart->AddSeries();
    SampleBoundaryCurve(CurveParametersFor(count), [&](const TCurvePoint& point) {
        series.AddXY(point.X, point.Y, QString(), clGreen);
    });
    benchmark::DoNotOptimize(series.XValue(0));
    return chart;
}

// A quarter of each axis of the fitted view, around the middle of the curve.
TChart::TView QuarterView(const TChart& chart) {
    const TChart::TView all = chart.View();
    const double w = (all.xHi - all.xLo) / 4, h = (all.yHi - all.yLo) / 4;
    const double cx = (all.xLo + all.xHi) / 2, cy = (all.yLo + all.yHi) / 2;
    return {cx - w / 2, cx + w / 2, cy - h / 2, cy + h / 2};
}

// What the calculation does: empty the series, add each sampled point, then the first read
// puts the points in order.
void BM_SeriesFill(benchmark::State& state) {
    const TCurveParameters parameters = CurveParametersFor(std::uint64_t(state.range(0)));
    const auto fill = [&](TPointSeries& series) {
        series.Clear();
        SampleBoundaryCurve(parameters, [&](const TCurvePoint& point) {
            series.AddXY(point.X, point.Y, QString(), clGreen);
        });
        benchmark::DoNotOptimize(series.XValue(0));
    };
    // Memory: everything a fresh series holds at its peak, ordering included.
    double peakPerPoint = 0;
    {
        const std::size_t before = AllocatedBytes();
        ResetPeakAllocatedBytes();
        TPointSeries fresh;
        fill(fresh);
        peakPerPoint = double(PeakAllocatedBytes() - before) / double(fresh.Count());
    }
    TPointSeries series;
    for (auto _ : state)
        fill(series);
    state.counters["points"] = double(series.Count());
    state.counters["peak_bytes_per_point"] = peakPerPoint;
}
BENCHMARK(BM_SeriesFill)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// A full redraw of the chart image: background, grid, points, axes, labels and title.
void BM_ChartRepaint(benchmark::State& state) {
    const auto chart = MakeChart(std::size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(chart->Render(kChartSize, 1.0));
}
BENCHMARK(BM_ChartRepaint)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// The same at a zoomed view: most points fall outside and cost only their bounds test.
void BM_ChartZoomFrame(benchmark::State& state) {
    const auto chart = MakeChart(std::size_t(state.range(0)));
    chart->SetView(QuarterView(*chart));
    for (auto _ : state)
        benchmark::DoNotOptimize(chart->Render(kChartSize, 1.0));
}
BENCHMARK(BM_ChartZoomFrame)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// One wheel notch on a shown chart up to the finished repaint of the widget: event, new view,
// new image, and the copy to the window's backing store.
void BM_ChartWheelStep(benchmark::State& state) {
    const auto chart = MakeChart(std::size_t(state.range(0)));
    chart->show();
    QApplication::processEvents();
    const QPointF pointer(300, 200);
    int delta = 120;
    for (auto _ : state) {
        QWheelEvent wheel(pointer, chart->mapToGlobal(pointer), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart.get(), &wheel);
        chart->repaint();
        delta = -delta;
    }
}
BENCHMARK(BM_ChartWheelStep)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// One mouse move of a middle-button pan up to the finished repaint.
void BM_ChartPanStep(benchmark::State& state) {
    const auto chart = MakeChart(std::size_t(state.range(0)));
    chart->SetView(QuarterView(*chart));
    chart->show();
    QApplication::processEvents();
    const QPointF start(300, 200);
    QMouseEvent press(QEvent::MouseButtonPress, start, chart->mapToGlobal(start), Qt::MiddleButton,
                      Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(chart.get(), &press);
    int step = 0;
    for (auto _ : state) {
        const QPointF to = start + QPointF(10 + step % 40, 5 + step % 20);
        QMouseEvent move(QEvent::MouseMove, to, chart->mapToGlobal(to), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(chart.get(), &move);
        chart->repaint();
        ++step;
    }
}
BENCHMARK(BM_ChartPanStep)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace

#endif
