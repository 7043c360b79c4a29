#pragma once

#include "platform/Events.h"
#include "platform/TComponent.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

// A top-level window built from a form description: the description names its components,
// their settings and the handlers of their events; the form class declares the fields that
// receive the components and the handlers that events may be bound to.
class TForm : public QWidget, public TComponent {
    Q_OBJECT

public:
    explicit TForm(QWidget* parent = nullptr);

    bool ReadProperty(const QString& name, const QJsonValue& value,
                      const TReadContext& context) override;

    // The stored outer geometry, frame included, in device-independent pixels.
    void SetOuterBounds(const QRect& bounds);
    QRect OuterBounds() const { return outerBounds_; }

    // Looked up by the form reader.
    TNotifyEvent FindNotifyHandler(const QString& name) const;
    TKeyPressEvent FindKeyPressHandler(const QString& name) const;
    TContextPopupEvent FindContextPopupHandler(const QString& name) const;

    // The reader hands every component it creates to the field of that name, if any.
    // Returns false for a component whose class does not fit the field.
    bool AssignField(const QString& name, TComponent* component);
    // Names of the fields that no component filled.
    std::vector<QString> UnassignedFields() const;

    // The control that takes the focus when the window first becomes active.
    void SetFirstFocus(QWidget* control) { firstFocus_ = control; }

protected:
    // Reads the description stored as the resource named after the class, in upper case.
    void ReadForm(const QString& className);

    template <class TFormClass>
    void Handler(const QString& name, void (TFormClass::*method)(TObject*));
    template <class TFormClass>
    void Handler(const QString& name, void (TFormClass::*method)(TObject*, char&));
    template <class TFormClass>
    void Handler(const QString& name, void (TFormClass::*method)(TObject*, TPoint, bool&));
    template <class TComponentClass> void Field(const QString& name, TComponentClass*& field);

    bool event(QEvent* event) override;

private:
    void FitFrame();

    std::map<QString, TNotifyEvent> notifyHandlers_;
    std::map<QString, TKeyPressEvent> keyPressHandlers_;
    std::map<QString, TContextPopupEvent> contextPopupHandlers_;
    struct TField {
        std::function<bool(TComponent*)> assign;
        bool assigned = false;
    };
    std::map<QString, TField> fields_;
    QRect outerBounds_;
    bool frameFitted_ = false;
    bool activated_ = false;
    QWidget* firstFocus_ = nullptr;
};

template <class TFormClass>
void TForm::Handler(const QString& name, void (TFormClass::*method)(TObject*)) {
    notifyHandlers_[name] = [this, method](TObject* sender) {
        (static_cast<TFormClass*>(this)->*method)(sender);
    };
}

template <class TFormClass>
void TForm::Handler(const QString& name, void (TFormClass::*method)(TObject*, char&)) {
    keyPressHandlers_[name] = [this, method](TObject* sender, char& key) {
        (static_cast<TFormClass*>(this)->*method)(sender, key);
    };
}

template <class TFormClass>
void TForm::Handler(const QString& name, void (TFormClass::*method)(TObject*, TPoint, bool&)) {
    contextPopupHandlers_[name] = [this, method](TObject* sender, TPoint pos, bool& handled) {
        (static_cast<TFormClass*>(this)->*method)(sender, pos, handled);
    };
}

template <class TComponentClass> void TForm::Field(const QString& name, TComponentClass*& field) {
    fields_[name].assign = [&field](TComponent* component) {
        auto* typed = dynamic_cast<TComponentClass*>(component);
        if (typed == nullptr)
            return false;
        field = typed;
        return true;
    };
}
