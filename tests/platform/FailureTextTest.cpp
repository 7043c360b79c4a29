#include "platform/FailureText.h"

#include <gtest/gtest.h>

TEST(ApplicationTitle, FollowsTheFileNameRule) {
    struct Case {
        const char* fileName;
        const char* title;
    };
    const Case cases[] = {
        {"PLOTTER.EXE", "Plotter"},
        {"/usr/bin/dpartition", "Dpartition"},
        {"C:\\Tools\\MyTool.Setup.exe", "Mytool"},
        {"dpartition", "Dpartition"},
        {"aBC", "Abc"},
        {"/opt/ПРОГРАММА.bin", "Программа"},
        {"/opt/éCOLE", "École"},
        {".hidden", ""},
        {"", ""},
        {"/tmp/dir.d/Tool", "Tool"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ApplicationTitleFromFileName(QString::fromUtf8(c.fileName)),
                  QString::fromUtf8(c.title))
            << c.fileName;
}

TEST(ApplicationTitle, KeepsACharacterOutsideTheBasicPlaneWhole) {
    // U+1D400 is two UTF-16 units; lowering must not touch or split it.
    EXPECT_EQ(ApplicationTitleFromFileName(QString::fromUtf8("\xF0\x9D\x90\x80"
                                                             "ABC.exe")),
              QString::fromUtf8("\xF0\x9D\x90\x80"
                                "abc"));
}

TEST(FullStop, IsAppendedAfterCharactersRankingAboveIt) {
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"Out of memory", "Out of memory."},
        {"Done.", "Done."},
        {"List index out of bounds (3)", "List index out of bounds (3)"},
        {"Why?", "Why?."},
        {"", ""},
        {"a b ", "a b "},
        {"line\n", "line\n"},
        {"quoted\"", "quoted\""},
        {"minus-", "minus-"},
        {"comma,", "comma,"},
        {"slash/", "slash/."},
        {"colon:", "colon:."},
        {"bracket]", "bracket]."},
        {"7", "7."},
        {"'abc' is not a valid floating point value", "'abc' is not a valid floating point value."},
        {"Ошибка", "Ошибка."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithFullStop(c.message), c.shown) << c.message;
}

TEST(ShortenForDisplay, LeavesAShortTextAlone) {
    const QString text = QStringLiteral("two\nlines");
    EXPECT_EQ(ShortenForDisplay(text), text);
    EXPECT_EQ(ShortenForDisplay(QString()), QString());
}

TEST(ShortenForDisplay, CutsLongLinesManyLinesAndHugeTextsWithAMark) {
    const QChar mark(0x2026);

    const QString longLine(MaxDisplayLineLength + 50, u'x');
    const QString cutLine = ShortenForDisplay(longLine + QStringLiteral("\nnext"));
    EXPECT_EQ(cutLine, QString(MaxDisplayLineLength, u'x') + mark + QStringLiteral("\nnext"));

    QString manyLines;
    for (int i = 0; i < MaxDisplayLines * 3; ++i)
        manyLines += QStringLiteral("line\n");
    const QString cutLines = ShortenForDisplay(manyLines);
    EXPECT_EQ(cutLines.count(u'\n'), MaxDisplayLines - 1);
    EXPECT_TRUE(cutLines.endsWith(mark));

    // Megabytes of short lines are cut by the total limit and the work stops there.
    QString huge;
    for (int i = 0; i < 200000; ++i)
        huge += QStringLiteral("0123456789 ");
    const QString cutHuge = ShortenForDisplay(huge);
    EXPECT_LE(cutHuge.size(), MaxDisplayLength + 1);
    EXPECT_TRUE(cutHuge.endsWith(mark));
}

TEST(ShortenForDisplay, NeverSplitsASurrogatePair) {
    QString text;
    for (int i = 0; i < MaxDisplayLineLength + 10; ++i)
        text += QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString cut = ShortenForDisplay(text);
    ASSERT_TRUE(cut.endsWith(QChar(0x2026)));
    EXPECT_EQ(cut.size(), MaxDisplayLineLength * 2 + 1);
    EXPECT_TRUE(cut.at(cut.size() - 2).isLowSurrogate());
}

TEST(ApplicationErrorText, NamesClassModuleAndAddress) {
    EXPECT_EQ(ApplicationErrorText(QStringLiteral("int"), QStringLiteral("dpartition"), 0x1a2b),
              QStringLiteral("Exception int in module dpartition at 00001A2B.\n"));
    // A percent sign in a name is text, not a format.
    EXPECT_EQ(ApplicationErrorText(QStringLiteral("%s%1"), QStringLiteral("m%n"), 0),
              QStringLiteral("Exception %s%1 in module m%n at 00000000.\n"));
}
