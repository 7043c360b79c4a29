#pragma once

#include "platform/TReadContext.h"

#include <QByteArray>
#include <QJsonObject>
#include <QRect>
#include <QString>
#include <map>
#include <vector>

class QWidget;
class TComponent;
class TComponentFactory;
class TForm;

// Builds a form from its description, a JSON document:
//
//   { "class": "TMainForm", "name": "MainForm",
//     "properties": [ ["Caption", "..."], ["Left", 131], ... ],
//     "components": [ { "class": "TChart", "name": "Chart", "properties": [...],
//                       "components": [ ... nested components ... ] }, ... ] }
//
// Settings are pairs in a list because their order matters (a count before the sizes that
// depend on it), and JSON objects keep none. Positions, sizes and font heights are stored
// at PixelsPerInch (120 unless the form says otherwise) and scaled to the screen.
class TFormReader final : public TReadContext {
public:
    explicit TFormReader(TForm& form);
    TFormReader(TForm& form, const TComponentFactory& factory);

    // Reads the resource ":/forms/<CLASSNAME>.json"; EResNotFound when there is none.
    void ReadResource(const QString& className);
    // Reads a description given as text, for a form of the named class.
    void ReadText(const QString& className, const QByteArray& text);

    int Scale(int storedPixels) const override;
    TNotifyEvent NotifyHandler(const QString& name) const override;
    TKeyPressEvent KeyPressHandler(const QString& name) const override;
    TContextPopupEvent ContextPopupHandler(const QString& name) const override;

private:
    void ReadComponent(const QJsonObject& object, TComponent& component);
    void ReadChildren(const QJsonObject& object, TComponent& parent);
    void ReadSetting(TComponent& component, const QString& name, const QJsonValue& value);
    bool ReadControlSetting(QWidget& widget, bool isForm, const QString& name,
                            const QJsonValue& value);
    void ApplyTabOrder();

    TForm& form_;
    const TComponentFactory& factory_;
    double scale_ = 0.8;
    int pixelsPerInch_ = 120;
    QRect formBounds_{0, 0, 0, 0};
    bool hasFormBounds_ = false;
    // Controls with a TabOrder, by parent, to chain once every control exists.
    std::map<QWidget*, std::vector<std::pair<int, QWidget*>>> tabOrders_;
    std::map<QString, TComponent*> names_;
};
