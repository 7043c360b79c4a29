#pragma once

#include <QColor>
#include <QJsonValue>

// A colour as a form description stores it: a name such as "clWhite" or "clBtnFace" (the
// system colours follow the application palette) or a number 0x00BBGGRR. Throws EReadError
// for anything else.
QColor ColorFromStoredValue(const QJsonValue& value);
