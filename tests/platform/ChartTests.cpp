#include "ChartFakeContext.h"
#include "platform/TChart.h"
#include "support/ParseLabel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QJsonArray>
#include <QLineEdit>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace {

const QRgb kGreen = qRgb(0, 128, 0);
const QRgb kWhite = qRgb(255, 255, 255);

void AddCurve(TPointSeries& series, float step = 0.01f, float omegaMax = 6.0f) {
    for (float w = -omegaMax; w < omegaMax; w += step) {
        const double o = w, o2 = o * o, o3 = o2 * o, o4 = o2 * o2, o5 = o4 * o;
        const float den = float(o2 * 1.028 + o4 * 0.028 + 1);
        const float x = float((o2 * 0.533 + o4 * 0.416) / den);
        const float y = float((o4 * 0.167 + o5 * -0.1 - o3 * 1.384 - o) / den);
        series.AddXY(x, y, QString(), clGreen);
    }
}

// A chart of the stored size in a window with a line edit that holds the keyboard focus.
struct ChartWindow {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    TChart* chart = new TChart(&window);
    TPointSeries& series = chart->AddSeries();

    ChartWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(edit);
        layout->addWidget(chart);
        chart->setFixedSize(487, 340);
        chart->SetTitleText({QStringLiteral("D разбиение")});
        window.show();
        window.activateWindow();
        edit->setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

// Every plotted pixel, by the chart's own mapping, in device pixels at the given ratio.
std::set<std::pair<int, int>> ExpectedPixels(const TChart& chart, const TPointSeries& series,
                                             double ratio) {
    const TChart::TLayout layout = chart.Layout();
    const QRect plot = layout.plot;
    std::set<std::pair<int, int>> pixels;
    for (std::size_t i = 0; i < series.Count(); ++i) {
        const double px = layout.horizontal.ToPixel(series.XValue(i));
        const double py = layout.vertical.ToPixel(series.YValue(i));
        if (px < plot.left() || px >= plot.left() + plot.width() || py < plot.top() ||
            py >= plot.top() + plot.height())
            continue;
        const double half = (ratio - 1) / 2;
        pixels.insert({int(std::floor(px * ratio - half)), int(std::floor(py * ratio - half))});
    }
    return pixels;
}

int CountColour(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

void Wheel(TChart& chart, QPointF position, int delta) {
    QWheelEvent event(position, chart.mapToGlobal(position), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &event);
}

void Drag(TChart& chart, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint from,
          QPoint to) {
    QTest::mousePress(&chart, button, modifiers, from);
    QTest::mouseMove(&chart, (from + to) / 2);
    QTest::mouseMove(&chart, to);
    QTest::mouseRelease(&chart, button, modifiers, to);
}

void ExpectSameView(const TChart::TView& a, const TChart::TView& b) {
    EXPECT_DOUBLE_EQ(a.xLo, b.xLo);
    EXPECT_DOUBLE_EQ(a.xHi, b.xHi);
    EXPECT_DOUBLE_EQ(a.yLo, b.yLo);
    EXPECT_DOUBLE_EQ(a.yHi, b.yHi);
}

void ExpectDistinctCorrectLabels(const std::vector<TAxisMapping::TTick>& ticks) {
    ASSERT_GE(ticks.size(), 2u);
    QSet<QString> labels;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        labels.insert(ticks[i].label);
        const double step =
            i > 0 ? ticks[i].value - ticks[i - 1].value : ticks[1].value - ticks[0].value;
        EXPECT_NEAR(ParseLabel(ticks[i].label), ticks[i].value, step / 2)
            << ticks[i].label.toStdString();
    }
    EXPECT_EQ(std::size_t(labels.size()), ticks.size());
}

} // namespace

TEST(ChartDraw, PointsLandExactlyWhereTheMappingPutsThem) {
    ChartWindow w;
    AddCurve(w.series);
    const QImage bitmap = w.chart->ToBitmap(1.0);
    const auto expected = ExpectedPixels(*w.chart, w.series, 1.0);
    ASSERT_GT(expected.size(), 500u);
    for (const auto& [x, y] : expected)
        ASSERT_EQ(bitmap.pixel(x, y), kGreen) << x << "," << y;
    EXPECT_EQ(CountColour(bitmap, kGreen), int(expected.size()));

    // The outermost points keep five free pixels to each side of the plot.
    const QRect plot = w.chart->Layout().plot;
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
    for (const auto& [x, y] : expected) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    EXPECT_EQ(minX, plot.left() + 5);
    EXPECT_EQ(maxX, plot.left() + plot.width() - 6);
    EXPECT_EQ(minY, plot.top() + 5);
    EXPECT_EQ(maxY, plot.top() + plot.height() - 6);
}

