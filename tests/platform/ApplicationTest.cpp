#include "platform/FailureText.h"
#include "platform/TApplication.h"
#include "rtl/Exceptions.h"
#include "support/MessageBoxRecorder.h"

#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// An object whose handling of one event runs the given action, as an event handler of the
// program would. A plain event, so that nothing of the toolkit's own is unwound with it.
class ThrowingObject : public QObject {
public:
    std::function<void()> onEvent;

    void Deliver() {
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(this, &event);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            onEvent();
            return true;
        }
        return QObject::event(event);
    }
};

class EMyAbort : public EAbort {
public:
    using EAbort::EAbort;
};

} // namespace

TEST(Application, TitleComesFromTheExecutable) {
    // The test program is platform_tests: cut at no dot, the rest lower case.
    EXPECT_EQ(TApplication::Instance()->Title(), QStringLiteral("Platform_tests"));
}

TEST(Application, GuardShowsWhatLeavesAHandlerAndTheLoopGoesOn) {
    struct Case {
        std::function<void()> raise;
        int boxes;
        QString title;
        QString text;
    };
    const QString title = TApplication::Instance()->Title();
    const Case cases[] = {
        {[] { throw EConvertError("'abc' is not a valid floating point value"); }, 1, title,
         QStringLiteral("'abc' is not a valid floating point value.")},
        {[] { throw Exception("List index out of bounds (3)"); }, 1, title,
         QStringLiteral("List index out of bounds (3)")},
        {[] { throw Exception("%s%n%p"); }, 1, title, QStringLiteral("%s%n%p.")},
        {[] { throw Exception(""); }, 1, title, QString()},
        {[] { throw EAbort("silent"); }, 0, {}, {}},
        {[] { throw EMyAbort("silent too"); }, 0, {}, {}},
    };
    for (const Case& c : cases) {
        MessageBoxRecorder recorder;
        ThrowingObject object;
        object.onEvent = c.raise;
        object.Deliver();
        ASSERT_EQ(int(recorder.boxes.size()), c.boxes) << c.text.toStdString();
        if (c.boxes == 1) {
            EXPECT_EQ(recorder.boxes[0].title, c.title);
            EXPECT_EQ(recorder.boxes[0].text, c.text);
            EXPECT_EQ(recorder.boxes[0].icon, QMessageBox::Critical);
        }
        // Each failure gets its own box: a second one, through the event queue this time, is
        // not merged into the first.
        QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        EXPECT_EQ(int(recorder.boxes.size()), 2 * c.boxes);
    }
}

TEST(Application, ObjectOutsideTheFamilyGetsTheApplicationErrorBox) {
    MessageBoxRecorder recorder;
    ThrowingObject object;
    object.onEvent = [] {
        throw std::runtime_error("not one of ours");
    };
    object.Deliver();
    object.onEvent = [] {
        throw 42;
    };
    object.Deliver();

    ASSERT_EQ(recorder.boxes.size(), 2u);
    const QRegularExpression form(
        QStringLiteral("^Exception (.+) in module platform_tests at [0-9A-F]{8}\\.\n$"));
    for (const auto& [box, className] :
         {std::pair{recorder.boxes[0], QStringLiteral("std::runtime_error")},
          std::pair{recorder.boxes[1], QStringLiteral("int")}}) {
        EXPECT_EQ(box.title, QStringLiteral("Application Error"));
        EXPECT_EQ(box.owner, nullptr);
        const QRegularExpressionMatch match = form.match(box.text);
        ASSERT_TRUE(match.hasMatch()) << box.text.toStdString();
        EXPECT_EQ(match.captured(1), className);
    }
}

TEST(Application, RunGuardedEndsTheHandlerWhereItFails) {
    MessageBoxRecorder recorder;
    bool after = false;
    EXPECT_FALSE(TApplication::Instance()->RunGuarded([&] {
        throw EOverflow("Floating point overflow");
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_TRUE(TApplication::Instance()->RunGuarded([] {}));
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, QStringLiteral("Floating point overflow."));
}

TEST(Application, FailureEndsMouseCaptureAndOpenPopupsBeforeTheBox) {
    QWidget grabber;
    grabber.show();
    grabber.grabMouse();
    QMenu popup;
    popup.addAction(QStringLiteral("item"));
    popup.popup(QPoint(10, 10));
    ASSERT_EQ(QApplication::activePopupWidget(), &popup);

    QWidget* grabberAtBox = &grabber;
    QWidget* popupAtBox = &popup;
    MessageBoxRecorder recorder;
    SetMessageBoxFunction([&](const TMessageBoxRequest&) {
        grabberAtBox = QWidget::mouseGrabber();
        popupAtBox = QApplication::activePopupWidget();
    });
    TApplication::Instance()->HandleFailure(std::make_exception_ptr(Exception("boom")));
    EXPECT_EQ(grabberAtBox, nullptr);
    EXPECT_EQ(popupAtBox, nullptr);
    EXPECT_FALSE(popup.isVisible());
}

TEST(Application, ShowFailureIsOwnedByTheActiveWindow) {
    MessageBoxRecorder recorder;
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    TApplication::Instance()->ShowFailure(Exception("x"));
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].owner, QApplication::activeWindow());
}

TEST(Application, RealBoxShowsPlainShortenedTextModallyWithOneOkButton) {
    QWidget window;
    window.show();
    QString shownText;
    QString shownTitle;
    Qt::TextFormat format = Qt::AutoText;
    Qt::WindowModality modality = Qt::NonModal;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool windowBlocked = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        shownTitle = box->windowTitle();
        format = box->textFormat();
        modality = box->windowModality();
        buttons = int(box->buttons().size());
        icon = box->icon();
        windowBlocked = window.testAttribute(Qt::WA_WState_Visible) &&
                        QApplication::activeModalWidget() != &window;
        QTest::keyClick(box, Qt::Key_Return);
    });
    // Megabytes of markup: shown as it stands, cut to what fits.
    std::string message;
    for (int i = 0; i < 100000; ++i)
        message += "<b>1</b> ";
    const TMessageBoxFunction previous = SetMessageBoxFunction({});
    TApplication::Instance()->ShowFailure(Exception(message));
    SetMessageBoxFunction(previous);

    EXPECT_TRUE(shownText.startsWith(QStringLiteral("<b>1</b> <b>1</b>")));
    EXPECT_TRUE(shownText.endsWith(QChar(0x2026)));
    EXPECT_LE(shownText.size(), MaxDisplayLength + 1);
    EXPECT_EQ(shownTitle, TApplication::Instance()->Title());
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_TRUE(windowBlocked);
}
