#include "platform/TButton.h"
#include "platform/TForm.h"
#include "platform/TFormReader.h"
#include "platform/TMenuItem.h"
#include "platform/TPopupMenu.h"
#include "platform/TStaticText.h"
#include "rtl/Exceptions.h"
#include "support/MessageBoxRecorder.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

class TTestForm : public TForm {
public:
    TStaticText* Caption1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TPopupMenu* Menu = nullptr;
    TMenuItem* Item = nullptr;
    int clicks = 0;

    TTestForm() {
        Field(QStringLiteral("Caption1"), Caption1);
        Field(QStringLiteral("Button1"), Button1);
        Field(QStringLiteral("Button2"), Button2);
        Field(QStringLiteral("Menu"), Menu);
        Field(QStringLiteral("Item"), Item);
        Handler(QStringLiteral("Button1Click"), &TTestForm::Button1Click);
    }
    void Read(const QByteArray& text) {
        TFormReader(*this).ReadText(QStringLiteral("TTestForm"), text);
    }
    void Button1Click(TObject*) {
        ++clicks;
        if (failing)
            throw EConvertError("'x' is not a valid floating point value");
    }
    bool failing = false;
};

// The form above with one setting of Button1 replaced by `button1Extra` (a JSON list entry).
QByteArray Description(const QByteArray& button1Extra = {}, const QByteArray& moreComponents = {}) {
    return R"({ "class": "TTestForm", "name": "TestForm",
      "properties": [ ["Left", 100], ["Top", 50], ["Width", 500], ["Height", 300],
                      ["Caption", "Окно"], ["Font", {"Name": "MS Sans Serif", "Height": -13}] ],
      "components": [
        { "class": "TStaticText", "name": "Caption1",
          "properties": [ ["Left", 10], ["Top", 10], ["Width", 5], ["Height", 5],
                          ["Caption", "Подпись <b>1</b>"], ["TabOrder", 0],
                          ["Font", {"Name": "Arial", "Height": -13, "Style": ["fsItalic"]}],
                          ["ParentFont", false] ] },
        { "class": "TButton", "name": "Button2",
          "properties": [ ["Left", 120], ["Top", 200], ["Width", 100], ["Height", 25],
                          ["TabOrder", 2], ["Caption", "Второй"] ] },
        { "class": "TButton", "name": "Button1",
          "properties": [ ["Left", 10], ["Top", 200], ["Width", 100], ["Height", 25],
                          ["TabOrder", 1], ["Caption", "Первый"], ["OnClick", "Button1Click"])" +
           button1Extra + R"( ] },
        { "class": "TPopupMenu", "name": "Menu",
          "components": [ { "class": "TMenuItem", "name": "Item",
                            "properties": [ ["Caption", "Пункт"] ] } ] })" +
           moreComponents + R"(
      ] })";
}

} // namespace

