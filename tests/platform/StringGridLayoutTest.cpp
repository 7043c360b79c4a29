#include "StringGridFixture.h"
#include "platform/TInplaceEdit.h"

#include <QImage>
#include <QScrollBar>

namespace {

using StringGridLayout = StringGridTest;

TEST_F(StringGridLayout, CellsHaveTheirOwnSizesWithOnePixelLines) {
    EXPECT_EQ(grid1_->CellRect(0, 0), QRect(0, 0, 100, 24));
    EXPECT_EQ(grid1_->CellRect(1, 1), QRect(101, 25, 102, 24));
    EXPECT_EQ(grid1_->CellRect(1, 2), QRect(101, 50, 102, 23)); // the one row of 23
    EXPECT_EQ(grid1_->CellRect(1, 3).top(), 74);
    EXPECT_EQ(grid2_->CellRect(1, 2), QRect(101, 50, 100, 24));
    EXPECT_EQ(grid1_->RowHeight(2), 23);
    EXPECT_EQ(grid1_->ColWidth(1), 102);
    EXPECT_EQ(grid1_->GridLineWidth(), 1);
}

TEST_F(StringGridLayout, TheCoefficientGridScrollsDownToItsEighthRow) {
    const int viewportHeight = grid1_->viewport()->height();
    EXPECT_TRUE(grid1_->verticalScrollBar()->isVisible());
    EXPECT_FALSE(grid1_->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(grid2_->verticalScrollBar()->isVisible());
    EXPECT_FALSE(grid2_->horizontalScrollBar()->isVisible());
    // The label row and three coefficient rows in full, the eighth out of view.
    EXPECT_LE(grid1_->CellRect(1, 3).bottom(), viewportHeight - 1);
    EXPECT_GT(grid1_->CellRect(1, 4).bottom(), viewportHeight - 1);
    EXPECT_TRUE(grid1_->CellRect(1, 7).isNull());

    Type("<Down> <Down> <Down> <Down> <Down> <Down> <Down>");
    EXPECT_EQ(grid1_->Row(), 7);
    const QRect eighth = grid1_->CellRect(1, 7);
    ASSERT_FALSE(eighth.isNull());
    EXPECT_LE(eighth.bottom(), viewportHeight - 1);
    EXPECT_FALSE(grid1_->CellRect(0, 7).isNull()); // its label scrolls with it
    EXPECT_GT(grid1_->TopRow(), 1);
    EXPECT_TRUE(grid1_->CellRect(1, 1).isNull());
    EXPECT_EQ(grid1_->CellRect(1, 0), QRect(101, 0, 102, 24)); // the fixed row stays

    Type("- 2 , 5");
    EXPECT_EQ(grid1_->Cell(1, 7), "-2,5");
    EXPECT_EQ(grid1_->InplaceEditor()->geometry(), eighth);

    // Back to the top by the scroll bar; the open editor goes out of sight with its cell.
    grid1_->verticalScrollBar()->setValue(0);
    EXPECT_EQ(grid1_->TopRow(), 1);
    EXPECT_FALSE(grid1_->viewport()->rect().intersects(grid1_->InplaceEditor()->geometry()));
    Type("<Up>");
    EXPECT_EQ(grid1_->Row(), 6);
    EXPECT_FALSE(grid1_->CellRect(1, 6).isNull());
    EXPECT_EQ(grid1_->Cell(1, 7), "-2,5");

    // Typing into a current cell that was scrolled away brings it back into view.
    Type("<Tab> <S-Tab>");
    grid1_->verticalScrollBar()->setValue(0);
    ASSERT_TRUE(grid1_->CellRect(1, 6).isNull());
    Type("1");
    EXPECT_FALSE(grid1_->CellRect(1, 6).isNull());
    EXPECT_EQ(grid1_->InplaceEditor()->geometry(), grid1_->CellRect(1, 6));
    EXPECT_EQ(grid1_->Cell(1, 6), "1");
    // Also when the character is swallowed and only opens the editor.
    Type("<Tab> <S-Tab>");
    grid1_->verticalScrollBar()->setValue(0);
    Type("x");
    EXPECT_TRUE(grid1_->EditorMode());
    EXPECT_FALSE(grid1_->CellRect(1, 6).isNull());
}

TEST_F(StringGridLayout, FixedCellsInButtonFaceAndValueCellsInWindowColour) {
    grid1_->SetCurrentCell(1, 3);
    const QImage image = grid1_->viewport()->grab().toImage();
    const QPalette& colours = grid1_->palette();
    struct Probe {
        const char* What;
        QPoint At;
        QPalette::ColorRole Role;
    };
    const Probe probes[] = {
        {"fixed cell (0, 0)", {95, 3}, QPalette::Button},
        {"fixed cell (0, 2)", {95, 52}, QPalette::Button},
        {"value cell (1, 2)", {195, 52}, QPalette::Base},
        {"line below the fixed row", {150, 24}, QPalette::Dark},
        {"line between fixed columns and values", {100, 60}, QPalette::Dark},
        {"line between value rows", {150, 49}, QPalette::Button},
        {"current cell (1, 3)", {195, 76}, QPalette::Highlight},
    };
    for (const Probe& probe : probes) {
        EXPECT_EQ(image.pixelColor(probe.At * image.devicePixelRatio()).rgb(),
                  colours.color(probe.Role).rgb())
            << probe.What;
    }
}

} // namespace
