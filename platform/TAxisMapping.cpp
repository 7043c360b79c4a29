#include "platform/TAxisMapping.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// Ticks on one axis are never more than this; a range asking for more gets a larger step.
constexpr double kMaxTicks = 10000;

// Decimal exponent of the leading digit, with a little slack so that 0.1 counts as 10^-1
// although log10 may land a hair below -1.
int LeadingExponent(double positive) {
    return int(std::floor(std::log10(positive) + 1e-9));
}

double NextRoundStep(double step) {
    const double base = std::pow(10.0, LeadingExponent(step));
    const double mantissa = step / base;
    if (mantissa < 1.5)
        return 2 * base;
    if (mantissa < 3.5)
        return 5 * base;
    return 10 * base;
}

} // namespace

TAxisMapping::TAxisMapping(double dataLo, double dataHi, double pixelLo, double pixelHi) {
    std::tie(dataLo_, dataHi_) = Guard(dataLo, dataHi);
    if (!std::isfinite(pixelLo))
        pixelLo = 0;
    if (!std::isfinite(pixelHi) || pixelHi == pixelLo)
        pixelHi = pixelLo + 1;
    pixelLo_ = pixelLo;
    pixelHi_ = pixelHi;
    scale_ = (pixelHi_ - pixelLo_) / (dataHi_ - dataLo_);
}

double TAxisMapping::UnitsPerPixel() const {
    return std::abs(1.0 / scale_);
}

std::pair<double, double> TAxisMapping::Guard(double lo, double hi) {
    if (!std::isfinite(lo) && !std::isfinite(hi))
        return {kEmptyLo, kEmptyHi};
    if (!std::isfinite(lo))
        lo = hi;
    if (!std::isfinite(hi))
        hi = lo;
    if (lo > hi)
        std::swap(lo, hi);
    lo = std::clamp(lo, -kMaxMagnitude, kMaxMagnitude);
    hi = std::clamp(hi, -kMaxMagnitude, kMaxMagnitude);

    const double centre = lo / 2 + hi / 2;
    double span = hi - lo;
    if (span == 0) // a single value: show it in the middle with room either side
        span = centre != 0 ? std::abs(centre) * 0.2 : 2.0;
    const double magnitude = std::max(std::abs(lo), std::abs(hi));
    span = std::max(span, std::max(magnitude * kMinRelativeSpan, kMinSpan));
    if (span != hi - lo) {
        lo = centre - span / 2;
        hi = centre + span / 2;
    }
    // Keep the span when the centre sits at the limit.
    if (hi > kMaxMagnitude) {
        hi = kMaxMagnitude;
        lo = std::max(-kMaxMagnitude, hi - span);
    }
    if (lo < -kMaxMagnitude) {
        lo = -kMaxMagnitude;
        hi = std::min(kMaxMagnitude, lo + span);
    }
    return {lo, hi};
}

double TAxisMapping::TickStep(double minPixels) const {
    const double raw = std::max(minPixels, 1e-9) * UnitsPerPixel();
    const double base = std::pow(10.0, LeadingExponent(raw));
    for (const double mantissa : {1.0, 2.0, 5.0}) {
        if (mantissa * base >= raw * (1 - 1e-12))
            return mantissa * base;
    }
    return 10 * base;
}

std::vector<double> TAxisMapping::Ticks(double step, double margin) const {
    std::vector<double> ticks;
    if (!(step > 0) || !std::isfinite(step))
        return ticks;
    const double widen = std::max(margin, 0.0) * UnitsPerPixel();
    const double first = std::ceil((dataLo_ - widen) / step);
    const double last = std::floor((dataHi_ + widen) / step);
    if (!(last - first < kMaxTicks))
        return ticks;
    // Each tick is its own multiple of step, so errors do not pile up along the axis.
    for (double k = first; k <= last; ++k)
        ticks.push_back(k * step);
    return ticks;
}

std::vector<TAxisMapping::TTick>
TAxisMapping::ChooseTicks(const std::function<double(const QString&)>& extent, double gap,
                          double minPixels, double margin) const {
    const double pixelsPerUnit = 1.0 / UnitsPerPixel();
    double step = TickStep(minPixels);
    std::vector<TTick> ticks;
    // A step grows at least twofold per attempt; the attempts cover any double range.
    for (int attempt = 0; attempt < 4 * 330; ++attempt) {
        ticks.clear();
        double widest = 0;
        for (const double value : Ticks(step, margin)) {
            QString label = Format(value, step);
            widest = std::max(widest, extent(label));
            ticks.push_back({value, ToPixel(value), std::move(label)});
        }
        if (!ticks.empty() && step * pixelsPerUnit >= widest + gap)
            return ticks;
        if (ticks.size() <= 1 && step * pixelsPerUnit >= 2 * (widest + gap))
            return ticks; // one label alone cannot overlap
        step = NextRoundStep(step);
    }
    return {};
}

QString TAxisMapping::Format(double value, double resolution, bool keepZeros) {
    if (!std::isfinite(value))
        return QString::number(value);
    if (!(resolution > 0) || !std::isfinite(resolution))
        resolution = value != 0 ? std::abs(value) : 1.0;
    if (std::abs(value) < resolution * 1e-3)
        value = 0;
    const int resolutionExponent = LeadingExponent(resolution);
    const int decimals = std::max(0, -resolutionExponent);
    QString text;
    if (value != 0 && (decimals > 9 || std::abs(value) >= 1e9)) {
        const int exponent = LeadingExponent(std::abs(value));
        const int mantissaDecimals = std::max(0, exponent - resolutionExponent);
        text = QString::number(value, 'e', std::min(mantissaDecimals, 16));
        const qsizetype e = text.indexOf(QLatin1Char('e'));
        text = text.left(e) + QLatin1Char('E') + QString::number(text.mid(e + 1).toInt());
    } else {
        text = QString::number(value, 'f', decimals);
    }
    if (!keepZeros) {
        qsizetype end = text.indexOf(QLatin1Char('E'));
        if (end < 0)
            end = text.size();
        qsizetype cut = end;
        if (text.left(end).contains(QLatin1Char('.'))) {
            while (text[cut - 1] == QLatin1Char('0'))
                --cut;
            if (text[cut - 1] == QLatin1Char('.'))
                --cut;
        }
        text.remove(cut, end - cut);
    }
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    // A value that rounds to zero is written without a sign.
    if (text.startsWith(QLatin1Char('-')) && std::all_of(text.begin() + 1, text.end(), [](QChar c) {
            return c == QLatin1Char('0') || c == QLatin1Char(',');
        }))
        text.remove(0, 1);
    return text;
}
