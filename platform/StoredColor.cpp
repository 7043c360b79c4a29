#include "platform/StoredColor.h"

#include "rtl/Colors.h"
#include "rtl/Exceptions.h"

#include <QApplication>
#include <QPalette>

namespace {

QColor FromTColor(TColor colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

} // namespace

QColor ColorFromStoredValue(const QJsonValue& value) {
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (number < 0 || number > 0xFFFFFF || number != double(qint64(number)))
            throw EReadError("Invalid property value");
        return FromTColor(TColor(qint64(number)));
    }
    const QString name = value.toString();
    const QPalette palette = QApplication::palette();
    if (name == u"clBtnFace")
        return palette.color(QPalette::Button);
    if (name == u"clWindow")
        return palette.color(QPalette::Base);
    if (name == u"clWindowText")
        return palette.color(QPalette::WindowText);
    if (name == u"clWhite")
        return FromTColor(clWhite);
    if (name == u"clBlack")
        return FromTColor(clBlack);
    if (name == u"clRed")
        return FromTColor(clRed);
    if (name == u"clGreen")
        return FromTColor(clGreen);
    throw EReadError("Invalid property value");
}
