#include "ui/MainCode.h"

#include "calc/CalculateCommand.h"
#include "platform/TButton.h"
#include "platform/TChart.h"
#include "platform/TMenuItem.h"
#include "platform/TPointSeries.h"
#include "platform/TPopupMenu.h"
#include "platform/TStaticText.h"
#include "platform/TStringGrid.h"

#include <QIcon>

TMainForm* MainForm = nullptr;

namespace {

// The calculation sees the window only through the two tables and the series.
class TWindowTarget final : public TCalculateTarget {
public:
    TWindowTarget(TStringGrid& grid1, TStringGrid& grid2, TPointSeries& series)
        : grid1_(grid1), grid2_(grid2), series_(series) {}

    std::string ReadCell(TGridId grid, int col, int row) override {
        return Grid(grid).Cell(col, row).toStdString();
    }
    void WriteCell(TGridId grid, int col, int row, const std::string& text) override {
        Grid(grid).SetCell(col, row, QString::fromStdString(text));
    }
    void EmptySeries() override { series_.Clear(); }
    void AddPoint(double x, double y, const std::string& label, TColor colour) override {
        // The calculation's points carry no label: no conversion on the per-point path.
        series_.AddXY(x, y, label.empty() ? QString() : QString::fromStdString(label), colour);
    }

private:
    TStringGrid& Grid(TGridId grid) { return grid == TGridId::StringGrid1 ? grid1_ : grid2_; }

    TStringGrid& grid1_;
    TStringGrid& grid2_;
    TPointSeries& series_;
};

// What a decimal number typed with a comma can hold; a point becomes the comma. The key is
// judged as a signed byte, so every character above 127 (Cyrillic letters among them) is
// swallowed.
void FilterNumberKey(char& key, bool minusAllowed) {
    if (key == '.')
        key = ',';
    const signed char c = static_cast<signed char>(key);
    const bool passes = (c >= '0' && c <= '9') || c == ',' || c == 8 || (minusAllowed && c == '-');
    if (!passes)
        key = 0;
}

} // namespace

TMainForm::TMainForm(QWidget* owner) : TForm(owner) {
    Field(QStringLiteral("Chart"), Chart);
    Field(QStringLiteral("StaticText1"), StaticText1);
    Field(QStringLiteral("StringGrid1"), StringGrid1);
    Field(QStringLiteral("StaticText2"), StaticText2);
    Field(QStringLiteral("StringGrid2"), StringGrid2);
    Field(QStringLiteral("Button1"), Button1);
    Field(QStringLiteral("PopupMenu"), PopupMenu);
    Field(QStringLiteral("N1"), N1);
    Field(QStringLiteral("Series1"), Series1);
    Handler(QStringLiteral("Button1Click"), &TMainForm::Button1Click);
    Handler(QStringLiteral("StringGrid1KeyPress"), &TMainForm::StringGrid1KeyPress);
    Handler(QStringLiteral("StringGrid2KeyPress"), &TMainForm::StringGrid2KeyPress);
    Handler(QStringLiteral("ChartContextPopup"), &TMainForm::ChartContextPopup);
    Handler(QStringLiteral("N1Click"), &TMainForm::N1Click);

    setWindowIcon(QIcon(QStringLiteral(":/icons/dpartition.png")));
    ReadForm(QStringLiteral("TMainForm"));

    StringGrid1->SetCell(0, 0, QStringLiteral("Имя"));
    StringGrid1->SetCell(1, 0, QStringLiteral("Значение"));
    for (int r = 1; r <= 3; ++r)
        StringGrid1->SetCell(0, r, QStringLiteral("omega^") + QString::number(r));
    for (int r = 4; r <= 7; ++r)
        StringGrid1->SetCell(0, r, QStringLiteral("iomega^") + QString::number(r - 3));
    StringGrid2->SetCell(0, 0, QStringLiteral("Имя"));
    StringGrid2->SetCell(1, 0, QStringLiteral("Значение"));
    StringGrid2->SetCell(0, 1, QStringLiteral("Шаг"));
    StringGrid2->SetCell(0, 2, QStringLiteral("OmegaMax"));
}

void TMainForm::Button1Click(TObject* Sender) {
    (void)Sender;
    // One repaint once the command is over, also when it fails after emptying the series.
    struct TRepaint {
        TChart* chart;
        ~TRepaint() { chart->update(); }
    } repaint{Chart};
    TWindowTarget target(*StringGrid1, *StringGrid2, *Series1);
    RunCalculateCommand(target);
}

void TMainForm::StringGrid1KeyPress(TObject* Sender, char& Key) {
    (void)Sender;
    FilterNumberKey(Key, true);
}

void TMainForm::StringGrid2KeyPress(TObject* Sender, char& Key) {
    (void)Sender;
    FilterNumberKey(Key, false);
}

void TMainForm::ChartContextPopup(TObject* Sender, TPoint MousePos, bool& Handled) {
    (void)Sender;
    (void)Handled;
    const QPoint screen = Chart->mapToGlobal(QPoint(MousePos.X, MousePos.Y));
    PopupMenu->Popup(screen.x(), screen.y());
}

void TMainForm::N1Click(TObject* Sender) {
    (void)Sender;
    Chart->CopyToClipboardBitmap();
}
