#pragma once

#include "rtl/Colors.h"

#include <QJsonValue>
#include <QString>
#include <initializer_list>

// Reads the values of stored settings. Each throws EReadError when the value is not of the
// expected kind, so a typo in a form description never passes silently.
struct TSettingValue {
    // true/false, also written as the words True/False.
    static bool Bool(const QJsonValue& value);
    static int Int(const QJsonValue& value);
    static QString String(const QJsonValue& value);
    // A colour name such as clWhite, or the colour's number (0x00BBGGRR).
    static TColor Color(const QJsonValue& value);
    // A list of text lines, or one text as a single line.
    static QStringList Lines(const QJsonValue& value);
    // Throws unless the value is one of the accepted words.
    static QString OneOf(const QJsonValue& value, std::initializer_list<const char*> accepted);

    [[noreturn]] static void Invalid();
};
