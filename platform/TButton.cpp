#include "platform/TButton.h"

#include "platform/TReadContext.h"
#include "rtl/Exceptions.h"

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
        if (!value.isString())
            throw EReadError("Invalid property value");
        SetCaption(value.toString());
        return true;
    }
    if (name == u"OnClick") {
        if (!value.isString())
            throw EReadError("Invalid property value");
        SetOnClick(context.NotifyHandler(value.toString()));
        return true;
    }
    return TComponent::ReadProperty(name, value, context);
}
