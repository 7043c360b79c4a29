#include "platform/TComponent.h"

bool TComponent::ReadProperty(const QString& name, const QJsonValue& value,
                              const TReadContext& context) {
    (void)name;
    (void)value;
    (void)context;
    return false;
}
