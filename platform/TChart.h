#pragma once

#include "platform/Events.h"
#include "platform/TAxisMapping.h"
#include "platform/TComponent.h"
#include "platform/TPointSeries.h"
#include "rtl/Colors.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

class QPainter;

// A two-dimensional chart of point series: a title on top, a left and a bottom axis with
// ticks at round values, and the points as single dots in their own colours. The whole chart
// is kept as an image at device resolution and redrawn only when data, size or view change.
//
// Navigation: a left drag towards the bottom right zooms to the dragged rectangle, one towards
// the top left or a double click returns to the view that fits all points; the wheel zooms
// about the pointer; a middle drag or Shift + left drag pans. Over the plot the pointer's
// coordinates are shown in its top-right corner. The chart never takes the keyboard focus.
class TChart : public QWidget, public TComponent {
    Q_OBJECT

public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // The chart owns its series; references stay valid for the chart's life.
    TPointSeries& AddSeries();
    int SeriesCount() const { return int(series_.size()); }
    TPointSeries& Series(int index) { return *series_.at(std::size_t(index)); }
    const TPointSeries& Series(int index) const { return *series_.at(std::size_t(index)); }

    const QStringList& TitleText() const { return title_; }
    void SetTitleText(const QStringList& lines);
    TColor Color() const { return colour_; }
    void SetColor(TColor colour);
    // The plot's own fill; without it (bsClear) the chart's colour shows through.
    void SetBackWall(TColor colour, bool filled);

    // Raised by a right mouse click with the click in client coordinates; never from the
    // keyboard.
    TContextPopupEvent OnContextPopup;

    // A data range per axis.
    struct TView {
        double xLo, xHi, yLo, yHi;
    };
    // The view in use: the one set by navigation, or else the one fitting all points.
    TView View() const;
    bool IsAutoView() const;
    void SetView(const TView& view);
    void ResetView();

    // Where everything goes at a size, in device-independent pixels. plot is the inside of
    // the axis frame; the mappings take data to continuous pixel coordinates.
    struct TLayout {
        QRect plot;
        TAxisMapping horizontal;
        TAxisMapping vertical;
        std::vector<TAxisMapping::TTick> xTicks;
        std::vector<TAxisMapping::TTick> yTicks;
    };
    TLayout Layout(const QSize& size) const;
    TLayout Layout() const { return Layout(size()); }

    // The coordinates shown for the pointer; empty while the pointer is not over the plot.
    QString ReadoutText() const;

    // Draws the chart over (0, 0, size) at the resolution of the painter's device; used for
    // the screen and for bitmaps alike.
    void Draw(QPainter& painter, const QSize& size) const;
    // The chart at its client size in device pixels, opaque, as it shows on the screen.
    QImage ToBitmap() const;
    QImage ToBitmap(qreal devicePixelRatio) const;
    // Puts ToBitmap() on the clipboard as its only content; EClipboardException when the
    // clipboard cannot be taken. The bitmap is released on every path.
    void CopyToClipboardBitmap() const;
    // Renders the whole chart afresh at a size and resolution, bypassing the kept image.
    QImage Render(const QSize& size, qreal devicePixelRatio) const;

    bool ReadProperty(const QString& name, const QJsonValue& value,
                      const TReadContext& context) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Drag { None, Zoom, Pan };

    void SyncWithSeries() const;
    TView AutoView() const;
    void Changed();
    const QImage& CachedImage(const QSize& size, qreal devicePixelRatio) const;
    void PlotPoints(QImage& image, const TLayout& layout, qreal devicePixelRatio) const;
    void KeepUnderPointer(double anchorX, double anchorY, const QPointF& position);
    void UpdateReadout(const QPoint& position);

    std::vector<std::unique_ptr<TPointSeries>> series_;
    QStringList title_;
    TColor colour_ = clWhite;
    TColor backWallColour_ = clWhite;
    bool backWallFilled_ = false;
    QFont titleFont_;
    QFont labelFont_;

    // The view follows the data until navigation sets one; a new fill returns to following.
    mutable bool autoView_ = true;
    mutable TView view_{0, 1, 0, 1};
    mutable std::vector<std::uint64_t> seenClears_;
    mutable std::uint64_t version_ = 0; // settings and view

    // The rendered chart and what it was rendered from.
    mutable QImage cache_;
    mutable QSize cacheSize_;
    mutable qreal cacheRatio_ = 0;
    mutable std::uint64_t cacheVersion_ = ~std::uint64_t(0);
    mutable std::vector<std::uint64_t> cacheChanges_;

    Drag drag_ = Drag::None;
    QPoint dragStart_;
    QPoint dragNow_;
    TView dragView_{0, 1, 0, 1};
    TAxisMapping dragHorizontal_;
    TAxisMapping dragVertical_;
    bool dragMoved_ = false;
    bool pointerOverPlot_ = false;
    QPoint pointer_;
};
