#include "platform/TFormReader.h"

#include "platform/TApplication.h"
#include "platform/TComponentFactory.h"
#include "platform/TForm.h"
#include "rtl/Exceptions.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

[[noreturn]] void Fail(const QString& component, const QString& property, const QString& reason) {
    // Put together piece by piece: names and reasons may hold any character, '%' included.
    QString message = QStringLiteral("Error reading ") + component;
    if (!property.isEmpty())
        message += u'.' + property;
    message += QStringLiteral(": ") + reason;
    throw EReadError(message.toStdString());
}

[[noreturn]] void InvalidValue() {
    throw EReadError("Invalid property value");
}

int ToInt(const QJsonValue& value) {
    if (!value.isDouble())
        InvalidValue();
    const double number = value.toDouble();
    if (number != std::trunc(number) || std::fabs(number) > 1e6)
        InvalidValue();
    return int(number);
}

bool ToBool(const QJsonValue& value) {
    if (!value.isBool())
        InvalidValue();
    return value.toBool();
}

// The stored font families are Windows ones; where they are missing, metrically close free
// families stand in before the system's own sans serif.
QStringList FontFamilies(const QString& stored) {
    QStringList families{stored};
    if (stored == u"MS Sans Serif")
        families << QStringLiteral("Microsoft Sans Serif");
    if (stored == u"MS Sans Serif" || stored == u"Arial" || stored == u"Microsoft Sans Serif")
        families << QStringLiteral("Liberation Sans") << QStringLiteral("Arimo")
                 << QStringLiteral("Arial") << QStringLiteral("Nimbus Sans")
                 << QStringLiteral("DejaVu Sans");
    families.removeDuplicates();
    return families;
}

} // namespace

TFormReader::TFormReader(TForm& form) : TFormReader(form, TComponentFactory::Standard()) {}

TFormReader::TFormReader(TForm& form, const TComponentFactory& factory)
    : form_(form), factory_(factory) {}

void TFormReader::ReadResource(const QString& className) {
    QFile file(QStringLiteral(":/forms/") + className.toUpper() + QStringLiteral(".json"));
    if (!file.open(QIODevice::ReadOnly))
        throw EResNotFound(
            (QStringLiteral("Resource ") + className + QStringLiteral(" not found")).toStdString());
    ReadText(className, file.readAll());
}

void TFormReader::ReadText(const QString& className, const QByteArray& text) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        Fail(className, {},
             error.errorString() + QStringLiteral(" (позиция ") + QString::number(error.offset) +
                 u')');
    if (!document.isObject())
        Fail(className, {}, QStringLiteral("Описание формы не является объектом JSON"));
    const QJsonObject root = document.object();
    if (root.value(u"class").toString() != className)
        Fail(className, {}, QStringLiteral("Описание относится к другому классу"));
    const QString name = root.value(u"name").toString();
    if (name.isEmpty())
        Fail(className, {}, QStringLiteral("У формы нет имени"));
    form_.SetName(name);

    // The resolution the description was made at rules every scaled setting, so it is
    // taken first wherever it stands.
    for (const QJsonValue& pair : root.value(u"properties").toArray()) {
        const QJsonArray setting = pair.toArray();
        if (setting.at(0).toString() == u"PixelsPerInch") {
            const QJsonValue value = setting.at(1);
            if (!value.isDouble() || value.toInt() < 24 || value.toInt() > 960)
                Fail(name, QStringLiteral("PixelsPerInch"),
                     QStringLiteral("Invalid property value"));
            pixelsPerInch_ = value.toInt();
        }
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double logicalDpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    scale_ = logicalDpi / pixelsPerInch_;

    ReadComponent(root, form_);
    ApplyTabOrder();
    if (hasFormBounds_)
        form_.SetOuterBounds(formBounds_);

    for (const QString& field : form_.UnassignedFields())
        Fail(name, {}, QStringLiteral("Компонент ") + field + QStringLiteral(" не найден"));
}

