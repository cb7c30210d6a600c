#include "NumericText.h"
#include <QtTest>

namespace {
// The converted value as text, or the failure's description.
template <typename Convert>
QString outcome(Convert convert, const QString &text)
{
    try {
        return QString::number(convert(text));
    } catch (const ConversionError &error) {
        return error.description;
    }
}

const QString overflow = QStringLiteral("Overflow");
const QString mismatch = QStringLiteral("Type mismatch");
}

class TestNumericText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void conversions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("as16");
        QTest::addColumn<QString>("as32");
        QTest::newRow("zero") << "0" << "0" << "0";
        QTest::newRow("exponent") << "1e3" << "1000" << "1000";
        QTest::newRow("blanks around") << " \t12 " << "12" << "12";
        QTest::newRow("plus sign") << "+7" << "7" << "7";
        QTest::newRow("trailing point") << "5." << "5" << "5";
        QTest::newRow("tie down to even") << "2.5" << "2" << "2";
        QTest::newRow("tie up to even") << "3.5" << "4" << "4";
        QTest::newRow("negative tie") << "-2.5" << "-2" << "-2";
        QTest::newRow("16-bit top") << "32767" << "32767" << "32767";
        QTest::newRow("16-bit bottom tie") << "-32768.5" << "-32768" << "-32768";
        QTest::newRow("rounds past 16 bits") << "32767.5" << overflow << "32768";
        QTest::newRow("past 16 bits") << "40000" << overflow << "40000";
        QTest::newRow("32-bit top") << "2147483647" << overflow << "2147483647";
        QTest::newRow("32-bit bottom") << "-2147483648" << overflow << "-2147483648";
        QTest::newRow("past 32 bits") << "2147483648" << overflow << overflow;
        QTest::newRow("rounds past 32 bits") << "2147483647.5" << overflow << overflow;
        QTest::newRow("beyond double") << "1e400" << overflow << overflow;
        QTest::newRow("below double") << "-1e-400" << "0" << "0";
        QTest::newRow("hex default colour") << "&H0000FF00&" << overflow << "65280";
        QTest::newRow("hex lower case") << "&hff" << "255" << "255";
        QTest::newRow("hex blanks") << " &HFF& " << "255" << "255";
        QTest::newRow("hex 16-bit literal") << "&HFFFF" << "-1" << "-1";
        QTest::newRow("hex 16-bit lowest") << "&H8000" << "-32768" << "-32768";
        QTest::newRow("hex long form") << "&HFFFF&" << overflow << "65535";
        QTest::newRow("hex five digits") << "&H0FFFF" << overflow << "65535";
        QTest::newRow("hex 32-bit literal") << "&HFFFFFFFF" << "-1" << "-1";
        QTest::newRow("hex 32-bit lowest") << "&H80000000" << overflow << "-2147483648";
        QTest::newRow("hex nine digits") << "&H100000000" << overflow << overflow;
        QTest::newRow("empty") << "" << mismatch << mismatch;
        QTest::newRow("blanks only") << "   " << mismatch << mismatch;
        QTest::newRow("word") << "abc" << mismatch << mismatch;
        QTest::newRow("trailing letter") << "1a" << mismatch << mismatch;
        QTest::newRow("open exponent") << "1e" << mismatch << mismatch;
        QTest::newRow("exponent only") << "e5" << mismatch << mismatch;
        QTest::newRow("sign only") << "-" << mismatch << mismatch;
        QTest::newRow("point only") << "." << mismatch << mismatch;
        QTest::newRow("two points") << "1..2" << mismatch << mismatch;
        QTest::newRow("inner blank") << "1 2" << mismatch << mismatch;
        QTest::newRow("blank after sign") << "- 1" << mismatch << mismatch;
        QTest::newRow("thousands separator") << "1,000" << mismatch << mismatch;
        QTest::newRow("C hex") << "0x10" << mismatch << mismatch;
        QTest::newRow("infinity word") << "inf" << mismatch << mismatch;
        QTest::newRow("hex without digits") << "&H" << mismatch << mismatch;
        QTest::newRow("hex ampersand only") << "&H&" << mismatch << mismatch;
        QTest::newRow("hex bad digit") << "&HG1" << mismatch << mismatch;
        QTest::newRow("hex signed digits") << "&H-1" << mismatch << mismatch;
        QTest::newRow("NUL inside") << QString::fromUtf16(u"12\u00003", 4) << mismatch << mismatch;
        QTest::newRow("full-width digit") << QString::fromUtf16(u"\uFF11") << mismatch << mismatch;
        // Hostile text: huge exponents and ten-megabyte inputs.
        const qsizetype huge = 10 * 1024 * 1024;
        QTest::newRow("huge exponent") << "1e99999999999999999999" << overflow << overflow;
        QTest::newRow("huge negative exponent") << "1e-99999999999999999999" << "0" << "0";
        QTest::newRow("huge number") << QString(huge, '9') << overflow << overflow;
        QTest::newRow("huge leading zeros") << QString(huge, '0') + "7" << "7" << "7";
        QTest::newRow("huge hex") << "&H" + QString(huge, 'F') << overflow << overflow;
        QTest::newRow("huge blanks") << QString(huge, ' ') << mismatch << mismatch;
        QTest::newRow("huge NULs") << QString(huge, QChar(0)) << mismatch << mismatch;
    }

    void conversions()
    {
        QFETCH(QString, text);
        QFETCH(QString, as16);
        QFETCH(QString, as32);
        QCOMPARE(outcome(NumericText::toInt16, text), as16);
        QCOMPARE(outcome(NumericText::toInt32, text), as32);
        QCOMPARE(NumericText::isNumeric(text), as32 != mismatch);
    }
};

QTEST_APPLESS_MAIN(TestNumericText)
#include "test_numerictext.moc"
