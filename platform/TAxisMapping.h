#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

// One axis of a chart: a data range mapped linearly onto a pixel range, both ways. The pixel
// range may run backwards (a vertical axis grows upwards). Pixel coordinates are continuous:
// pixel k covers [k, k + 1).
class TAxisMapping {
public:
    // The range shown when there is nothing to show.
    static constexpr double kEmptyLo = 0.0;
    static constexpr double kEmptyHi = 1.0;
    // A view is never narrower than this fraction of its largest magnitude (some eight steps
    // of a single-precision value, the precision of the points), nor wider than kMaxMagnitude.
    static constexpr double kMinRelativeSpan = 1.0 / (1 << 21);
    static constexpr double kMinSpan = 1e-30;
    static constexpr double kMaxMagnitude = 1e300;

    TAxisMapping() = default;
    // The data range is made safe with Guard first.
    TAxisMapping(double dataLo, double dataHi, double pixelLo, double pixelHi);

    double DataLo() const { return dataLo_; }
    double DataHi() const { return dataHi_; }
    double PixelLo() const { return pixelLo_; }
    double PixelHi() const { return pixelHi_; }

    double ToPixel(double value) const { return pixelLo_ + (value - dataLo_) * scale_; }
    double ToData(double pixel) const { return dataLo_ + (pixel - pixelLo_) / scale_; }
    // Pixels per data unit; negative for a backwards pixel range.
    double Scale() const { return scale_; }
    // Data units per pixel, always positive.
    double UnitsPerPixel() const;

    // A usable data range for any input: finite, ascending, with room for a single value, and
    // within the span limits above, keeping the centre where it can.
    static std::pair<double, double> Guard(double lo, double hi);

    // The smallest round step (1, 2 or 5 times a power of ten) at least minPixels apart.
    double TickStep(double minPixels) const;
    // Every multiple of step inside the data range widened by margin pixels at each end (the
    // part of the axis outside the data that the plot still shows), ascending.
    std::vector<double> Ticks(double step, double margin = 0) const;

    struct TTick {
        double value;
        double pixel;
        QString label;
    };
    // Ticks at a round step whose labels keep at least gap pixels between them along the
    // axis, given the extent of a label along the axis (its width on a horizontal axis, its
    // height on a vertical one), and no closer than minPixels; over the data range widened by
    // margin pixels at each end.
    std::vector<TTick> ChooseTicks(const std::function<double(const QString&)>& extent, double gap,
                                   double minPixels, double margin = 0) const;

    // A value written with a decimal comma, with as many decimals as resolution resolves:
    // "-0,5", "1,5", "0". Very large or small magnitudes use an exponent: "1,5E-12". Trailing
    // zeros of the fraction are dropped unless keepZeros asks for a fixed width.
    static QString Format(double value, double resolution, bool keepZeros = false);

private:
    double dataLo_ = kEmptyLo;
    double dataHi_ = kEmptyHi;
    double pixelLo_ = 0.0;
    double pixelHi_ = 1.0;
    double scale_ = 1.0; // pixels per data unit, negative for a backwards pixel range
};
