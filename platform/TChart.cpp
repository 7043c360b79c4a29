#include "platform/TChart.h"

#include "platform/TClipboard.h"
#include "platform/TReadContext.h"
#include "platform/TSettingValue.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kPad = 6;             // around the chart's contents
constexpr int kTick = 4;            // tick marks, outside the frame
constexpr int kLabelGap = 3;        // between a tick mark and its label
constexpr int kRightPad = 16;       // room for half of the last horizontal label
constexpr int kInflatedMargin = 5;  // pointer size 4 plus 1, between outermost points and frame
constexpr int kDragThreshold = 3;   // pixels before a press becomes a drag
constexpr double kWheelZoom = 1.25; // span factor per wheel notch

QColor ToQColor(TColor colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

QRgb ToRgb(TColor colour) {
    return qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

} // namespace

TChart::TChart(QWidget* parent) : QWidget(parent) {
    // The chart is looked at, not typed into: clicks and the keyboard leave the focus alone.
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    titleFont_ = font();
    titleFont_.setPixelSize(13);
    labelFont_ = font();
    labelFont_.setPixelSize(11);
}

TChart::~TChart() = default;

TPointSeries& TChart::AddSeries() {
    series_.push_back(std::make_unique<TPointSeries>());
    TPointSeries& series = *series_.back();
    // One repaint per fill: the series calls back on its first change after a paint.
    series.SetChangeNotify([this] { update(); });
    Changed();
    return series;
}

void TChart::SetTitleText(const QStringList& lines) {
    title_ = lines;
    Changed();
}

void TChart::SetColor(TColor colour) {
    colour_ = colour;
    Changed();
}

void TChart::SetBackWall(TColor colour, bool filled) {
    backWallColour_ = colour;
    backWallFilled_ = filled;
    Changed();
}

void TChart::Changed() {
    ++version_;
    update();
}

// ---- View ----------------------------------------------------------------------------------

void TChart::SyncWithSeries() const {
    seenClears_.resize(series_.size(), 0);
    for (std::size_t i = 0; i < series_.size(); ++i) {
        if (series_[i]->ClearCount() != seenClears_[i]) {
            // A new calculation: show all of its points again.
            seenClears_[i] = series_[i]->ClearCount();
            autoView_ = true;
            ++version_;
        }
    }
}

TChart::TView TChart::AutoView() const {
    bool any = false;
    TPointSeries::TBounds all{0, 1, 0, 1};
    for (const auto& series : series_) {
        const auto bounds = series->Bounds();
        if (!bounds)
            continue;
        if (!any) {
            all = *bounds;
            any = true;
        } else {
            all.xMin = std::min(all.xMin, bounds->xMin);
            all.xMax = std::max(all.xMax, bounds->xMax);
            all.yMin = std::min(all.yMin, bounds->yMin);
            all.yMax = std::max(all.yMax, bounds->yMax);
        }
    }
    const auto [xLo, xHi] = TAxisMapping::Guard(all.xMin, all.xMax);
    const auto [yLo, yHi] = TAxisMapping::Guard(all.yMin, all.yMax);
    return {xLo, xHi, yLo, yHi};
}

TChart::TView TChart::View() const {
    SyncWithSeries();
    return autoView_ ? AutoView() : view_;
}

bool TChart::IsAutoView() const {
    SyncWithSeries();
    return autoView_;
}

void TChart::SetView(const TView& view) {
    SyncWithSeries();
    const auto [xLo, xHi] = TAxisMapping::Guard(view.xLo, view.xHi);
    const auto [yLo, yHi] = TAxisMapping::Guard(view.yLo, view.yHi);
    view_ = {xLo, xHi, yLo, yHi};
    autoView_ = false;
    Changed();
}

void TChart::ResetView() {
    SyncWithSeries();
    autoView_ = true;
    Changed();
}

// ---- Layout and drawing --------------------------------------------------------------------

TChart::TLayout TChart::Layout(const QSize& size) const {
    const TView view = View();
    bool hasPoints = false;
    bool inflate = false;
    for (const auto& series : series_) {
        hasPoints = hasPoints || series->Bounds().has_value();
        inflate = inflate || (series->PointerVisible() && series->InflateMargins());
    }
    const int margin = inflate ? kInflatedMargin : 0;
    const QFontMetricsF labels(labelFont_);
    const QFontMetricsF title(titleFont_);
    const int width = std::max(size.width(), 1);
    const int height = std::max(size.height(), 1);

    TLayout layout;
    const double titleBottom = kPad + (title_.isEmpty() ? 0.0 : title.height() * title_.size());
    const int top = int(std::ceil(titleBottom)) + 8;
    const int labelHeight = int(std::ceil(labels.height()));
    const int bottom = std::max(top + 1, height - (kPad + labelHeight + kLabelGap + kTick + 1));
    layout.vertical = TAxisMapping(view.yLo, view.yHi, bottom - margin - 0.5, top + margin + 0.5);
    if (hasPoints)
        layout.yTicks = layout.vertical.ChooseTicks([&](const QString&) { return labels.height(); },
                                                    6, 30, margin);
    double widest = 0;
    for (const auto& tick : layout.yTicks)
        widest = std::max(widest, labels.horizontalAdvance(tick.label));
    const int left = kPad + int(std::ceil(widest)) + kLabelGap + kTick + 1;
    const int right = std::max(left + 1, width - kRightPad);
    layout.horizontal = TAxisMapping(view.xLo, view.xHi, left + margin + 0.5, right - margin - 0.5);
    if (hasPoints)
        layout.xTicks = layout.horizontal.ChooseTicks(
            [&](const QString& label) { return labels.horizontalAdvance(label); }, 12, 50, margin);
    layout.plot = QRect(left, top, right - left, bottom - top);
    return layout;
}

QImage TChart::Render(const QSize& size, qreal ratio) const {
    const QSize logical(std::max(size.width(), 1), std::max(size.height(), 1));
    QImage image(
        QSize(int(std::ceil(logical.width() * ratio)), int(std::ceil(logical.height() * ratio))),
        QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(ToQColor(colour_));
    const TLayout layout = Layout(logical);
    const QRect& plot = layout.plot;
    const QColor black(Qt::black);

    {
        QPainter painter(&image);
        if (backWallFilled_)
            painter.fillRect(plot, ToQColor(backWallColour_));
        // Grid lines under the points, each on the pixel column or row its tick falls in.
        painter.setPen(QPen(QColor(0xE0, 0xE0, 0xE0), 1));
        for (const auto& tick : layout.xTicks) {
            const double x = std::floor(tick.pixel) + 0.5;
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.top() + plot.height()));
        }
        for (const auto& tick : layout.yTicks) {
            const double y = std::floor(tick.pixel) + 0.5;
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.left() + plot.width(), y));
        }
    }

    PlotPoints(image, layout, ratio);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QPen(black, 1));
    // The frame runs just outside the plot, so no point is ever hidden under it.
    const double l = plot.left() - 0.5;
    const double t = plot.top() - 0.5;
    const double r = plot.left() + plot.width() + 0.5;
    const double b = plot.top() + plot.height() + 0.5;
    painter.drawRect(QRectF(QPointF(l, t), QPointF(r, b)));

    painter.setFont(labelFont_);
    const QFontMetricsF labels(labelFont_);
    for (const auto& tick : layout.xTicks) {
        const double x = std::floor(tick.pixel) + 0.5;
        painter.drawLine(QPointF(x, b), QPointF(x, b + kTick));
        const double w = labels.horizontalAdvance(tick.label);
        const double labelLeft = std::clamp(x - w / 2, 0.0, std::max(0.0, logical.width() - w));
        painter.drawText(QRectF(labelLeft, b + kTick + kLabelGap, w + 1, labels.height()),
                         Qt::AlignLeft | Qt::AlignTop, tick.label);
    }
    for (const auto& tick : layout.yTicks) {
        const double y = std::floor(tick.pixel) + 0.5;
        painter.drawLine(QPointF(l - kTick, y), QPointF(l, y));
        const double h = labels.height();
        painter.drawText(QRectF(0, y - h / 2, l - kTick - kLabelGap, h),
                         Qt::AlignRight | Qt::AlignVCenter, tick.label);
    }

    painter.setFont(titleFont_);
    const QFontMetricsF title(titleFont_);
    for (int i = 0; i < title_.size(); ++i)
        painter.drawText(QRectF(0, kPad + i * title.height(), logical.width(), title.height()),
                         Qt::AlignHCenter | Qt::AlignTop, title_[i]);
    return image;
}

