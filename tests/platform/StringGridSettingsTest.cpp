#include "platform/TReadContext.h"
#include "platform/TStringGrid.h"
#include "rtl/Exceptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Stored pixels at 120 per inch onto a 96 dpi screen, with one key-press handler by name.
class FormContext : public TReadContext {
public:
    int Scale(int stored) const override { return static_cast<int>(std::lround(stored * 0.8)); }
    TNotifyEvent NotifyHandler(const QString& name) const override {
        throw EReadError(name.toStdString());
    }
    TKeyPressEvent KeyPressHandler(const QString& name) const override {
        if (name != QLatin1String("StringGrid1KeyPress")) {
            throw EReadError(name.toStdString());
        }
        return [](TObject*, char& key) {
            key = key == '.' ? ',' : key;
        };
    }
    TContextPopupEvent ContextPopupHandler(const QString& name) const override {
        throw EReadError(name.toStdString());
    }
};

QJsonObject Json(const char* text) {
    return QJsonDocument::fromJson(text).object();
}

const char* const kStringGrid1 = R"({
    "ColCount": 2, "RowCount": 8, "DefaultColWidth": 100, "ColWidths": [100, 102],
    "RowHeights": [24, 24, 23, 24, 24, 24, 24, 24],
    "Options": ["goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine",
                "goRangeSelect", "goEditing"],
    "ShowHint": false, "ParentShowHint": false, "OnKeyPress": "StringGrid1KeyPress"
})";

TEST(StringGridSettings, StoredSettingsApplyScaledInAnyOrder) {
    const QJsonObject settings = Json(kStringGrid1);
    const QStringList names = settings.keys();
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "in order");
        TStringGrid grid;
        FormContext context;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString& name = names[reversed ? names.size() - 1 - i : i];
            EXPECT_TRUE(grid.ReadProperty(name, settings[name], context)) << name.toStdString();
        }
        EXPECT_EQ(grid.ColCount(), 2);
        EXPECT_EQ(grid.RowCount(), 8);
        EXPECT_EQ(grid.FixedCols(), 1);
        EXPECT_EQ(grid.FixedRows(), 1);
        EXPECT_EQ(grid.DefaultColWidth(), 80);
        EXPECT_EQ(grid.ColWidth(0), 80);
        EXPECT_EQ(grid.ColWidth(1), 82);
        EXPECT_EQ(grid.RowHeight(1), 19);
        EXPECT_EQ(grid.RowHeight(2), 18);
        EXPECT_EQ(grid.DefaultRowHeight(), 24);
        EXPECT_EQ(grid.Options(), TGridOptions({goFixedVertLine, goFixedHorzLine, goVertLine,
                                                goHorzLine, goRangeSelect, goEditing}));
        EXPECT_EQ(grid.ScrollBars(), TScrollStyle::ssBoth);
        EXPECT_FALSE(grid.ShowHint());
        EXPECT_FALSE(grid.ParentShowHint());
        EXPECT_EQ(grid.Col(), 1);
        EXPECT_EQ(grid.Row(), 1);
        ASSERT_TRUE(grid.OnKeyPress());
        char key = '.';
        grid.OnKeyPress()(&grid, key);
        EXPECT_EQ(key, ',');
    }
}

TEST(StringGridSettings, OtherNamesAreLeftToTheCaller) {
    TStringGrid grid;
    FormContext context;
    EXPECT_FALSE(grid.ReadProperty("Left", 624, context));
    EXPECT_FALSE(grid.ReadProperty("TabOrder", 2, context));
    EXPECT_FALSE(grid.ReadProperty("Caption", "x", context));
}

TEST(StringGridSettings, UnreadableValuesAreReadErrors) {
    const struct {
        const char* Name;
        const char* Value; // a JSON array holding the value
    } cases[] = {
        {"ColCount", R"(["2"])"},
        {"ColCount", "[0]"},
        {"ColCount", "[2.5]"},
        {"RowCount", "[-3]"},
        {"FixedCols", "[5]"},
        {"FixedRows", "[-1]"},
        {"DefaultRowHeight", "[-24]"},
        {"ColWidths", "[100]"},
        {"ColWidths", R"([["a"]])"},
        {"RowHeights", "[[24, -1]]"},
        {"Options", R"(["goEditing"])"},
        {"Options", R"([["goEditing", "goBogus"]])"},
        {"Options", "[[1]]"},
        {"ScrollBars", R"(["ssSome"])"},
        {"ShowHint", "[1]"},
        {"OnKeyPress", R"(["Missing"])"},
        {"OnKeyPress", "[null]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " " + c.Value);
        TStringGrid grid;
        FormContext context;
        const QJsonValue value = QJsonDocument::fromJson(c.Value).array().at(0);
        EXPECT_THROW(grid.ReadProperty(c.Name, value, context), EReadError);
    }
}

} // namespace
