#include "calc/BoundaryCurve.h"
#include "platform/TApplication.h"
#include "platform/TButton.h"
#include "platform/TChart.h"
#include "platform/TClipboard.h"
#include "platform/TInplaceEdit.h"
#include "platform/TMenuItem.h"
#include "platform/TPointSeries.h"
#include "platform/TPopupMenu.h"
#include "platform/TStaticText.h"
#include "platform/TStringGrid.h"
#include "support/MessageBoxRecorder.h"
#include "ui/MainCode.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TMainForm>();
        MainForm = form.get();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override {
        MainForm = nullptr;
        form.reset();
    }

    // Goes to a value cell with its editor closed, types the keys (the first replaces the
    // cell's text) and tabs away so the editor stores its text.
    void Type(TStringGrid* grid, int row, const QString& keys) {
        grid->setFocus();
        grid->SetCurrentCell(1, row);
        for (const QChar c : keys) {
            QWidget* target = QApplication::focusWidget();
            if (c.unicode() < 128)
                QTest::keyClick(target, char(c.unicode()));
            else // a key of a Cyrillic layout: the key code is the upper-case character
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key(c.toUpper().unicode()),
                                    QString(c), Qt::NoModifier);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }

    void Calculate() { QTest::mouseClick(form->Button1, Qt::LeftButton); }

    // Right-clicks the widget at pos; `inMenu` runs while whatever popup opened is still open
    // (null when none did) and must close it. Returns once the click is over.
    void RightClick(QWidget* widget, QPoint pos, const std::function<void(QWidget*)>& inMenu) {
        bool ran = false;
        QTimer::singleShot(50, [&] {
            ran = true;
            QWidget* popup = QApplication::activePopupWidget();
            inMenu(popup);
            if (QApplication::activePopupWidget() != nullptr)
                QApplication::activePopupWidget()->close();
        });
        // Through the window, as the platform delivers a user's click: only then does the
        // click also raise the context-menu request.
        QTest::mouseClick(form->windowHandle(), Qt::RightButton, {},
                          widget->mapTo(form.get(), pos));
        while (!ran)
            QTest::qWait(10);
        QTest::qWait(0);
    }

    // Chooses the menu's one item with the keyboard, then lets its queued command run.
    void CopyThroughTheMenu() {
        RightClick(form->Chart, QPoint(100, 100), [](QWidget* popup) {
            ASSERT_NE(popup, nullptr);
            QTest::keyClick(popup, Qt::Key_Down);
            QTest::keyClick(popup, Qt::Key_Return);
        });
        QTest::qWait(0);
    }

    std::unique_ptr<TMainForm> form;
};

} // namespace

TEST_F(MainWindow, StartsWithItsLabelsEmptyCellsAndEmptyChart) {
    const char* labels1[] = {"omega^1",  "omega^2",  "omega^3", "iomega^1",
                             "iomega^2", "iomega^3", "iomega^4"};
    EXPECT_EQ(form->StringGrid1->Cell(0, 0), QStringLiteral("Имя"));
    EXPECT_EQ(form->StringGrid1->Cell(1, 0), QStringLiteral("Значение"));
    for (int r = 1; r <= 7; ++r) {
        EXPECT_EQ(form->StringGrid1->Cell(0, r), QString::fromUtf8(labels1[r - 1]));
        EXPECT_EQ(form->StringGrid1->Cell(1, r), QString());
    }
    EXPECT_EQ(form->StringGrid2->Cell(0, 0), QStringLiteral("Имя"));
    EXPECT_EQ(form->StringGrid2->Cell(1, 0), QStringLiteral("Значение"));
    EXPECT_EQ(form->StringGrid2->Cell(0, 1), QStringLiteral("Шаг"));
    EXPECT_EQ(form->StringGrid2->Cell(0, 2), QStringLiteral("OmegaMax"));
    EXPECT_EQ(form->StringGrid2->Cell(1, 1), QString());
    EXPECT_EQ(form->StringGrid2->Cell(1, 2), QString());

    EXPECT_EQ(form->windowTitle(), QStringLiteral("Переходная характеристика"));
    EXPECT_EQ(form->StaticText1->text(), QStringLiteral("Введите коэффициенты при omega :"));
    EXPECT_EQ(form->StaticText2->text(), QStringLiteral("Введите параметры расчета:"));
    EXPECT_EQ(form->Button1->text(), QStringLiteral("Выполнить расчет"));
    EXPECT_EQ(form->N1->text(), QStringLiteral("Скопировать в буфер обмена"));
    EXPECT_EQ(form->PopupMenu->actions().size(), 1);
    EXPECT_EQ(form->Chart->TitleText(), QStringList{QStringLiteral("D разбиение")});
    ASSERT_EQ(form->Chart->SeriesCount(), 1);
    EXPECT_EQ(&form->Chart->Series(0), form->Series1);
    EXPECT_EQ(form->Series1->Count(), 0u);
    EXPECT_TRUE(form->StaticText1->font().italic());
    EXPECT_FALSE(form->StaticText2->font().italic());
}