TEST(ChartDraw, TwiceTheResolutionIsSharpAndTheSame) {
    ChartWindow w;
    AddCurve(w.series);
    const QImage bitmap = w.chart->ToBitmap(2.0);
    EXPECT_EQ(bitmap.size(), w.chart->size() * 2);
    EXPECT_FALSE(bitmap.hasAlphaChannel());
    // Each point is a two-by-two block of device pixels at its own place, and nothing else is
    // green: no blur around the dots.
    std::set<std::pair<int, int>> blocks;
    for (const auto& [x, y] : ExpectedPixels(*w.chart, w.series, 2.0))
        for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
            blocks.insert({x + dx, y + dy});
    for (const auto& [x, y] : blocks)
        ASSERT_EQ(bitmap.pixel(x, y), kGreen) << x << "," << y;
    EXPECT_EQ(CountColour(bitmap, kGreen), int(blocks.size()));
}

TEST(ChartDraw, EmptyChartIsWhiteWithItsTitle) {
    ChartWindow w;
    const QImage bitmap = w.chart->ToBitmap();
    EXPECT_EQ(bitmap.size(), w.chart->size() * w.chart->devicePixelRatioF());
    EXPECT_EQ(CountColour(bitmap, kGreen), 0);
    const QRect plot = w.chart->Layout().plot;
    // The inside of the plot is white, the title above it is not.
    for (int y = plot.top(); y < plot.top() + plot.height(); y += 7)
        for (int x = plot.left(); x < plot.left() + plot.width(); x += 7)
            ASSERT_EQ(bitmap.pixel(x, y), kWhite);
    int titleInk = 0;
    for (int y = 0; y < plot.top() - 2; ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            titleInk += bitmap.pixel(x, y) != kWhite;
    EXPECT_GT(titleInk, 30);
    // The corner outside the axes stays white: the background is the chart's colour.
    EXPECT_EQ(bitmap.pixel(bitmap.width() - 1, bitmap.height() - 1), kWhite);
}

TEST(ChartDraw, RepaintsTheNewPointsAfterAFill) {
    ChartWindow w;
    AddCurve(w.series);
    QTest::qWait(0);
    QImage shown = w.chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, w.chart->ToBitmap().convertToFormat(QImage::Format_RGB32));
    w.series.Clear();
    w.series.AddXY(1, 1, "", clGreen);
    shown = w.chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(CountColour(shown, kGreen), 1);
}

TEST(ChartInput, RightClickRequestsThePopupAtTheClickAndTheKeyboardNever) {
    ChartWindow w;
    int calls = 0;
    TPoint where;
    w.chart->OnContextPopup = [&](TObject* sender, TPoint mousePos, bool& handled) {
        EXPECT_EQ(sender, static_cast<TObject*>(w.chart));
        EXPECT_FALSE(handled);
        where = mousePos;
        ++calls;
    };
    // Through the window, as the platform delivers a user's click; over the title too.
    for (const QPoint click : {QPoint(123, 77), QPoint(240, 5)}) {
        QTest::mouseClick(w.window.windowHandle(), Qt::RightButton, {},
                          w.chart->mapTo(&w.window, click));
        QTest::qWait(0);
        EXPECT_EQ(where.X, click.x());
        EXPECT_EQ(where.Y, click.y());
    }
    EXPECT_EQ(calls, 2);

    QTest::keyClick(&w.window, Qt::Key_Menu);
    QTest::keyClick(&w.window, Qt::Key_F10, Qt::ShiftModifier);
    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(10, 10),
                               w.chart->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(w.chart, &keyboard);
    EXPECT_EQ(calls, 2);

    // Clicking, dragging and wheeling leave the keyboard focus where it was.
    QTest::mouseClick(w.chart, Qt::LeftButton, {}, QPoint(200, 150));
    Wheel(*w.chart, QPointF(200, 150), 120);
    EXPECT_EQ(QApplication::focusWidget(), w.edit);
    EXPECT_EQ(w.chart->focusPolicy(), Qt::NoFocus);
}

