#pragma once

#include "calc/BoundaryCurve.h"

#include <cmath>
#include <cstdint>

// Parameters for a run of the real curve with exactly `points` samples, or as close below as the
// single-precision accumulation of omega allows: Step fixed, OmegaMax searched.
inline TCurveParameters CurveParametersFor(std::uint64_t points) {
    const float step = 12.0f / float(points);
    float low = step, high = 1.0e4f;
    while (std::nextafter(low, high) < high) {
        float middle = std::sqrt(low) * std::sqrt(high);
        if (!(middle > low && middle < high)) {
            middle = std::nextafter(low, high);
        }
        if (CountBoundaryCurveSamples({step, middle}, points) > points) {
            high = middle;
        } else {
            low = middle;
        }
    }
    return {step, low};
}