TEST_F(MainWindow, LaysOutTheStoredGeometryScaledAndKeepsItWhenEnlarged) {
    // Stored at 120 pixels per inch, shown at 96: four fifths.
    EXPECT_EQ(form->OuterBounds(), QRect(105, 99, 706, 392));
    EXPECT_EQ(form->Chart->geometry(), QRect(6, 6, 487, 340));
    EXPECT_EQ(form->StringGrid1->geometry(), QRect(499, 26, 186, 96));
    EXPECT_EQ(form->StringGrid2->geometry(), QRect(499, 147, 186, 96));
    EXPECT_EQ(form->Button1->geometry(), QRect(550, 326, 129, 20));
    EXPECT_EQ(form->StaticText1->pos(), QPoint(499, 6));
    EXPECT_EQ(form->StaticText2->pos(), QPoint(499, 128));

    const QRect button = form->Button1->geometry();
    form->resize(form->size() + QSize(300, 200));
    QTest::qWait(0);
    EXPECT_EQ(form->Button1->geometry(), button);
}

TEST_F(MainWindow, FocusStartsOnTheFirstTableAndTabSkipsChartAndCaptions) {
    ASSERT_EQ(form->focusWidget(), form->StringGrid1);
    EXPECT_EQ(form->StringGrid1->Col(), 1);
    EXPECT_EQ(form->StringGrid1->Row(), 1);
    QTest::keyClick(form->StringGrid1, Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), form->StringGrid2);
    QTest::keyClick(form->StringGrid2, Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), form->Button1);
    QTest::keyClick(form->Button1, Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), form->StringGrid1);
    QTest::keyClick(form->StringGrid1, Qt::Key_Backtab);
    EXPECT_EQ(form->focusWidget(), form->Button1);

    QTest::mouseClick(form->Chart, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(form->focusWidget(), form->Button1);
}