TEST(ChartSettings, ReadsTheStoredSettingsAndRejectsUnsupportedOnes) {
    ChartFakeContext context;
    int popups = 0;
    context.popups["ChartContextPopup"] = [&](TObject*, TPoint, bool&) {
        ++popups;
    };
    TChart chart;
    struct Setting {
        const char* name;
        QJsonValue value;
    };
    const Setting accepted[] = {
        {"Title.Text", QJsonArray{QStringLiteral("D разбиение")}},
        {"Legend.Visible", false},
        {"View3D", "False"},
        {"Color", "clWhite"},
        {"BackWall.Brush.Color", "clWhite"},
        {"BackWall.Brush.Style", "bsClear"},
        {"OnContextPopup", "ChartContextPopup"},
        {"Width", 609},
        {"Height", 425},
    };
    for (const Setting& s : accepted)
        EXPECT_TRUE(chart.ReadProperty(s.name, s.value, context)) << s.name;
    EXPECT_EQ(chart.TitleText(), QStringList{QStringLiteral("D разбиение")});
    EXPECT_EQ(chart.Color(), clWhite);
    EXPECT_EQ(chart.size(), QSize(609, 425));
    bool handled = false;
    ASSERT_TRUE(chart.OnContextPopup);
    chart.OnContextPopup(&chart, {}, handled);
    EXPECT_EQ(popups, 1);

    const Setting rejected[] = {
        {"Legend.Visible", true},
        {"View3D", true},
        {"Color", "white"},
        {"BackWall.Brush.Style", "bsCross"},
        {"OnContextPopup", "NoSuchHandler"},
        {"Title.Text", 5},
    };
    for (const Setting& s : rejected)
        EXPECT_THROW(chart.ReadProperty(s.name, s.value, context), EReadError) << s.name;
    EXPECT_FALSE(chart.ReadProperty("Gradient.Visible", true, context));
}

TEST(ChartNavigation, DragTowardsTheBottomRightZoomsToTheRectangle) {
    ChartWindow w;
    AddCurve(w.series);
    const TChart::TLayout before = w.chart->Layout();
    const QPoint from(150, 80), to(300, 200);
    Drag(*w.chart, Qt::LeftButton, {}, from, to);
    EXPECT_FALSE(w.chart->IsAutoView());
    ExpectSameView(w.chart->View(),
                   {before.horizontal.ToData(from.x()), before.horizontal.ToData(to.x()),
                    before.vertical.ToData(to.y()), before.vertical.ToData(from.y())});
    // The bitmap shows the zoomed view, exactly as mapped.
    const QImage bitmap = w.chart->ToBitmap(1.0);
    const auto expected = ExpectedPixels(*w.chart, w.series, 1.0);
    ASSERT_FALSE(expected.empty());
    for (const auto& [x, y] : expected)
        ASSERT_EQ(bitmap.pixel(x, y), kGreen);
    EXPECT_EQ(CountColour(bitmap, kGreen), int(expected.size()));
}

