#pragma once

#include "platform/Events.h"
#include "platform/TForm.h"

class TButton;
class TChart;
class TMenuItem;
class TPointSeries;
class TPopupMenu;
class TStaticText;
class TStringGrid;

// The program's one window: the coefficient and parameter tables with their captions, the
// calculate button, the chart with its series and the chart's popup menu. Everything but the
// tables' labels comes from the form description TMAINFORM.
class TMainForm : public TForm {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* owner = nullptr);

    TChart* Chart = nullptr;
    TStaticText* StaticText1 = nullptr;
    TStringGrid* StringGrid1 = nullptr;
    TStaticText* StaticText2 = nullptr;
    TStringGrid* StringGrid2 = nullptr;
    TButton* Button1 = nullptr;
    TPopupMenu* PopupMenu = nullptr;
    TMenuItem* N1 = nullptr;
    TPointSeries* Series1 = nullptr;

    void Button1Click(TObject* Sender);
    void StringGrid1KeyPress(TObject* Sender, char& Key);
    void StringGrid2KeyPress(TObject* Sender, char& Key);
    void ChartContextPopup(TObject* Sender, TPoint MousePos, bool& Handled);
    void N1Click(TObject* Sender);
};

// The main window, from the moment its storage exists until the program ends.
extern TMainForm* MainForm;
