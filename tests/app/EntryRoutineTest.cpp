#include "app/EntryRoutine.h"

#include "platform/TApplication.h"
#include "platform/TChart.h"
#include "platform/TForm.h"
#include "rtl/Exceptions.h"
#include "support/MessageBoxRecorder.h"
#include "ui/MainCode.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A form whose description is missing.
class TUnstoredForm : public TForm {
public:
    TUnstoredForm() { ReadForm(QStringLiteral("TUnstoredForm")); }
};

// A form whose constructor gives up silently; at start-up even that is shown.
class TAbortingForm : public TForm {
public:
    TAbortingForm() { throw EAbort("Operation aborted"); }
};

// A form that fails while it is first shown.
class TFailingShowForm : public TForm {
protected:
    void showEvent(QShowEvent*) override { throw Exception("Cannot show"); }
};

class EntryRoutine : public ::testing::Test {
protected:
    void TearDown() override { TApplication::Instance()->DestroyForms(); }

    TApplication& application = *TApplication::Instance();
    MessageBoxRecorder recorder;
};

} // namespace

TEST_F(EntryRoutine, FailureWhileTheWindowIsBuiltShowsOneBoxAndReturnsZero) {
    TUnstoredForm* unstored = reinterpret_cast<TUnstoredForm*>(1);
    EXPECT_EQ(RunEntryRoutine(application, [&] { application.CreateForm(unstored); }), 0);
    EXPECT_EQ(unstored, nullptr);
    EXPECT_EQ(application.MainWindow(), nullptr);

    TAbortingForm* aborting = reinterpret_cast<TAbortingForm*>(1);
    EXPECT_EQ(RunEntryRoutine(application, [&] { application.CreateForm(aborting); }), 0);
    EXPECT_EQ(aborting, nullptr);

    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_EQ(recorder.boxes[0].text, QStringLiteral("Resource TUnstoredForm not found."));
    EXPECT_EQ(recorder.boxes[0].title, application.Title());
    EXPECT_EQ(recorder.boxes[1].text, QStringLiteral("Operation aborted."));
}

TEST_F(EntryRoutine, FailureWhileTheWindowIsFirstShownEndsTheProgram) {
    TFailingShowForm* form = nullptr;
    bool loopRan = false;
    QTimer::singleShot(0, [&] {
        loopRan = true;
        QApplication::quit();
    });
    EXPECT_EQ(RunEntryRoutine(application, [&] { application.CreateForm(form); }), 0);
    EXPECT_FALSE(loopRan);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, QStringLiteral("Cannot show."));
    QTest::qWait(0); // the timer was meant for a loop that never ran
}

TEST_F(EntryRoutine, ShowsTheMainWindowAndReturnsZeroWhenItIsClosed) {
    bool shown = false;
    bool mainFormSetDuringConstruction = false;
    QTimer::singleShot(0, [&] {
        shown = MainForm != nullptr && MainForm->isVisible();
        MainForm->close();
    });
    EXPECT_EQ(RunEntryRoutine(application,
                              [&] {
                                  application.CreateForm(MainForm);
                                  mainFormSetDuringConstruction = MainForm != nullptr;
                              }),
              0);
    EXPECT_TRUE(mainFormSetDuringConstruction);
    EXPECT_TRUE(shown);
    EXPECT_EQ(application.MainWindow(), MainForm);
    EXPECT_TRUE(recorder.boxes.empty());
    MainForm = nullptr;
}
