#pragma once

#include "platform/Events.h"
#include "platform/TComponent.h"

#include <QAction>

// One command of a popup menu. Its OnClick runs from the event queue, once the menu that
// it was chosen from has closed and the code that opened the menu has returned.
class TMenuItem : public QAction, public TComponent {
    Q_OBJECT

public:
    explicit TMenuItem(QObject* parent = nullptr);

    void SetCaption(const QString& caption) { setText(caption); }
    QString Caption() const { return text(); }

    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }

    bool ReadProperty(const QString& name, const QJsonValue& value,
                      const TReadContext& context) override;

private:
    TNotifyEvent onClick_;
};
