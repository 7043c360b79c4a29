#include "platform/TStaticText.h"

#include "platform/TSettingValue.h"

#include <QEvent>

TStaticText::TStaticText(QWidget* parent) : QLabel(parent) {
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TStaticText::SetCaption(const QString& caption) {
    setText(caption);
    FitText();
}

void TStaticText::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitText();
}

void TStaticText::FitText() {
    if (autoSize_)
        resize(sizeHint());
}

void TStaticText::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitText();
}

bool TStaticText::ReadProperty(const QString& name, const QJsonValue& value,
                               const TReadContext& context) {
    if (name == u"Caption") {
        SetCaption(TSettingValue::String(value));
        return true;
    }
    if (name == u"AutoSize") {
        SetAutoSize(TSettingValue::Bool(value));
        return true;
    }
    return TComponent::ReadProperty(name, value, context);
}
