#include "StringGridFixture.h"
#include "platform/TInplaceEdit.h"
#include "rtl/Exceptions.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>

namespace {

using StringGridEditor = StringGridTest;

TEST_F(StringGridEditor, TabAndShiftTabMoveFocusAmongTheControls) {
    struct Case {
        const char* Keys;
        int Focus; // 1, 2: the grids; 3: the button
    };
    const Case cases[] = {
        {"<Tab>", 2},           {"<Tab> <Tab>", 3},
        {"<Tab> <S-Tab>", 1},   {"4 <Tab>", 2}, // from the open editor
        {"<Tab> 4 <S-Tab>", 1}, {"<Tab> 4 <Tab>", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Keys);
        grid1_->setFocus();
        Type(QString::fromLatin1(c.Keys));
        QWidget* expected = c.Focus == 1   ? static_cast<QWidget*>(grid1_)
                            : c.Focus == 2 ? static_cast<QWidget*>(grid2_)
                                           : static_cast<QWidget*>(button_);
        EXPECT_EQ(QApplication::focusWidget(), expected);
        EXPECT_FALSE(grid1_->EditorMode());
        EXPECT_FALSE(grid2_->EditorMode());
    }
    EXPECT_EQ(grid1_->Cell(1, 1), "4");
    EXPECT_EQ(grid2_->Cell(1, 1), "4");
}

TEST_F(StringGridEditor, MovingTheCurrentCellClosesTheEditorAndStoresItsText) {
    Type("4 2 <Down>");
    EXPECT_FALSE(grid1_->EditorMode());
    EXPECT_EQ(grid1_->Row(), 2);
    EXPECT_EQ(grid1_->Cell(1, 1), "42");
    EXPECT_EQ(grid1_->Cell(1, 2), "");

    // Keys that cannot move the current cell leave the editor open.
    Type("<Up> 7 <Up> <Left> <Right> 1");
    EXPECT_EQ(grid1_->Row(), 1);
    EXPECT_TRUE(grid1_->EditorMode());
    EXPECT_EQ(grid1_->Cell(1, 1), "71"); // Left and Right moved the caret
    Type("<PgDn>");
    EXPECT_EQ(grid1_->Row(), 4);
    EXPECT_FALSE(grid1_->EditorMode());
}

TEST_F(StringGridEditor, LosingTheFocusClosesTheEditorAndStoresItsText) {
    Type("3 , 5");
    QTest::mouseClick(button_, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), button_);
    EXPECT_FALSE(grid1_->EditorMode());
    EXPECT_FALSE(grid1_->InplaceEditor()->isVisible());
    EXPECT_EQ(grid1_->Cell(1, 1), "3,5");
}

