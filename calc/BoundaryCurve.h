#pragma once

#include <cmath>
#include <cstdint>
#include <utility>

// One point of the boundary curve: single-precision results carried in double precision.
struct TCurvePoint {
    double X;
    double Y;
};

struct TCurveParameters {
    float Step;
    float OmegaMax;
};

namespace BoundaryCurveDetail {

// Rounds to single precision in a way no optimiser may skip. With excess precision allowed
// (GCC's C++ default), the vectoriser can fold a double -> float -> double round trip away, and
// the points would come out unrounded in optimised builds only.
inline float RoundToSingle(double value) noexcept {
    float result = static_cast<float>(value);
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__)) && defined(__SSE__)
    __asm__("" : "+x"(result));
#elif defined(__GNUC__) && defined(__aarch64__)
    __asm__("" : "+w"(result));
#else
    volatile float stored = result;
    result = stored;
#endif
    return result;
}

[[noreturn]] void ThrowOverflow();

} // namespace BoundaryCurveDetail

// Computes the curve's point at omega. Throws EOverflow when den leaves the single-precision
// range, for |omega| above about 1.05e10; while den is finite, X stays below 15 and |Y| within
// a few times |omega|, so neither can overflow.
inline TCurvePoint BoundaryCurvePoint(float omega) {
    using BoundaryCurveDetail::RoundToSingle;
    const double w = omega;
    const double w2 = w * w;
    const double w3 = w2 * w;
    const double w4 = w2 * w2;
    const double w5 = w4 * w;
    const float den = RoundToSingle(w2 * 1.028 + w4 * 0.028 + 1.0);
    if (!std::isfinite(den)) {
        BoundaryCurveDetail::ThrowOverflow();
    }
    const float x = RoundToSingle((w2 * 0.533 + w4 * 0.416) / double(den));
    const float y = RoundToSingle((w4 * 0.167 + w5 * -0.1 - w3 * 1.384 - w) / double(den));
    return TCurvePoint{x, y};
}

// Samples the curve for omega from -OmegaMax upwards in steps of Step (accumulated in single
// precision) while omega < OmegaMax, handing each point to sink before the next is computed.
// The loop has no bound of its own: with a Step that cannot move omega it never ends, so
// callers check the parameters first (CountBoundaryCurveSamples).
template <class Sink> void SampleBoundaryCurve(const TCurveParameters& parameters, Sink&& sink) {
    const float step = parameters.Step;
    const float omegaMax = parameters.OmegaMax;
    for (float omega = -omegaMax; omega < omegaMax;
         omega = BoundaryCurveDetail::RoundToSingle(omega + step)) {
        const TCurvePoint point = BoundaryCurvePoint(omega);
        sink(point);
    }
}

// The number of points SampleBoundaryCurve yields for these parameters, exactly as its loop
// accumulates omega, or limit + 1 when that is more than limit (a Step that never lets omega
// reach OmegaMax included). Costs microseconds where the loop would take seconds: within one
// binade of omega every step moves by the same amount, so whole stretches are counted at once.
std::uint64_t CountBoundaryCurveSamples(const TCurveParameters& parameters, std::uint64_t limit);
