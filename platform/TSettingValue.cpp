#include "platform/TSettingValue.h"

#include "rtl/Exceptions.h"

#include <QJsonArray>
#include <QStringList>
#include <cmath>

void TSettingValue::Invalid() {
    throw EReadError("Invalid property value");
}

bool TSettingValue::Bool(const QJsonValue& value) {
    if (value.isBool())
        return value.toBool();
    if (value.isString()) {
        const QString word = value.toString();
        if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    Invalid();
}

int TSettingValue::Int(const QJsonValue& value) {
    if (!value.isDouble())
        Invalid();
    const double number = value.toDouble();
    if (number != std::floor(number) || number < -2147483648.0 || number > 2147483647.0)
        Invalid();
    return int(number);
}

QString TSettingValue::String(const QJsonValue& value) {
    if (!value.isString())
        Invalid();
    return value.toString();
}

TColor TSettingValue::Color(const QJsonValue& value) {
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (number != std::floor(number) || number < 0 || number > 0xFFFFFF)
            Invalid();
        return TColor(number);
    }
    struct Named {
        const char* name;
        TColor colour;
    };
    static constexpr Named names[] = {
        {"clBlack", clBlack}, {"clGreen", clGreen}, {"clRed", clRed}, {"clWhite", clWhite}};
    const QString name = String(value);
    for (const Named& entry : names)
        if (name == QLatin1String(entry.name))
            return entry.colour;
    Invalid();
}

QStringList TSettingValue::Lines(const QJsonValue& value) {
    if (value.isString())
        return {value.toString()};
    if (!value.isArray())
        Invalid();
    QStringList lines;
    for (const QJsonValue& line : value.toArray())
        lines.append(String(line));
    return lines;
}

QString TSettingValue::OneOf(const QJsonValue& value, std::initializer_list<const char*> accepted) {
    const QString word = String(value);
    for (const char* candidate : accepted)
        if (word == QLatin1String(candidate))
            return word;
    Invalid();
}
