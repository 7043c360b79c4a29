#include "platform/TForm.h"

#include "platform/StoredColor.h"
#include "platform/TFormReader.h"
#include "rtl/Exceptions.h"

#include <QApplication>
#include <QEvent>
#include <QJsonArray>
#include <QPalette>

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    // Controls keep their stored places; the window is sizeable with minimise and maximise.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
}

void TForm::ReadForm(const QString& className) {
    TFormReader reader(*this);
    reader.ReadResource(className);
}

bool TForm::ReadProperty(const QString& name, const QJsonValue& value,
                         const TReadContext& context) {
    if (name == u"Caption") {
        if (!value.isString())
            throw EReadError("Invalid property value");
        setWindowTitle(value.toString());
        return true;
    }
    if (name == u"Color") {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, ColorFromStoredValue(value));
        setPalette(palette);
        return true;
    }
    if (name == u"Position") {
        // Only the stored position is supported: the window opens where it was designed.
        if (value.toString() != u"poDesigned")
            throw EReadError("Invalid property value");
        return true;
    }
    if (name == u"BorderStyle") {
        if (value.toString() != u"bsSizeable")
            throw EReadError("Invalid property value");
        return true;
    }
    if (name == u"BorderIcons") {
        if (!value.isArray())
            throw EReadError("Invalid property value");
        Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        for (const QJsonValue& icon : value.toArray()) {
            const QString iconName = icon.toString();
            if (iconName == u"biSystemMenu")
                flags |= Qt::WindowSystemMenuHint;
            else if (iconName == u"biMinimize")
                flags |= Qt::WindowMinimizeButtonHint;
            else if (iconName == u"biMaximize")
                flags |= Qt::WindowMaximizeButtonHint;
            else
                throw EReadError("Invalid property value");
        }
        setWindowFlags(flags);
        return true;
    }
    if (name == u"TextHeight") {
        // The designer's measure of the font; the font itself is scaled, so this is unused.
        if (!value.isDouble())
            throw EReadError("Invalid property value");
        return true;
    }
    return TComponent::ReadProperty(name, value, context);
}

void TForm::SetOuterBounds(const QRect& bounds) {
    outerBounds_ = bounds;
    frameFitted_ = false;
    // A top-level move places the frame; the size is the client's until the frame is known.
    move(bounds.topLeft());
    resize(bounds.size());
    FitFrame();
}

void TForm::FitFrame() {
    if (frameFitted_ || !outerBounds_.isValid() || !isWindow())
        return;
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isEmpty() && !isVisible())
        return;
    if (frame.width() > 0 || frame.height() > 0) {
        frameFitted_ = true;
        resize(outerBounds_.size() - frame);
    }
}

bool TForm::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
        if (!activated_ && firstFocus_ != nullptr && focusWidget() == nullptr)
            firstFocus_->setFocus(Qt::OtherFocusReason);
        break;
    case QEvent::WindowActivate:
        if (!activated_) {
            activated_ = true;
            if (firstFocus_ != nullptr)
                firstFocus_->setFocus(Qt::ActiveWindowFocusReason);
        }
        break;
    default:
        break;
    }
    const bool result = QWidget::event(event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WinIdChange:
        FitFrame();
        break;
    default:
        break;
    }
    return result;
}

TNotifyEvent TForm::FindNotifyHandler(const QString& name) const {
    const auto it = notifyHandlers_.find(name);
    return it == notifyHandlers_.end() ? TNotifyEvent() : it->second;
}

TKeyPressEvent TForm::FindKeyPressHandler(const QString& name) const {
    const auto it = keyPressHandlers_.find(name);
    return it == keyPressHandlers_.end() ? TKeyPressEvent() : it->second;
}

TContextPopupEvent TForm::FindContextPopupHandler(const QString& name) const {
    const auto it = contextPopupHandlers_.find(name);
    return it == contextPopupHandlers_.end() ? TContextPopupEvent() : it->second;
}

bool TForm::AssignField(const QString& name, TComponent* component) {
    const auto it = fields_.find(name);
    if (it == fields_.end())
        return true;
    if (!it->second.assign(component))
        return false;
    it->second.assigned = true;
    return true;
}

std::vector<QString> TForm::UnassignedFields() const {
    std::vector<QString> names;
    for (const auto& [name, field] : fields_) {
        if (!field.assigned)
            names.push_back(name);
    }
    return names;
}