void TFormReader::ReadComponent(const QJsonObject& object, TComponent& component) {
    const QJsonValue properties = object.value(u"properties");
    if (!properties.isUndefined() && !properties.isArray())
        Fail(component.Name(), {}, QStringLiteral("Свойства должны быть списком пар"));
    for (const QJsonValue& pair : properties.toArray()) {
        const QJsonArray setting = pair.toArray();
        if (setting.size() != 2 || !setting.at(0).isString())
            Fail(component.Name(), {},
                 QStringLiteral("Свойство должно состоять из имени и значения"));
        ReadSetting(component, setting.at(0).toString(), setting.at(1));
    }
    ReadChildren(object, component);
}

void TFormReader::ReadChildren(const QJsonObject& object, TComponent& parent) {
    const QJsonValue children = object.value(u"components");
    if (!children.isUndefined() && !children.isArray())
        Fail(parent.Name(), {}, QStringLiteral("Компоненты должны быть списком"));
    for (const QJsonValue& childValue : children.toArray()) {
        const QJsonObject child = childValue.toObject();
        const QString name = child.value(u"name").toString();
        const QString className = child.value(u"class").toString();
        if (name.isEmpty())
            Fail(parent.Name(), {}, QStringLiteral("У компонента нет имени"));
        if (names_.count(name) != 0 || name == form_.Name())
            Fail(name, {},
                 QStringLiteral("A component named ") + name + QStringLiteral(" already exists"));
        TComponent* component = nullptr;
        try {
            component = factory_.Create(className, form_, parent);
        } catch (const EReadError& e) {
            Fail(name, {}, QString::fromStdString(e.Message()));
        }
        if (component == nullptr)
            Fail(name, {}, QStringLiteral("Class ") + className + QStringLiteral(" not found"));
        component->SetName(name);
        names_[name] = component;
        if (auto* object = dynamic_cast<QObject*>(component))
            object->setObjectName(name);
        if (!form_.AssignField(name, component))
            Fail(name, {},
                 QStringLiteral("Поле ") + name + QStringLiteral(" не относится к классу ") +
                     className);
        ReadComponent(child, *component);
    }
}

void TFormReader::ReadSetting(TComponent& component, const QString& name, const QJsonValue& value) {
    try {
        if (name == u"PixelsPerInch" && &component == &form_)
            return; // taken before everything else
        auto* widget = dynamic_cast<QWidget*>(&component);
        if (widget != nullptr && ReadControlSetting(*widget, &component == &form_, name, value))
            return;
        if (!component.ReadProperty(name, value, *this))
            Fail(component.Name(), name,
                 QStringLiteral("Property ") + name + QStringLiteral(" does not exist"));
    } catch (const EReadError& e) {
        const QString reason = QString::fromStdString(e.Message());
        if (reason.startsWith(u"Error reading "))
            throw;
        Fail(component.Name(), name, reason);
    }
}

