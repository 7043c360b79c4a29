#include "platform/TComponentFactory.h"

#include "platform/TButton.h"
#include "platform/TChart.h"
#include "platform/TForm.h"
#include "platform/TMenuItem.h"
#include "platform/TPointSeries.h"
#include "platform/TPopupMenu.h"
#include "platform/TStaticText.h"
#include "platform/TStringGrid.h"
#include "rtl/Exceptions.h"

#include <utility>

namespace {

// Controls live in the widget they are nested in, which is the form for this program.
QWidget& ParentWidget(TComponent& parent) {
    auto* widget = dynamic_cast<QWidget*>(&parent);
    if (widget == nullptr)
        throw EReadError("Элемент управления должен лежать на форме или другом элементе");
    return *widget;
}

template <class TControl> TComponentFactory::TCreator ControlCreator() {
    return [](TForm&, TComponent& parent) -> TComponent* {
        return new TControl(&ParentWidget(parent));
    };
}

TComponentFactory MakeStandard() {
    TComponentFactory factory;
    factory.Register(QStringLiteral("TStaticText"), ControlCreator<TStaticText>());
    factory.Register(QStringLiteral("TButton"), ControlCreator<TButton>());
    factory.Register(QStringLiteral("TStringGrid"), ControlCreator<TStringGrid>());
    factory.Register(QStringLiteral("TChart"), ControlCreator<TChart>());
    factory.Register(QStringLiteral("TPointSeries"), [](TForm&, TComponent& parent) -> TComponent* {
        auto* chart = dynamic_cast<TChart*>(&parent);
        if (chart == nullptr)
            throw EReadError("Серия должна лежать в диаграмме");
        return &chart->AddSeries();
    });
    factory.Register(QStringLiteral("TPopupMenu"), [](TForm& form, TComponent&) -> TComponent* {
        // A popup menu belongs to the form wherever it is stored.
        return new TPopupMenu(&form);
    });
    factory.Register(QStringLiteral("TMenuItem"), [](TForm&, TComponent& parent) -> TComponent* {
        auto* menu = dynamic_cast<TPopupMenu*>(&parent);
        if (menu == nullptr)
            throw EReadError("Пункт меню должен лежать в меню");
        auto* item = new TMenuItem(menu);
        menu->AddItem(item);
        return item;
    });
    return factory;
}

} // namespace

const TComponentFactory& TComponentFactory::Standard() {
    static const TComponentFactory factory = MakeStandard();
    return factory;
}

void TComponentFactory::Register(const QString& className, TCreator creator) {
    creators_[className] = std::move(creator);
}

TComponent* TComponentFactory::Create(const QString& className, TForm& form,
                                      TComponent& parent) const {
    const auto it = creators_.find(className);
    if (it == creators_.end())
        return nullptr;
    return it->second(form, parent);
}
