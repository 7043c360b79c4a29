#include "platform/TMenuItem.h"

#include "platform/TReadContext.h"
#include "platform/TSettingValue.h"

TMenuItem::TMenuItem(QObject* parent) : QAction(parent) {
    // Queued: the menu closes and its caller returns before the command runs, and the
    // command runs inside the application's guard like any other event.
    connect(
        this, &QAction::triggered, this,
        [this] {
            if (onClick_)
                onClick_(this);
        },
        Qt::QueuedConnection);
}

bool TMenuItem::ReadProperty(const QString& name, const QJsonValue& value,
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
