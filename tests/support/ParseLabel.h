#pragma once

#include <QString>
#include <gtest/gtest.h>

// The number an axis label writes, decimal comma and all; a label that is no number fails the
// running test.
inline double ParseLabel(QString label) {
    label.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = label.toDouble(&ok);
    EXPECT_TRUE(ok) << label.toStdString();
    return value;
}
