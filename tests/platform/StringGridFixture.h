#pragma once

#include "platform/TStringGrid.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The product's cell filter: a point becomes a comma; digits, the comma and Backspace pass,
// the minus sign only where negative numbers are allowed; everything else is swallowed.
inline void NumberFilter(char& key, bool minusAllowed) {
    if (key == '.') {
        key = ',';
    }
    const bool passes =
        (key >= '0' && key <= '9') || key == ',' || key == 8 || (minusAllowed && key == '-');
    if (!passes) {
        key = 0;
    }
}

// The two tables as the main window lays them out (at 96 dpi, unscaled), with the calculate
// button after them in the tab order, in an active window.
class StringGridTest : public ::testing::Test {
protected:
    struct Call {
        TObject* Sender;
        char Key;
    };

    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        window_->resize(500, 360);
        grid1_ = MakeGrid(8, {24, 24, 23, 24, 24, 24, 24, 24}, 32);
        grid1_->SetOnKeyPress([this](TObject* sender, char& key) {
            calls_.push_back({sender, key});
            NumberFilter(key, true);
        });
        grid2_ = MakeGrid(3, {24, 24, 24}, 184);
        grid2_->SetOnKeyPress([this](TObject* sender, char& key) {
            calls_.push_back({sender, key});
            NumberFilter(key, false);
        });
        button_ = new QPushButton(QStringLiteral("Выполнить расчет"), window_.get());
        button_->setGeometry(64, 310, 161, 25);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        grid1_->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), grid1_);
    }

    void TearDown() override { window_.reset(); }

    TStringGrid* MakeGrid(int rows, const std::vector<int>& heights, int top) {
        auto* grid = new TStringGrid(window_.get());
        grid->setGeometry(0, top, 233, 120);
        grid->SetColCount(2);
        grid->SetRowCount(rows);
        grid->SetDefaultColWidth(100);
        grid->SetColWidths({100, rows == 8 ? 102 : 100});
        grid->SetRowHeights(heights);
        grid->SetOptions(
            {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing});
        return grid;
    }

    // Key events go to the window that has the focus, and Qt delivers them from there.
    static constexpr QWidget* kFocus = nullptr;

    // Types a sequence into whatever has the focus, as a user would. Tokens are separated by
    // spaces: one character types that character ("ж" through the key's text), and
    // <BS> <Enter> <Esc> <Space> <Tab> <S-Tab> <F2> <Up> <Down> <Left> <Right> <Home> <End>
    // <Del> <C-c> <C-v> <C-x> <C-z> <S-Ins> <C-Ins> <S-Del> are those keys; <IM:text> is an input
    // method committing text.
    static void Type(const QString& sequence) {
        for (const QString& token : sequence.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr) << "no focus for " << token.toStdString();
            if (token.startsWith(QLatin1String("<IM:"))) {
                QInputMethodEvent event;
                event.setCommitString(token.mid(4, token.size() - 5));
                QApplication::sendEvent(QGuiApplication::focusObject(), &event);
                continue;
            }
            if (token.size() == 1 || (token.size() == 2 && token.at(0).isHighSurrogate())) {
                const char32_t codePoint = token.toUcs4().at(0);
                const auto key = static_cast<Qt::Key>(QChar::toUpper(codePoint));
                QTest::sendKeyEvent(QTest::Click, kFocus, key, token, Qt::NoModifier);
                continue;
            }
            struct Named {
                const char* Name;
                Qt::Key Key;
                Qt::KeyboardModifiers Modifiers;
                const char* Text;
            };
            static const Named named[] = {
                {"<BS>", Qt::Key_Backspace, Qt::NoModifier, "\b"},
                {"<Enter>", Qt::Key_Return, Qt::NoModifier, "\r"},
                {"<Esc>", Qt::Key_Escape, Qt::NoModifier, "\x1b"},
                {"<Space>", Qt::Key_Space, Qt::NoModifier, " "},
                {"<Tab>", Qt::Key_Tab, Qt::NoModifier, "\t"},
                {"<S-Tab>", Qt::Key_Backtab, Qt::ShiftModifier, ""},
                {"<F2>", Qt::Key_F2, Qt::NoModifier, ""},
                {"<Up>", Qt::Key_Up, Qt::NoModifier, ""},
                {"<Down>", Qt::Key_Down, Qt::NoModifier, ""},
                {"<Left>", Qt::Key_Left, Qt::NoModifier, ""},
                {"<Right>", Qt::Key_Right, Qt::NoModifier, ""},
                {"<Home>", Qt::Key_Home, Qt::NoModifier, ""},
                {"<End>", Qt::Key_End, Qt::NoModifier, ""},
                {"<PgDn>", Qt::Key_PageDown, Qt::NoModifier, ""},
                {"<Del>", Qt::Key_Delete, Qt::NoModifier, "\x7f"},
                // Platforms differ in the text of Ctrl+letter; "c" is what a test driver sends.
                {"<C-c>", Qt::Key_C, Qt::ControlModifier, "c"},
                {"<C-v>", Qt::Key_V, Qt::ControlModifier, "\x16"},
                {"<C-x>", Qt::Key_X, Qt::ControlModifier, "x"},
                {"<C-z>", Qt::Key_Z, Qt::ControlModifier, "\x1a"},
                {"<S-Ins>", Qt::Key_Insert, Qt::ShiftModifier, ""},
                {"<C-Ins>", Qt::Key_Insert, Qt::ControlModifier, ""},
                {"<S-Del>", Qt::Key_Delete, Qt::ShiftModifier, "\x7f"},
            };
            const Named* found = nullptr;
            for (const Named& candidate : named) {
                if (token == QLatin1String(candidate.Name)) {
                    found = &candidate;
                }
            }
            ASSERT_NE(found, nullptr) << "unknown token " << token.toStdString();
            QTest::sendKeyEvent(QTest::Click, kFocus, found->Key, QString::fromLatin1(found->Text),
                                found->Modifiers);
        }
    }

    std::unique_ptr<QWidget> window_;
    TStringGrid* grid1_ = nullptr;
    TStringGrid* grid2_ = nullptr;
    QPushButton* button_ = nullptr;
    std::vector<Call> calls_;
};
