#include "SplitString.h"
#include <QElapsedTimer>
#include <QtTest>

namespace {
// The pieces in order, after checking each sits under "String" + position.
QStringList piecesOf(const KeyedStrings &pieces)
{
    QStringList values;
    for (int position = 1; position <= pieces.count(); ++position) {
        if (pieces.keyAt(position) != QStringLiteral("String%1").arg(position))
            return {QStringLiteral("bad key ") + pieces.keyAt(position)};
        values << pieces.item(position);
    }
    return values;
}

QStringList split(const QString &text, const QString &delimiters, int16_t options)
{
    KeyedStrings pieces;
    SplitString(pieces, text, delimiters, options);
    return piecesOf(pieces);
}
}

class TestSplitString : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiters");
        QTest::addColumn<int>("options");
        QTest::addColumn<QStringList>("expected");
        const QStringList none;
        QTest::newRow("only commas") << ",,,," << " ," << 1 << none;
        QTest::newRow("empty text") << "" << " ," << 1 << none;
        QTest::newRow("one letter") << "h" << " ," << 1 << QStringList{"h"};
        QTest::newRow("mixed runs") << "H9 , ,h,, d" << " ," << 1 << QStringList{"H9", "h", "d"};
        QTest::newRow("leading and trailing") << " ,a b , " << " ," << 1 << QStringList{"a", "b"};
        QTest::newRow("sentence stays whole") << "A2, A3*Double against 5 or 6, otherwise hit" << "*" << 1
                                              << QStringList{"A2, A3", "Double against 5 or 6, otherwise hit"};
        QTest::newRow("asterisk runs") << "**8 or less***Always hit*" << "*" << 1
                                       << QStringList{"8 or less", "Always hit"};
        QTest::newRow("no delimiters") << "abc" << "" << 1 << QStringList{"abc"};
        QTest::newRow("case-sensitive") << "aXbxc" << "x" << 1 << QStringList{"aXb", "c"};
        QTest::newRow("whole string") << "a<>b<><>c<" << "<>" << 2 << QStringList{"a", "b", "c<"};
        QTest::newRow("own piece") << "a,b,,c" << "," << 1 + 4 << QStringList{"a", ",", "b", ",", ",", "c"};
        QTest::newRow("own piece, whole") << "--a--b" << "--" << 2 + 4 << QStringList{"--", "a", "--", "b"};
        QTest::newRow("ends piece") << ",a,b,,c" << "," << 1 + 8 << QStringList{",", "a,", "b,", ",", "c"};
        QTest::newRow("starts piece") << "a,b,,c" << "," << 1 + 16 << QStringList{"a", ",b", ",", ",c"};
        QTest::newRow("starts piece, text opens with it") << ",a,b" << "," << 1 + 16
                                                          << QStringList{",", "a", ",b"};
        QTest::newRow("starts piece, whole") << "a--b--c" << "--" << 2 + 16 << QStringList{"a", "--b", "--c"};
        QTest::newRow("options 0") << "a,b c" << " ," << 0 << QStringList{"a,b c"};
        QTest::newRow("options 3") << "a,b" << "," << 3 << QStringList{"a,b"};
        for (int placement : {12, 20, 24, 28})
            QTest::addRow("placement %d", placement) << "a,b" << "," << 1 + placement << QStringList{"a,b"};
        // Invalid placements only show once a delimiter is met.
        QTest::newRow("placement 12, no delimiter") << "" << "," << 13 << none;
    }
    void modes()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiters);
        QFETCH(int, options);
        QFETCH(QStringList, expected);
        QCOMPARE(split(text, delimiters, int16_t(options)), expected);
    }

    void invalidOptionsReplaceEarlierPieces()
    {
        KeyedStrings pieces;
        pieces.append("String1", "old 1");
        pieces.append("Other", "kept");
        pieces.append("String2", "old 2");
        SplitString(pieces, "x,y", ",", 1 + 12);
        QCOMPARE(pieces.count(), 2);
        QCOMPARE(pieces.item("Other"), QString("kept"));
        QCOMPARE(pieces.item("String1"), QString("x,y"));
    }

    // Cutting a remainder string at every delimiter took quadratic time.
    void longTextIsLinear()
    {
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(split(QString(2'000'000, ','), ",", 1), QStringList());
        QCOMPARE(split(QString(1'000'000, 'x') + ",y", ",", 1).size(), 2);
        KeyedStrings firstPieces;
        SplitString(firstPieces, QStringLiteral("h,").repeated(5'000'000), ",", 1, 12);
        QCOMPARE(firstPieces.count(), 12);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_APPLESS_MAIN(TestSplitString)
#include "test_splitstring.moc"
