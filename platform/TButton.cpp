#include "platform/TButton.h"

#include "platform/TReadContext.h"
#include "platform/TSettingValue.h"

TButton::TButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (onClick_)
            onClick_(this);
    });
}

bool TButton::ReadProperty(const QString& name, const QJsonValue& value,
                           const TReadContext& context) {
    if (name == u"Caption") {
        SetCaption(TSettingValue::String(value));
        return true;
    }
    if (name == u"OnClick") {
        SetOnClick(context.NotifyHandler(TSettingValue::String(value)));
        return true;
    }
    return TComponent::ReadProperty(name, value, context);
}
