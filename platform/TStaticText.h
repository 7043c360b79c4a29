#pragma once

#include "platform/TComponent.h"

#include <QLabel>

// A caption: one line of text that never takes the focus and, with AutoSize (the default),
// sizes itself to its text whenever the text or the font changes.
class TStaticText : public QLabel, public TComponent {
    Q_OBJECT

public:
    explicit TStaticText(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    QString Caption() const { return text(); }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    bool ReadProperty(const QString& name, const QJsonValue& value,
                      const TReadContext& context) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void FitText();

    bool autoSize_ = true;
};
