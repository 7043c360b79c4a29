#include "StringGridFixture.h"
#include "platform/TInplaceEdit.h"

#include <QClipboard>

namespace {

enum class Editor { Closed, WholeTextSelected, Open };

struct KeyCase {
    const char* Name;
    int Grid;
    const char* Before; // the current cell's text before typing
    const char* Keys;
    const char* After;
    Editor State;
    int FilterCalls;
    const char* ClipboardAfter = "a.b -1";
};

// Every case starts on cell (1, 1) with the editor closed; "<F2> <End>" opens it with the caret
// after the text. The clipboard holds "a.b -1".
const KeyCase kKeyCases[] = {
    {"PointBecomesComma", 1, "", "1 2 . 5", "12,5", Editor::Open, 4},
    {"PointBecomesCommaInGrid2", 2, "", "1 2 . 5", "12,5", Editor::Open, 4},
    {"MinusPassesInGrid1", 1, "", "- 3", "-3", Editor::Open, 2},
    {"MinusSwallowedInGrid2", 2, "", "- 3", "3", Editor::Open, 2},
    {"LetterSwallowed", 1, "", "1 e 5", "15", Editor::Open, 3},
    {"CommasAnywhere", 1, "", "1 , 2 , 3", "1,2,3", Editor::Open, 5},
    {"MinusAnywhere", 1, "", "5 - -", "5--", Editor::Open, 3},
    {"CyrillicKeyOnClosed", 1, "0,5", "ж", "0,5", Editor::WholeTextSelected, 1},
    {"CyrillicCommitOnClosed", 2, "0,5", "<IM:ж>", "0,5", Editor::WholeTextSelected, 1},
    {"SpaceOnClosed", 1, "0,5", "<Space>", "0,5", Editor::WholeTextSelected, 1},
    {"DigitReplacesClosedText", 2, "0,01", "5", "5", Editor::Open, 1},
    {"BackspaceEmptiesClosedCell", 1, "0,01", "<BS>", "", Editor::Open, 1},
    {"BackspaceInOpenEditor", 1, "0,01", "<F2> <End> <BS>", "0,0", Editor::Open, 1},
    {"EnterOnClosedDoesNotOpen", 1, "7", "<Enter>", "7", Editor::Closed, 1},
    {"EnterOnOpenKeepsItOpen", 1, "7", "<F2> <Enter>", "7", Editor::WholeTextSelected, 1},
    {"EscapeOnClosed", 1, "7", "<Esc>", "7", Editor::Closed, 1},
    {"EscapeDoesNotRevert", 1, "7", "<F2> <End> 1 <Esc>", "71", Editor::Open, 2},
    {"CtrlKeysOnClosed", 1, "7", "<C-c> <C-v> <C-x> <C-z>", "7", Editor::Closed, 4},
    {"CtrlVDoesNotPaste", 2, "7", "<F2> <C-v>", "7", Editor::WholeTextSelected, 1},
    {"CtrlXDoesNotCut", 2, "7", "<F2> <C-x>", "7", Editor::WholeTextSelected, 1},
    {"CtrlZDoesNotUndo", 1, "7", "<F2> <End> 1 <C-z>", "71", Editor::Open, 2},
    {"ShiftInsertPastesUnfiltered", 2, "7", "<F2> <S-Ins>", "a.b -1", Editor::Open, 0},
    {"ShiftDeleteCuts", 1, "7", "<F2> <S-Del>", "", Editor::Open, 0, "7"},
    {"CtrlInsertCopies", 1, "7", "<F2> <C-Ins>", "7", Editor::WholeTextSelected, 0, "7"},
    {"CtrlCDoesNotCopy", 1, "7", "<F2> <C-c>", "7", Editor::WholeTextSelected, 1},
    {"DeleteIsNoCharacter", 1, "123", "<F2> <Home> <Del>", "23", Editor::Open, 0},
    {"CommitStringIsOneKeystrokeEach", 1, "", "<IM:1.5ж-> <IM:x>", "1,5-", Editor::Open, 6},
    {"SwallowedCharOnOpenDoesNothing", 2, "12", "<F2> <End> <Left> x ж <Space>", "12", Editor::Open,
     3},
    {"InsertsAtCaret", 1, "12", "<F2> <End> <Left> . <End> 3", "1,23", Editor::Open, 2},
    {"F2OnOpenEditorIsNoCharacter", 1, "12", "<F2> <F2>", "12", Editor::WholeTextSelected, 0},
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.Name << ": " << c.Keys;
}

class StringGridKeys : public StringGridTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(StringGridKeys, TypingGivesCellTextAndEditorState) {
    const KeyCase& c = GetParam();
    TStringGrid* grid = c.Grid == 1 ? grid1_ : grid2_;
    grid->setFocus();
    grid->SetCell(1, 1, QString::fromUtf8(c.Before));
    QApplication::clipboard()->setText(QStringLiteral("a.b -1"));

    Type(QString::fromUtf8(c.Keys));

    // The cell holds what the editor shows, also while it is open.
    EXPECT_EQ(grid->Cell(1, 1), QString::fromUtf8(c.After));
    EXPECT_EQ(grid->EditorMode(), c.State != Editor::Closed);
    if (grid->EditorMode()) {
        EXPECT_EQ(grid->InplaceEditor()->text(), QString::fromUtf8(c.After));
        EXPECT_EQ(QApplication::focusWidget(), grid->InplaceEditor());
    }
    if (c.State == Editor::WholeTextSelected) {
        EXPECT_EQ(grid->InplaceEditor()->selectedText(), grid->InplaceEditor()->text());
        EXPECT_TRUE(grid->InplaceEditor()->hasSelectedText());
    }
    EXPECT_EQ(static_cast<int>(calls_.size()), c.FilterCalls);
    for (const Call& call : calls_) {
        EXPECT_EQ(call.Sender, grid);
    }
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(c.ClipboardAfter));
}

INSTANTIATE_TEST_SUITE_P(Sequences, StringGridKeys, ::testing::ValuesIn(kKeyCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
