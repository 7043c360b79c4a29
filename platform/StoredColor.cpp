#include "platform/StoredColor.h"

#include "platform/TSettingValue.h"
#include "rtl/Colors.h"

#include <QApplication>
#include <QPalette>

namespace {

QColor FromTColor(TColor colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

} // namespace

QColor ColorFromStoredValue(const QJsonValue& value) {
    if (value.isString()) {
        // The system colours follow the application palette.
        const QString name = value.toString();
        const QPalette palette = QApplication::palette();
        if (name == u"clBtnFace")
            return palette.color(QPalette::Button);
        if (name == u"clWindow")
            return palette.color(QPalette::Base);
        if (name == u"clWindowText")
            return palette.color(QPalette::WindowText);
    }
    return FromTColor(TSettingValue::Color(value));
}