TEST(ChartNavigation, ResetGesturesAndPlainClicks) {
    ChartWindow w;
    AddCurve(w.series);
    const TChart::TView fitted = w.chart->View();
    const TChart::TView zoomed{1, 2, -1, 1};

    w.chart->SetView(zoomed);
    QTest::mouseClick(w.chart, Qt::LeftButton, {}, QPoint(200, 150));
    ExpectSameView(w.chart->View(), zoomed); // a click without a drag changes nothing
    Drag(*w.chart, Qt::LeftButton, {}, QPoint(200, 150), QPoint(260, 100));
    ExpectSameView(w.chart->View(), zoomed); // neither towards bottom right nor top left

    Drag(*w.chart, Qt::LeftButton, {}, QPoint(300, 200), QPoint(200, 100));
    EXPECT_TRUE(w.chart->IsAutoView());
    ExpectSameView(w.chart->View(), fitted);

    w.chart->SetView(zoomed);
    QTest::mouseDClick(w.chart, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_TRUE(w.chart->IsAutoView());

    // A new calculation shows all of its points again.
    w.chart->SetView(zoomed);
    w.series.Clear();
    AddCurve(w.series, 0.02f, 3.0f);
    EXPECT_TRUE(w.chart->IsAutoView());
    EXPECT_LT(w.chart->View().xHi, 4.0);
}

TEST(ChartNavigation, WheelZoomKeepsThePlanePointUnderThePointer) {
    ChartWindow w;
    AddCurve(w.series);
    const double fittedSpan = w.chart->View().xHi - w.chart->View().xLo;
    for (const QPointF pointer : {QPointF(70, 300), QPointF(400, 60)}) {
        for (const int delta : {120, 360, -120, -360}) {
            const TChart::TLayout before = w.chart->Layout();
            const double x = before.horizontal.ToData(pointer.x());
            const double y = before.vertical.ToData(pointer.y());
            const double span = w.chart->View().xHi - w.chart->View().xLo;
            Wheel(*w.chart, pointer, delta);
            const TChart::TLayout after = w.chart->Layout();
            EXPECT_NEAR(after.horizontal.ToPixel(x), pointer.x(), 1.0);
            EXPECT_NEAR(after.vertical.ToPixel(y), pointer.y(), 1.0);
            const double newSpan = w.chart->View().xHi - w.chart->View().xLo;
            EXPECT_EQ(newSpan<span, delta> 0);
        }
    }
    EXPECT_NEAR(w.chart->View().xHi - w.chart->View().xLo, fittedSpan, 1e-9 * fittedSpan);
}

TEST(ChartNavigation, PanMovesThePlaneByTheDraggedDistance) {
    ChartWindow w;
    AddCurve(w.series);
    w.chart->SetView({1, 3, -2, 2});
    struct Case {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Case c : {Case{Qt::MiddleButton, {}}, Case{Qt::LeftButton, Qt::ShiftModifier}}) {
        const QPoint from(200, 150), to(260, 110);
        const TChart::TLayout before = w.chart->Layout();
        const double x = before.horizontal.ToData(from.x());
        const double y = before.vertical.ToData(from.y());
        const double xSpan = w.chart->View().xHi - w.chart->View().xLo;
        Drag(*w.chart, c.button, c.modifiers, from, to);
        const TChart::TLayout after = w.chart->Layout();
        EXPECT_NEAR(after.horizontal.ToPixel(x), to.x(), 1.0);
        EXPECT_NEAR(after.vertical.ToPixel(y), to.y(), 1.0);
        EXPECT_NEAR(w.chart->View().xHi - w.chart->View().xLo, xSpan, 1e-9 * xSpan);
    }
}

TEST(ChartNavigation, ReadoutShowsThePointerInTheResolvedDigits) {
    ChartWindow w;
    AddCurve(w.series);
    w.chart->SetView({0, 8, -12, 18});
    const QPoint pointer(240, 150);
    QTest::mouseMove(w.chart, pointer);
    const QString text = w.chart->ReadoutText();
    const TChart::TLayout layout = w.chart->Layout();
    // "X: 3,84   Y: 2,07": decimal commas, digits down to about one pixel's worth.
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_EQ(parts.size(), 4) << text.toStdString();
    EXPECT_EQ(parts[0], "X:");
    EXPECT_EQ(parts[2], "Y:");
    EXPECT_FALSE(parts[1].contains(QLatin1Char('.')));
    const double unitX = layout.horizontal.UnitsPerPixel();
    const double unitY = layout.vertical.UnitsPerPixel();
    EXPECT_NEAR(ParseLabel(parts[1]), layout.horizontal.ToData(pointer.x()), unitX);
    EXPECT_NEAR(ParseLabel(parts[3]), layout.vertical.ToData(pointer.y()), unitY);
    // Two decimals resolve a unit of 0,01 to 0,1 per pixel.
    EXPECT_EQ(parts[1].size() - parts[1].indexOf(QLatin1Char(',')) - 1, 2);

    QTest::mouseMove(w.chart, QPoint(2, 2)); // over the title: not the plot
    EXPECT_TRUE(w.chart->ReadoutText().isEmpty());
    QTest::mouseMove(w.chart, pointer);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w.chart, &leave);
    EXPECT_TRUE(w.chart->ReadoutText().isEmpty());
}

TEST(ChartNavigation, DeepZoomAndFarZoomOutKeepLabelsDistinctAndFinite) {
    ChartWindow w;
    AddCurve(w.series);
    const QPointF pointer(300, 120);
    for (int i = 0; i < 150; ++i)
        Wheel(*w.chart, pointer, 120);
    TChart::TView view = w.chart->View();
    // Down to the points' own precision, and no further.
    const double xSpan = view.xHi - view.xLo;
    EXPECT_LT(xSpan, 1e-4 * std::abs(view.xLo) + 1e-12);
    EXPECT_GT(xSpan, 0.9 * TAxisMapping::kMinRelativeSpan * std::abs(view.xHi));
    TChart::TLayout layout = w.chart->Layout();
    ExpectDistinctCorrectLabels(layout.xTicks);
    ExpectDistinctCorrectLabels(layout.yTicks);

    for (int i = 0; i < 3000; ++i)
        Wheel(*w.chart, pointer, -120);
    view = w.chart->View();
    EXPECT_TRUE(std::isfinite(view.xLo) && std::isfinite(view.xHi) && view.xLo < view.xHi);
    EXPECT_TRUE(std::isfinite(view.yLo) && std::isfinite(view.yHi) && view.yLo < view.yHi);
    layout = w.chart->Layout();
    ExpectDistinctCorrectLabels(layout.xTicks);
    ExpectDistinctCorrectLabels(layout.yTicks);
    EXPECT_FALSE(w.chart->ToBitmap(1.0).isNull());
}