bool TFormReader::ReadControlSetting(QWidget& widget, bool isForm, const QString& name,
                                     const QJsonValue& value) {
    if (name == u"Left" || name == u"Top" || name == u"Width" || name == u"Height") {
        const int pixels = Scale(ToInt(value));
        QRect bounds = isForm ? formBounds_ : widget.geometry();
        if (name == u"Left")
            bounds.moveLeft(pixels);
        else if (name == u"Top")
            bounds.moveTop(pixels);
        else if (name == u"Width")
            bounds.setWidth(pixels);
        else
            bounds.setHeight(pixels);
        if (isForm) {
            formBounds_ = bounds;
            hasFormBounds_ = true;
        } else
            widget.setGeometry(bounds);
        return true;
    }
    if (name == u"TabOrder" && !isForm) {
        tabOrders_[widget.parentWidget()].emplace_back(ToInt(value), &widget);
        return true;
    }
    if (name == u"TabStop" && !isForm) {
        const Qt::FocusPolicy policy = widget.focusPolicy();
        widget.setFocusPolicy(ToBool(value) ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                            : Qt::FocusPolicy(policy & ~Qt::TabFocus));
        return true;
    }
    if (name == u"ParentFont" && !isForm) {
        // Back to the parent's font; a Font stored after this line makes it the control's own.
        if (ToBool(value))
            widget.setFont(QFont());
        return true;
    }
    if (name == u"Font") {
        if (!value.isObject())
            InvalidValue();
        const QJsonObject stored = value.toObject();
        for (const QString& key : stored.keys()) {
            if (key != u"Name" && key != u"Height" && key != u"Style" && key != u"Color" &&
                key != u"Charset")
                InvalidValue();
        }
        QFont font = widget.font();
        if (stored.contains(u"Name")) {
            if (!stored.value(u"Name").isString() || stored.value(u"Name").toString().isEmpty())
                InvalidValue();
            font.setFamilies(FontFamilies(stored.value(u"Name").toString()));
            font.setStyleHint(QFont::SansSerif);
        }
        if (stored.contains(u"Height")) {
            // A negative height is the characters' height in stored pixels; a positive one
            // includes the internal leading, which is near enough the same for these fonts.
            const int height = std::abs(ToInt(stored.value(u"Height")));
            if (height == 0 || height > 1000)
                InvalidValue();
            font.setPointSizeF(height * 72.0 / pixelsPerInch_);
        }
        if (stored.contains(u"Style")) {
            if (!stored.value(u"Style").isArray())
                InvalidValue();
            font.setBold(false);
            font.setItalic(false);
            font.setUnderline(false);
            font.setStrikeOut(false);
            for (const QJsonValue& style : stored.value(u"Style").toArray()) {
                const QString s = style.toString();
                if (s == u"fsBold")
                    font.setBold(true);
                else if (s == u"fsItalic")
                    font.setItalic(true);
                else if (s == u"fsUnderline")
                    font.setUnderline(true);
                else if (s == u"fsStrikeOut")
                    font.setStrikeOut(true);
                else
                    InvalidValue();
            }
        }
        // Colour and character set are the system's: window text, and Unicode throughout.
        widget.setFont(font);
        return true;
    }
    return false;
}

void TFormReader::ApplyTabOrder() {
    for (auto& [parent, controls] : tabOrders_) {
        (void)parent;
        std::stable_sort(controls.begin(), controls.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QWidget* previous = nullptr;
        for (const auto& [order, control] : controls) {
            (void)order;
            if ((control->focusPolicy() & Qt::TabFocus) == 0)
                continue;
            if (previous != nullptr)
                QWidget::setTabOrder(previous, control);
            else if (control->parentWidget() == &form_)
                form_.SetFirstFocus(control);
            previous = control;
        }
    }
}

int TFormReader::Scale(int storedPixels) const {
    return int(std::lround(storedPixels * scale_));
}

namespace {

[[noreturn]] void NoHandler(const QString& name) {
    throw EReadError(
        (QStringLiteral("Обработчик ") + name + QStringLiteral(" не найден")).toStdString());
}

// Without an application object (a form read on its own) a failure simply propagates.
bool Guarded(const std::function<void()>& handler) {
    if (TApplication* application = TApplication::Instance())
        return application->RunGuarded(handler);
    handler();
    return true;
}

} // namespace

// Every handler is bound through the application's guard. A failed key-press handler
// swallows its key and a failed context-popup handler counts as handled: the rest of that
// keystroke or click is dropped, as when the failure ends the whole event.
TNotifyEvent TFormReader::NotifyHandler(const QString& name) const {
    TNotifyEvent handler = form_.FindNotifyHandler(name);
    if (!handler)
        NoHandler(name);
    return [handler](TObject* sender) {
        Guarded([&] { handler(sender); });
    };
}

TKeyPressEvent TFormReader::KeyPressHandler(const QString& name) const {
    TKeyPressEvent handler = form_.FindKeyPressHandler(name);
    if (!handler)
        NoHandler(name);
    return [handler](TObject* sender, char& key) {
        if (!Guarded([&] { handler(sender, key); }))
            key = 0;
    };
}

TContextPopupEvent TFormReader::ContextPopupHandler(const QString& name) const {
    TContextPopupEvent handler = form_.FindContextPopupHandler(name);
    if (!handler)
        NoHandler(name);
    return [handler](TObject* sender, TPoint pos, bool& handled) {
        if (!Guarded([&] { handler(sender, pos, handled); }))
            handled = true;
    };
}