void TChart::PlotPoints(QImage& image, const TLayout& layout, qreal ratio) const {
    const QRect& plot = layout.plot;
    // The plot's inside in device pixels: points land only there.
    const double clipLeft = std::ceil(plot.left() * ratio);
    const double clipTop = std::ceil(plot.top() * ratio);
    const double clipRight = std::floor((plot.left() + plot.width()) * ratio);
    const double clipBottom = std::floor((plot.top() + plot.height()) * ratio);
    const int dot = std::max(1, int(std::lround(ratio)));
    const double half = (dot - 1) / 2.0;

    const double xLo = layout.horizontal.DataLo();
    const double xPixel = layout.horizontal.PixelLo();
    const double xScale = layout.horizontal.Scale();
    const double yLo = layout.vertical.DataLo();
    const double yPixel = layout.vertical.PixelLo();
    const double yScale = layout.vertical.Scale();

    QRgb* const bits = reinterpret_cast<QRgb*>(image.bits());
    const std::ptrdiff_t stride = image.bytesPerLine() / std::ptrdiff_t(sizeof(QRgb));

    for (const auto& series : series_) {
        if (!series->PointerVisible())
            continue;
        series->ForEachSpan([&](const TPointSeries::TSpan& span) {
            const QRgb uniform = ToRgb(span.uniformColour);
            // The same arithmetic as the mapping's, so a point lands exactly where the
            // mapping says; the bounds test is all that a point outside the view costs.
            for (std::size_t i = 0; i < span.count; ++i) {
                const double px = (xPixel + (span.x[i] - xLo) * xScale) * ratio - half;
                const double py = (yPixel + (span.y[i] - yLo) * yScale) * ratio - half;
                if (!(px >= clipLeft && px < clipRight - dot + 1 && py >= clipTop &&
                      py < clipBottom - dot + 1))
                    continue;
                const QRgb colour = span.colours ? ToRgb(span.colours[i]) : uniform;
                QRgb* pixel = bits + std::ptrdiff_t(py) * stride + std::ptrdiff_t(px);
                if (dot == 1) {
                    *pixel = colour;
                    continue;
                }
                for (int row = 0; row < dot; ++row, pixel += stride)
                    std::fill_n(pixel, dot, colour);
            }
        });
    }
}

