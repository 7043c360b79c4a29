#pragma once

#include <QJsonValue>
#include <QString>

class TReadContext;

// The part of every component that the form reader talks to. Components are Qt objects as
// well (widgets, menus, the series); this side carries the stored name and settings.
class TComponent {
public:
    TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent() = default;

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }

    // Applies one stored setting (events included, as "OnClick": "Button1Click"). Returns false
    // for a name the component does not have; throws EReadError for a value it cannot take.
    virtual bool ReadProperty(const QString& name, const QJsonValue& value,
                              const TReadContext& context);

private:
    QString name_;
};
