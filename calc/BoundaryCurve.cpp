#include "calc/BoundaryCurve.h"

#include "rtl/Exceptions.h"

#include <cfloat>

namespace BoundaryCurveDetail {

void ThrowOverflow() {
    throw EOverflow("Floating point overflow");
}

} // namespace BoundaryCurveDetail

namespace {

// Steps from omega that all round on the grid of omega's binade, and so all move omega by the
// same amount: the loop counts them at once. Steps == 0 when the next step has to be taken alone
// (it leaves the binade, rounds a tie, or omega is 0, subnormal or not finite).
struct TStretch {
    std::uint64_t Steps = 0;
    double Increment = 0;
};

TStretch FindStretch(float omega, float step, float omegaMax) {
    const float magnitude = std::fabs(omega);
    if (!(magnitude >= FLT_MIN) || !std::isfinite(magnitude)) {
        return {};
    }
    int e = 0;
    std::frexp(magnitude, &e); // magnitude in [2^(e-1), 2^e)
    const double ulp = std::ldexp(1.0, e - 24);
    // Every value here is a multiple of ulp below 2^26 of them, so doubles hold them exactly.
    const double w = omega / ulp;
    const double s = double(step) / ulp;
    if (s - std::floor(s) == 0.5) {
        return {}; // the step rounds by the parity of omega: no fixed increment
    }
    const double k = std::nearbyint(s);
    if (k < 1.0) {
        return {};
    }
    // The last omega from which a step still rounds on this grid: the sum must stay within the
    // binade, below its top for positive omega and at or below its bottom for negative omega.
    const double top = omega > 0 ? std::ldexp(1.0, 24) - 1.0 : -std::ldexp(1.0, 23);
    const double stepsOnGrid = std::floor((top - s - w) / k);
    if (stepsOnGrid < 0) {
        return {};
    }
    // Only omegas below OmegaMax are sampled.
    const double bound = double(omegaMax) / ulp;
    const double stepsBelowMax = std::ceil((bound - w) / k) - 1.0;
    if (stepsBelowMax < 0) {
        return {};
    }
    return {static_cast<std::uint64_t>(std::fmin(stepsOnGrid, stepsBelowMax)) + 1, k * ulp};
}

} // namespace

std::uint64_t CountBoundaryCurveSamples(const TCurveParameters& parameters, std::uint64_t limit) {
    const float step = parameters.Step;
    const float omegaMax = parameters.OmegaMax;
    std::uint64_t count = 0;
    float omega = -omegaMax;
    while (omega < omegaMax) {
        if (count > limit) {
            return limit + 1;
        }
        const TStretch stretch = FindStretch(omega, step, omegaMax);
        if (stretch.Steps > 0) {
            // Exact: the result is a multiple of the grid inside omega's binade.
            omega = static_cast<float>(double(omega) + double(stretch.Steps) * stretch.Increment);
            count += stretch.Steps;
            continue;
        }
        const float next = BoundaryCurveDetail::RoundToSingle(omega + step);
        ++count;
        if (!(next > omega)) {
            return limit + 1; // omega no longer moves: the loop would never end
        }
        omega = next;
    }
    return count > limit ? limit + 1 : count;
}