TEST_F(StringGridEditor, ClicksOnCellsMoveOrOpenWithoutTheFilter) {
    grid1_->SetCell(1, 2, "12345");
    const QRect second = grid1_->CellRect(1, 2);
    QTest::mouseClick(grid1_->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(grid1_->Row(), 2);
    EXPECT_FALSE(grid1_->EditorMode());

    // A click on the fixed label cells neither selects nor edits them.
    QTest::mouseClick(grid1_->viewport(), Qt::LeftButton, {}, grid1_->CellRect(0, 3).center());
    QTest::mouseClick(grid1_->viewport(), Qt::LeftButton, {}, grid1_->CellRect(1, 0).center());
    EXPECT_EQ(grid1_->Col(), 1);
    EXPECT_EQ(grid1_->Row(), 2);
    EXPECT_FALSE(grid1_->EditorMode());

    // On the current cell it opens the editor, the caret where the click was.
    QTest::mouseClick(grid1_->viewport(), Qt::LeftButton, {}, second.topLeft() + QPoint(2, 5));
    ASSERT_TRUE(grid1_->EditorMode());
    EXPECT_EQ(QApplication::focusWidget(), grid1_->InplaceEditor());
    EXPECT_FALSE(grid1_->InplaceEditor()->hasSelectedText());
    EXPECT_EQ(grid1_->InplaceEditor()->cursorPosition(), 0);
    EXPECT_TRUE(calls_.empty());

    Type("9");
    EXPECT_EQ(grid1_->Cell(1, 2), "912345");
    // A click on another cell closes the editor, keeping the text.
    QTest::mouseClick(grid1_->viewport(), Qt::LeftButton, {}, grid1_->CellRect(1, 1).center());
    EXPECT_EQ(grid1_->Row(), 1);
    EXPECT_FALSE(grid1_->EditorMode());
    EXPECT_EQ(grid1_->Cell(1, 2), "912345");
}

TEST_F(StringGridEditor, FixedCellsCannotBecomeCurrent) {
    EXPECT_THROW(grid1_->SetCurrentCell(0, 1), Exception);
    EXPECT_THROW(grid1_->SetCurrentCell(1, 0), Exception);
    Type("<Left> <Up> <Home>");
    EXPECT_EQ(grid1_->Col(), 1);
    EXPECT_EQ(grid1_->Row(), 1);
}

TEST_F(StringGridEditor, TheEditorsContextMenuPastesUnfilteredAndKeepsItOpen) {
    QApplication::clipboard()->setText(QStringLiteral("a.b -1"));
    grid2_->setFocus();
    Type("<F2>");
    TInplaceEdit* editor = grid2_->InplaceEditor();
    // What the window system sends for a right click on the editor.
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            editor->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(editor, &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(grid2_->EditorMode());
    EXPECT_TRUE(editor->isVisible());
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
        // The untranslated menu of the line edit.
        if (action->text().startsWith(QLatin1String("&Paste"))) {
            paste = action;
        }
    }
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
    EXPECT_TRUE(grid2_->EditorMode());
    EXPECT_EQ(grid2_->Cell(1, 1), "a.b -1");
    EXPECT_TRUE(calls_.empty());
}

TEST_F(StringGridEditor, ProgramWritesBypassTheFilterAndReachTheOpenEditor) {
    grid1_->SetCell(0, 1, QStringLiteral("omega^1"));
    grid1_->SetCell(1, 1, QStringLiteral("a.b"));
    EXPECT_EQ(grid1_->Cell(0, 1), "omega^1");
    EXPECT_EQ(grid1_->Cell(1, 3), "");
    EXPECT_TRUE(calls_.empty());

    Type("<F2>");
    grid1_->SetCell(1, 1, QStringLiteral("0"));
    EXPECT_EQ(grid1_->InplaceEditor()->text(), "0");
    Type("<Down>");
    EXPECT_EQ(grid1_->Cell(1, 1), "0");
    EXPECT_TRUE(calls_.empty());

    EXPECT_THROW(grid1_->Cell(2, 0), Exception);
    EXPECT_THROW(grid1_->SetCell(1, 8, "x"), Exception);
    EXPECT_THROW(grid1_->Cell(-1, 0), Exception);
}

// With a handler that lets everything through, the grid and the editor act on the control
// characters themselves: Enter opens and closes the editor, Ctrl+V pastes, Ctrl+Z undoes.
TEST_F(StringGridEditor, PassingControlCharactersReachTheGridAndTheEditor) {
    struct Case {
        const char* Keys;
        const char* After;
        bool Open;
        const char* ClipboardAfter;
    };
    const Case cases[] = {
        {"<Enter>", "7", true, "a.b -1"},
        {"<Enter> <End> 5 <Enter>", "75", false, "a.b -1"},
        {"<F2> <C-v>", "a.b -1", true, "a.b -1"},
        {"<F2> <C-x>", "", true, "7"},
        {"<F2> <C-c>", "7", true, "7"},
        {"<F2> <End> 1 <C-z>", "7", true, "a.b -1"},
        {"<F2> <End> 1 <Esc>", "71", true, "a.b -1"},
        {"<Esc>", "7", false, "a.b -1"},
    };
    grid2_->SetOnKeyPress([this](TObject* sender, char& key) { calls_.push_back({sender, key}); });
    grid2_->setFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Keys);
        grid2_->SetEditorMode(false);
        grid2_->SetCell(1, 1, QStringLiteral("7"));
        QApplication::clipboard()->setText(QStringLiteral("a.b -1"));
        Type(QString::fromLatin1(c.Keys));
        EXPECT_EQ(grid2_->Cell(1, 1), QString::fromUtf8(c.After));
        EXPECT_EQ(grid2_->EditorMode(), c.Open);
        EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(c.ClipboardAfter));
    }
}

TEST_F(StringGridEditor, ARewrittenCharacterIsInsertedAsRewritten) {
    // A handler may turn any character into another, outside ASCII too.
    grid2_->SetOnKeyPress([](TObject*, char& key) {
        if (key == 'q') {
            key = static_cast<char>(0xC6); // Ж in code page 1251
        }
    });
    grid2_->setFocus();
    Type("q ж é <IM:😀>");
    EXPECT_EQ(grid2_->Cell(1, 1), QStringLiteral("Жжé😀"));
}

} // namespace