TEST_F(MainWindow, ButtonFillsDefaultsAndDrawsTheCurveEveryTimeAfresh) {
    MessageBoxRecorder recorder;
    Calculate();
    for (int r = 1; r <= 7; ++r)
        EXPECT_EQ(form->StringGrid1->Cell(1, r), QStringLiteral("0"));
    EXPECT_EQ(form->StringGrid2->Cell(1, 1), QStringLiteral("0,01"));
    EXPECT_EQ(form->StringGrid2->Cell(1, 2), QStringLiteral("6"));
    EXPECT_EQ(form->Series1->Count(), 1200u);

    Calculate();
    EXPECT_EQ(form->Series1->Count(), 1200u);

    // Typed through the filter: the point becomes a comma, and a ten times larger step gives
    // a tenth of the points (one more where the single-precision steps fall short of 6).
    Type(form->StringGrid2, 1, QStringLiteral("0.1"));
    EXPECT_EQ(form->StringGrid2->Cell(1, 1), QStringLiteral("0,1"));
    Calculate();
    EXPECT_GE(form->Series1->Count(), 120u);
    EXPECT_LE(form->Series1->Count(), 121u);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(MainWindow, InvalidCellIsReportedAndThePreviousPointsStay) {
    MessageBoxRecorder recorder;
    Calculate();
    ASSERT_EQ(form->Series1->Count(), 1200u);

    // The filter lets commas through anywhere; the calculation refuses the text.
    Type(form->StringGrid1, 3, QStringLiteral("1,2,3"));
    EXPECT_EQ(form->StringGrid1->Cell(1, 3), QStringLiteral("1,2,3"));
    Calculate();
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text,
              QStringLiteral("'1,2,3' is not a valid floating point value."));
    EXPECT_EQ(recorder.boxes[0].title, TApplication::Instance()->Title());
    EXPECT_EQ(recorder.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(form->Series1->Count(), 1200u);

    // The window goes on working: a second failure gets its own box.
    Calculate();
    EXPECT_EQ(recorder.boxes.size(), 2u);
}

TEST_F(MainWindow, FiltersKeysPerTable) {
    struct Case {
        TStringGrid* TMainForm::*grid;
        const char* keys;
        const char* text;
    };
    const Case cases[] = {
        {&TMainForm::StringGrid1, "12.5", "12,5"}, {&TMainForm::StringGrid2, "12.5", "12,5"},
        {&TMainForm::StringGrid1, "-3", "-3"},     {&TMainForm::StringGrid2, "-3", "3"},
        {&TMainForm::StringGrid1, "1e5", "15"},    {&TMainForm::StringGrid1, "5-", "5-"},
        {&TMainForm::StringGrid2, "1 +Ж2", "12"},
    };
    for (const Case& c : cases) {
        TStringGrid* grid = form.get()->*c.grid;
        grid->SetCell(1, 1, QString());
        Type(grid, 1, QString::fromUtf8(c.keys));
        EXPECT_EQ(grid->Cell(1, 1), QString::fromUtf8(c.text)) << c.keys;
    }
}

TEST_F(MainWindow, TypedValuesReachTheCalculation) {
    // A typed point arrives as the comma; the parameters give four points.
    Type(form->StringGrid2, 1, QStringLiteral("0.5"));
    Type(form->StringGrid2, 2, QStringLiteral("1"));
    Type(form->StringGrid1, 1, QStringLiteral("-2.5"));
    Calculate();
    EXPECT_EQ(form->StringGrid2->Cell(1, 1), QStringLiteral("0,5"));
    EXPECT_EQ(form->StringGrid1->Cell(1, 1), QStringLiteral("-2,5"));
    EXPECT_EQ(form->Series1->Count(), 4u);

    // Backspace on a closed editor empties the cell; the next run writes the default back.
    form->StringGrid2->setFocus();
    form->StringGrid2->SetCurrentCell(1, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(form->StringGrid2->Cell(1, 1), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Calculate();
    EXPECT_EQ(form->StringGrid2->Cell(1, 1), QStringLiteral("0,01"));
    EXPECT_EQ(form->Series1->Count(), CountBoundaryCurveSamples({0.01f, 1.0f}, 1'000'000));
}

TEST_F(MainWindow, ChartShowsTheCurveInGreenWhereThePointsMap) {
    Calculate();
    QTest::qWait(0);
    const QImage shown = form->Chart->grab().toImage();
    const TChart::TLayout layout = form->Chart->Layout();
    const qreal ratio = shown.devicePixelRatio();
    int green = 0;
    for (std::size_t i = 0; i < form->Series1->Count(); i += 97) {
        const QPoint pixel(int(layout.horizontal.ToPixel(form->Series1->XValue(i)) * ratio),
                           int(layout.vertical.ToPixel(form->Series1->YValue(i)) * ratio));
        if (shown.pixelColor(pixel) == QColor(0, 128, 0))
            ++green;
    }
    EXPECT_EQ(green, int((form->Series1->Count() + 96) / 97));
    // The corner is the chart's white.
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::white));
}

TEST_F(MainWindow, RightClickOnTheChartOpensItsMenuAtThePointer) {
    for (const QPoint click : {QPoint(10, 10), QPoint(240, 170), QPoint(300, 250)}) {
        QRect menuGeometry;
        QList<QAction*> actions;
        RightClick(form->Chart, click, [&](QWidget* popup) {
            ASSERT_EQ(popup, form->PopupMenu);
            menuGeometry = popup->geometry();
            actions = form->PopupMenu->actions();
            QTest::keyClick(popup, Qt::Key_Escape);
        });
        EXPECT_EQ(menuGeometry.topLeft(), form->Chart->mapToGlobal(click));
        ASSERT_EQ(actions.size(), 1);
        EXPECT_EQ(actions[0]->text(), QStringLiteral("Скопировать в буфер обмена"));
    }
    // Moving the window moves the menu with it.
    form->move(form->pos() + QPoint(37, 23));
    QTest::qWait(0);
    QRect menuGeometry;
    RightClick(form->Chart, QPoint(20, 20), [&](QWidget* popup) {
        ASSERT_NE(popup, nullptr);
        menuGeometry = popup->geometry();
    });
    EXPECT_EQ(menuGeometry.topLeft(), form->Chart->mapToGlobal(QPoint(20, 20)));
}

TEST_F(MainWindow, NoOtherControlAndNoKeyOpensTheChartMenu) {
    bool opened = false;
    QObject::connect(form->PopupMenu, &QMenu::aboutToShow, [&] { opened = true; });
    for (QWidget* control : std::initializer_list<QWidget*>{
             form->StringGrid1->viewport(), form->StringGrid2->viewport(), form->Button1,
             form->StaticText1, form->StaticText2, form.get()}) {
        RightClick(control, QPoint(5, 5), [](QWidget*) {});
    }
    form->StringGrid1->setFocus();
    QTest::keyClick(form->windowHandle(), Qt::Key_Menu);
    QTest::keyClick(form->windowHandle(), Qt::Key_F10, Qt::ShiftModifier);
    QTest::qWait(50);
    if (QApplication::activePopupWidget() != nullptr)
        QApplication::activePopupWidget()->close();
    EXPECT_FALSE(opened);
}

TEST_F(MainWindow, CopyPutsTheChartOnTheClipboardAtItsDevicePixelSize) {
    MessageBoxRecorder recorder;
    Calculate();
    QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
    CopyThroughTheMenu();
    EXPECT_TRUE(recorder.boxes.empty());

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(data->hasText());
    ASSERT_TRUE(data->hasImage());
    const QImage copied = qvariant_cast<QImage>(data->imageData());
    const qreal ratio = form->Chart->devicePixelRatioF();
    EXPECT_EQ(copied.size(), form->Chart->size() * ratio);
    // The same picture as on the screen: white corner, green where the curve is.
    const QImage shown = form->Chart->grab().toImage();
    EXPECT_EQ(copied.pixelColor(1, 1), QColor(Qt::white));
    const TChart::TLayout layout = form->Chart->Layout();
    const QPoint point(int(layout.horizontal.ToPixel(form->Series1->XValue(600)) * ratio),
                       int(layout.vertical.ToPixel(form->Series1->YValue(600)) * ratio));
    EXPECT_EQ(copied.pixelColor(point), QColor(0, 128, 0));
    EXPECT_EQ(copied.pixelColor(point), shown.pixelColor(point));
    // Nothing in the window changed.
    EXPECT_EQ(form->Series1->Count(), 1200u);
}

TEST_F(MainWindow, CopyWhileTheClipboardIsHeldShowsTheFailureAndChangesNothing) {
    MessageBoxRecorder recorder;
    QGuiApplication::clipboard()->setText(QStringLiteral("held by another program"));
    const auto previous = TClipboard::SetOpenFunction([] { return false; });
    CopyThroughTheMenu();
    TClipboard::SetOpenFunction(previous);

    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, QStringLiteral("Cannot open clipboard."));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("held by another program"));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());
}
