#include "platform/FailureText.h"

#include <algorithm>

namespace {

const QChar Ellipsis(0x2026);

// Position after the character that starts at i (one or two UTF-16 units).
qsizetype NextChar(const QString& text, qsizetype i) {
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return i + 2;
    return i + 1;
}

} // namespace

QString ApplicationTitleFromFileName(const QString& fileName) {
    // Both separators: the rule is about file names, whichever system gave them.
    const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    QString name = fileName.mid(slash + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    const qsizetype firstEnd = NextChar(name, 0);
    return name.left(firstEnd).toUpper() + name.mid(firstEnd).toLower();
}

std::string WithFullStop(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > 0x2E)
        message.push_back('.');
    return message;
}

QString ShortenForDisplay(const QString& text) {
    QString shown;
    int lines = 1;
    int lineLength = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        if (shown.size() >= MaxDisplayLength) {
            shown += Ellipsis;
            return shown;
        }
        const QChar c = text.at(i);
        if (c == u'\n') {
            if (lines == MaxDisplayLines) {
                shown += Ellipsis;
                return shown;
            }
            ++lines;
            lineLength = 0;
            shown += c;
            ++i;
            continue;
        }
        if (lineLength == MaxDisplayLineLength) {
            // Drop the rest of this line, keep the lines that follow.
            shown += Ellipsis;
            const qsizetype nl = text.indexOf(u'\n', i);
            if (nl < 0)
                return shown;
            i = nl;
            continue;
        }
        const qsizetype next = NextChar(text, i);
        shown += QStringView(text).mid(i, next - i);
        ++lineLength;
        i = next;
    }
    return shown;
}

QString ApplicationErrorText(const QString& className, const QString& moduleName,
                             std::uint32_t address) {
    // Built by concatenation: none of these texts is ever used as a format.
    return QStringLiteral("Exception ") + className + QStringLiteral(" in module ") + moduleName +
           QStringLiteral(" at ") +
           QStringLiteral("%1").arg(address, 8, 16, QChar(u'0')).toUpper() + QStringLiteral(".\n");
}