const QImage& TChart::CachedImage(const QSize& size, qreal ratio) const {
    SyncWithSeries();
    std::vector<std::uint64_t> changes;
    changes.reserve(series_.size());
    for (const auto& series : series_)
        changes.push_back(series->ChangeCount());
    if (cache_.isNull() || cacheSize_ != size || cacheRatio_ != ratio ||
        cacheVersion_ != version_ || cacheChanges_ != changes) {
        cache_ = Render(size, ratio);
        cacheSize_ = size;
        cacheRatio_ = ratio;
        cacheVersion_ = version_;
        cacheChanges_ = std::move(changes);
    }
    return cache_;
}

void TChart::Draw(QPainter& painter, const QSize& size) const {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), CachedImage(size, ratio));
}

QImage TChart::ToBitmap() const {
    return ToBitmap(devicePixelRatioF());
}

QImage TChart::ToBitmap(qreal ratio) const {
    QImage bitmap(QSize(int(std::ceil(width() * ratio)), int(std::ceil(height() * ratio))),
                  QImage::Format_RGB32);
    bitmap.setDevicePixelRatio(ratio);
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    Draw(painter, size());
    return bitmap;
}

void TChart::paintEvent(QPaintEvent*) {
    for (const auto& series : series_)
        series->AcknowledgeChange();
    QPainter painter(this);
    Draw(painter, size());

    if (drag_ == Drag::Zoom && dragMoved_) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(QRectF(dragStart_, dragNow_).normalized().adjusted(0.5, 0.5, -0.5, -0.5));
    }
    const QString readout = ReadoutText();
    if (!readout.isEmpty()) {
        const QRect plot = Layout().plot;
        painter.setFont(labelFont_);
        const QFontMetricsF metrics(labelFont_);
        const double w = metrics.horizontalAdvance(readout) + 8;
        const double h = metrics.height() + 4;
        const QRectF box(plot.left() + plot.width() - w - 2, plot.top() + 2, w, h);
        painter.fillRect(box, QColor(255, 255, 255, 225));
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
        painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, readout);
    }
}

