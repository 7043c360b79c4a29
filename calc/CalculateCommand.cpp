#include "calc/CalculateCommand.h"

#include "calc/BoundaryCurve.h"
#include "calc/NumberText.h"
#include "rtl/Exceptions.h"

namespace {

constexpr int kValueColumn = 1;
constexpr int kCoefficientRows = 7;
constexpr int kStepRow = 1;
constexpr int kOmegaMaxRow = 2;

void DefaultIfBlank(TCalculateTarget& target, TGridId grid, int row, const char* text) {
    if (target.ReadCell(grid, kValueColumn, row).empty()) {
        target.WriteCell(grid, kValueColumn, row, text);
    }
}

float ReadValue(TCalculateTarget& target, TGridId grid, int row) {
    return TextToSingle(target.ReadCell(grid, kValueColumn, row));
}

// Refuses, before anything on the chart changes, a sampling that would never end or would
// flood the series.
void CheckSampling(const TCurveParameters& parameters) {
    if (!(parameters.OmegaMax > 0)) {
        return; // no point at all, which is no error
    }
    if (!(parameters.Step > 0)) {
        throw Exception("Шаг должен быть больше нуля");
    }
    if (CountBoundaryCurveSamples(parameters, kMaxCurvePoints) > kMaxCurvePoints) {
        throw Exception("Шаг слишком мал: точек было бы больше " + std::to_string(kMaxCurvePoints));
    }
}

} // namespace

void RunCalculateCommand(TCalculateTarget& target) {
    // The coefficients enter no formula yet; they are still defaulted and validated, so that
    // a bad text in any cell stops the command.
    float coefficients[kCoefficientRows];
    for (int row = 1; row <= kCoefficientRows; ++row) {
        DefaultIfBlank(target, TGridId::StringGrid1, row, "0");
        coefficients[row - 1] = ReadValue(target, TGridId::StringGrid1, row);
    }
    (void)coefficients;

    // Both parameter defaults go in before either is converted.
    DefaultIfBlank(target, TGridId::StringGrid2, kStepRow, "0,01");
    DefaultIfBlank(target, TGridId::StringGrid2, kOmegaMaxRow, "6");
    TCurveParameters parameters{};
    parameters.Step = ReadValue(target, TGridId::StringGrid2, kStepRow);
    parameters.OmegaMax = ReadValue(target, TGridId::StringGrid2, kOmegaMaxRow);

    CheckSampling(parameters);

    target.EmptySeries();
    const std::string label;
    SampleBoundaryCurve(parameters, [&](const TCurvePoint& point) {
        target.AddPoint(point.X, point.Y, label, clGreen);
    });
}
