#pragma once

#include "platform/Events.h"
#include "platform/TComponent.h"

#include <QPushButton>

// A push button whose OnClick handler runs for every click, by mouse or keyboard.
class TButton : public QPushButton, public TComponent {
    Q_OBJECT

public:
    explicit TButton(QWidget* parent = nullptr);

    void SetCaption(const QString& caption) { setText(caption); }
    QString Caption() const { return text(); }

    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }

    bool ReadProperty(const QString& name, const QJsonValue& value,
                      const TReadContext& context) override;

private:
    TNotifyEvent onClick_;
};
