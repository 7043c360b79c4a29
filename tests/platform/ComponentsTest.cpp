#include "platform/TClipboard.h"
#include "platform/TMenuItem.h"
#include "platform/TPopupMenu.h"
#include "rtl/Exceptions.h"
#include "support/MessageBoxRecorder.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(MenuItem, ClickRunsAfterTheMenuClosedAndItsOpenerReturned) {
    TPopupMenu menu;
    auto* item = new TMenuItem(&menu);
    item->SetCaption(QStringLiteral("Пункт"));
    menu.AddItem(item);
    bool popupReturned = false;
    bool menuVisibleAtClick = true;
    bool returnedAtClick = false;
    int clicks = 0;
    item->SetOnClick([&](TObject* sender) {
        EXPECT_EQ(sender, item);
        ++clicks;
        menuVisibleAtClick = menu.isVisible();
        returnedAtClick = popupReturned;
    });
    QTimer::singleShot(0, [&] {
        ASSERT_EQ(QApplication::activePopupWidget(), &menu);
        EXPECT_EQ(menu.pos(), QPoint(40, 30));
        QTest::keyClick(&menu, Qt::Key_Down);
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    menu.Popup(40, 30);
    popupReturned = true;
    EXPECT_EQ(clicks, 0);
    QTest::qWait(0);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(menuVisibleAtClick);
    EXPECT_TRUE(returnedAtClick);
}

TEST(MenuItem, FailureInAClickReachesTheGuard) {
    MessageBoxRecorder recorder;
    TMenuItem item;
    item.SetOnClick([](TObject*) { throw Exception("Cannot open clipboard"); });
    item.trigger();
    QTest::qWait(0);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, QStringLiteral("Cannot open clipboard."));
}

TEST(Clipboard, ImageReplacesEverythingAndAHeldClipboardKeepsItsContent) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("earlier text"));
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(3, 2, qRgb(0, 128, 0));

    TClipboard::SetImage(image);
    const QMimeData* data = clipboard->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(data->hasText());
    ASSERT_TRUE(data->hasImage());
    const QImage copied = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(copied.size(), QSize(7, 5));
    EXPECT_EQ(copied.pixel(3, 2), qRgb(0, 128, 0));

    clipboard->setText(QStringLiteral("held"));
    const auto previous = TClipboard::SetOpenFunction([] { return false; });
    try {
        TClipboard::SetImage(image);
        ADD_FAILURE() << "no failure";
    } catch (const EClipboardException& e) {
        EXPECT_EQ(e.Message(), "Cannot open clipboard");
    }
    TClipboard::SetOpenFunction(previous);
    EXPECT_EQ(clipboard->text(), QStringLiteral("held"));
    EXPECT_FALSE(clipboard->mimeData()->hasImage());
}