// ---- Input ---------------------------------------------------------------------------------

void TChart::contextMenuEvent(QContextMenuEvent* event) {
    // Only a click asks for the popup; the keyboard never reaches the chart's menu.
    if (event->reason() != QContextMenuEvent::Mouse) {
        event->ignore();
        return;
    }
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(this, TPoint{event->pos().x(), event->pos().y()}, handled);
    // The request ends here either way, so no other menu opens for the same click.
    event->accept();
}

void TChart::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const bool pan =
        event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ShiftModifier));
    if ((event->button() != Qt::LeftButton && !pan) || !Layout().plot.contains(position)) {
        event->ignore();
        return;
    }
    drag_ = pan ? Drag::Pan : Drag::Zoom;
    dragStart_ = dragNow_ = position;
    dragView_ = View();
    const TLayout layout = Layout();
    dragHorizontal_ = layout.horizontal;
    dragVertical_ = layout.vertical;
    dragMoved_ = false;
    event->accept();
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (drag_ != Drag::None) {
        dragNow_ = position;
        dragMoved_ = dragMoved_ || (position - dragStart_).manhattanLength() >= kDragThreshold;
    }
    if (drag_ == Drag::Pan && dragMoved_) {
        // The plane point under the press follows the pointer.
        const double anchorX = dragHorizontal_.ToData(dragStart_.x());
        const double anchorY = dragVertical_.ToData(dragStart_.y());
        const double dx = anchorX - dragHorizontal_.ToData(position.x());
        const double dy = anchorY - dragVertical_.ToData(position.y());
        SetView({dragView_.xLo + dx, dragView_.xHi + dx, dragView_.yLo + dy, dragView_.yHi + dy});
        KeepUnderPointer(anchorX, anchorY, position);
    } else if (drag_ == Drag::Zoom) {
        update();
    }
    UpdateReadout(position);
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    const Drag drag = drag_;
    drag_ = Drag::None;
    if (drag != Drag::Zoom) {
        event->accept();
        update();
        return;
    }
    const QPoint position = event->position().toPoint();
    const QPoint delta = position - dragStart_;
    if (dragMoved_ && delta.x() > 0 && delta.y() > 0) {
        const TLayout layout = Layout();
        SetView({layout.horizontal.ToData(dragStart_.x()), layout.horizontal.ToData(position.x()),
                 layout.vertical.ToData(position.y()), layout.vertical.ToData(dragStart_.y())});
    } else if (dragMoved_ && delta.x() < 0 && delta.y() < 0) {
        ResetView();
    }
    dragMoved_ = false;
    update();
    event->accept();
}

void TChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !Layout().plot.contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    drag_ = Drag::None;
    ResetView();
    event->accept();
}

void TChart::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const int notches = angle.y() != 0 ? angle.y() : angle.x();
    const QPointF position = event->position();
    const TLayout layout = Layout();
    if (notches == 0 || !layout.plot.contains(position.toPoint())) {
        event->ignore();
        return;
    }
    const double factor = std::pow(kWheelZoom, -notches / 120.0);
    const double anchorX = layout.horizontal.ToData(position.x());
    const double anchorY = layout.vertical.ToData(position.y());
    const TView view = View();
    SetView({anchorX - (anchorX - view.xLo) * factor, anchorX + (view.xHi - anchorX) * factor,
             anchorY - (anchorY - view.yLo) * factor, anchorY + (view.yHi - anchorY) * factor});
    KeepUnderPointer(anchorX, anchorY, position);
    UpdateReadout(position.toPoint());
    event->accept();
}