TEST(FormReader, BuildsComponentsWithScaledSettingsBoundEventsAndTabOrder) {
    TTestForm form;
    form.Read(Description());

    ASSERT_NE(form.Button1, nullptr);
    ASSERT_NE(form.Item, nullptr);
    EXPECT_EQ(form.Name(), QStringLiteral("TestForm"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Окно"));
    // 120 stored pixels per inch onto 96 logical ones.
    EXPECT_EQ(form.OuterBounds(), QRect(80, 40, 400, 240));
    EXPECT_EQ(form.Button1->geometry(), QRect(8, 160, 80, 20));
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Первый"));
    EXPECT_EQ(form.Button1->parentWidget(), &form);
    EXPECT_EQ(form.Item->text(), QStringLiteral("Пункт"));
    EXPECT_TRUE(form.Menu->actions().contains(form.Item));

    // The caption sizes itself to its text and shows markup as it stands.
    EXPECT_EQ(form.Caption1->text(), QStringLiteral("Подпись <b>1</b>"));
    EXPECT_EQ(form.Caption1->size(), form.Caption1->sizeHint());
    EXPECT_GT(form.Caption1->width(), 50);
    EXPECT_TRUE(form.Caption1->font().italic());
    EXPECT_EQ(form.Caption1->font().families().value(0), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(form.Caption1->font().pointSizeF(), 13 * 72.0 / 120);
    EXPECT_FALSE(form.Button1->font().italic());
    EXPECT_DOUBLE_EQ(form.Button1->font().pointSizeF(), 13 * 72.0 / 120);

    form.show();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(form.clicks, 1);

    // A failing handler is shown and the button goes on working.
    MessageBoxRecorder recorder;
    form.failing = true;
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(form.clicks, 3);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_EQ(recorder.boxes[1].text, QStringLiteral("'x' is not a valid floating point value."));

    // The focus starts on the first control in the stored tab order, not in the order of
    // creation; the caption takes none.
    EXPECT_EQ(form.focusWidget(), form.Button1);
    EXPECT_EQ(form.Caption1->focusPolicy(), Qt::NoFocus);
}

TEST(FormReader, ReportsEveryReadingFailureWithComponentPropertyAndReason) {
    struct Case {
        QByteArray extra;
        QByteArray components;
        const char* message;
    };
    const Case cases[] = {
        {R"(, ["Foo", 1])", {}, "Error reading Button1.Foo: Property Foo does not exist"},
        {R"(, ["Left", "abc"])", {}, "Error reading Button1.Left: Invalid property value"},
        {R"(, ["Left", 1.5])", {}, "Error reading Button1.Left: Invalid property value"},
        {R"(, ["OnClick", "Nowhere"])",
         {},
         "Error reading Button1.OnClick: Обработчик Nowhere не найден"},
        {R"(, ["Font", {"Style": ["fsWide"]}])",
         {},
         "Error reading Button1.Font: Invalid property value"},
        {R"(, ["Font", {"Heigth": -13}])",
         {},
         "Error reading Button1.Font: Invalid property value"},
        {R"(, ["%s%n%p", 1])", {}, "Error reading Button1.%s%n%p: Property %s%n%p does not exist"},
        {{},
         R"(, { "class": "TGauge", "name": "Gauge1" })",
         "Error reading Gauge1: Class TGauge not found"},
        {{},
         R"(, { "class": "TMenuItem", "name": "Loose" })",
         "Error reading Loose: Пункт меню должен лежать в меню"},
        {{},
         R"(, { "class": "TButton", "name": "Button1" })",
         "Error reading Button1: A component named Button1 already exists"},
        {{},
         R"(, { "class": "TButton", "name": "Menu2" }, { "class": "TButton", "name": "x",
              "properties": [["Caption", 5]] })",
         "Error reading x.Caption: Invalid property value"},
    };
    for (const Case& c : cases) {
        TTestForm form;
        try {
            form.Read(Description(c.extra, c.components));
            ADD_FAILURE() << "no failure for " << c.message;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

TEST(FormReader, RefusesBrokenDocumentsAndMissingFields) {
    struct Case {
        QByteArray text;
        const char* messageStart;
    };
    const Case cases[] = {
        {"{ not json", "Error reading TTestForm: "},
        {"[]", "Error reading TTestForm: Описание формы не является объектом JSON"},
        {R"({"class": "TOther", "name": "X"})",
         "Error reading TTestForm: Описание относится к другому классу"},
        {R"({"class": "TTestForm", "name": "TestForm"})", "Error reading TestForm: Компонент "},
        {R"({"class": "TTestForm", "name": "TestForm", "properties": {"Left": 1}})",
         "Error reading TestForm: Свойства должны быть списком пар"},
        {R"({"class": "TTestForm", "name": "TestForm", "properties": [["PixelsPerInch", 0]]})",
         "Error reading TestForm.PixelsPerInch: Invalid property value"},
    };
    for (const Case& c : cases) {
        TTestForm form;
        try {
            form.Read(c.text);
            ADD_FAILURE() << "no failure for " << c.text.constData();
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message().rfind(c.messageStart, 0), 0u) << e.Message();
        }
    }
}

TEST(FormReader, MissingResourceNamesTheClass) {
    TTestForm form;
    try {
        TFormReader(form).ReadResource(QStringLiteral("TNoSuchForm"));
        ADD_FAILURE() << "no failure";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource TNoSuchForm not found");
    }
}