void TChart::leaveEvent(QEvent*) {
    if (pointerOverPlot_) {
        pointerOverPlot_ = false;
        update();
    }
}

void TChart::KeepUnderPointer(double anchorX, double anchorY, const QPointF& position) {
    // New labels may move the frame, and with it the mapping; shift the view until the anchor
    // is back under the pointer.
    for (int i = 0; i < 3; ++i) {
        const TLayout after = Layout();
        const double ex = anchorX - after.horizontal.ToData(position.x());
        const double ey = anchorY - after.vertical.ToData(position.y());
        if (std::abs(ex * after.horizontal.Scale()) < 1e-3 &&
            std::abs(ey * after.vertical.Scale()) < 1e-3)
            return;
        const TView now = View();
        SetView({now.xLo + ex, now.xHi + ex, now.yLo + ey, now.yHi + ey});
    }
}

void TChart::UpdateReadout(const QPoint& position) {
    const bool over = Layout().plot.contains(position);
    if (over != pointerOverPlot_ || (over && position != pointer_))
        update();
    pointerOverPlot_ = over;
    pointer_ = position;
}

QString TChart::ReadoutText() const {
    if (!pointerOverPlot_)
        return {};
    bool hasPoints = false;
    for (const auto& series : series_)
        hasPoints = hasPoints || series->Bounds().has_value();
    if (!hasPoints)
        return {};
    const TLayout layout = Layout();
    const double x = layout.horizontal.ToData(pointer_.x() + 0.5);
    const double y = layout.vertical.ToData(pointer_.y() + 0.5);
    return QStringLiteral("X: %1   Y: %2")
        .arg(TAxisMapping::Format(x, layout.horizontal.UnitsPerPixel(), true),
             TAxisMapping::Format(y, layout.vertical.UnitsPerPixel(), true));
}

// ---- Stored settings -----------------------------------------------------------------------

bool TChart::ReadProperty(const QString& name, const QJsonValue& value,
                          const TReadContext& context) {
    if (name == QLatin1String("Title.Text")) {
        SetTitleText(TSettingValue::Lines(value));
    } else if (name == QLatin1String("Legend.Visible") || name == QLatin1String("View3D")) {
        // This chart draws neither a legend nor a third dimension.
        if (TSettingValue::Bool(value))
            TSettingValue::Invalid();
    } else if (name == QLatin1String("Color")) {
        SetColor(TSettingValue::Color(value));
    } else if (name == QLatin1String("BackWall.Brush.Color")) {
        SetBackWall(TSettingValue::Color(value), backWallFilled_);
    } else if (name == QLatin1String("BackWall.Brush.Style")) {
        const QString style = TSettingValue::OneOf(value, {"bsClear", "bsSolid"});
        SetBackWall(backWallColour_, style == QLatin1String("bsSolid"));
    } else if (name == QLatin1String("OnContextPopup")) {
        OnContextPopup = context.ContextPopupHandler(TSettingValue::String(value));
    } else if (name == QLatin1String("Left")) {
        move(context.Scale(TSettingValue::Int(value)), y());
    } else if (name == QLatin1String("Top")) {
        move(x(), context.Scale(TSettingValue::Int(value)));
    } else if (name == QLatin1String("Width")) {
        resize(context.Scale(TSettingValue::Int(value)), height());
    } else if (name == QLatin1String("Height")) {
        resize(width(), context.Scale(TSettingValue::Int(value)));
    } else if (name == QLatin1String("TabOrder")) {
        TSettingValue::Int(value); // the chart is no tab stop; its place in the order is moot
    } else {
        return TComponent::ReadProperty(name, value, context);
    }
    return true;
}

void TChart::CopyToClipboardBitmap() const {
    const QImage bitmap = ToBitmap();
    TClipboard::SetImage(bitmap);
}
