#include "CardLibrary.h"
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <climits>
#include <set>

namespace {
constexpr QRgb white = 0xFFFFFF;
const QColor table(200, 0, 200);

QImage canvas(int width, int height, qreal ratio = 1.0)
{
    QImage image(qRound(width * ratio), qRound(height * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(table);
    return image;
}

// One card drawn alone on a table-coloured canvas of exactly its size.
QImage drawn(int code, int mode, QRgb paper = white)
{
    QImage image = canvas(71, 96);
    cdtDraw(&image, 0, 0, code, mode, paper);
    return image;
}

QByteArray bytesOf(const QImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
}

// The smallest rectangle holding every pixel that differs from the table.
QRect paintedArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != table)
                area |= QRect(x, y, 1, 1);
    return area;
}
}

class TestCardLibrary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { cdtTerm(); }

    void everyFaceAndBackLooksDifferent()
    {
        int width = 0;
        int height = 0;
        cdtInit(width, height);
        QCOMPARE(QSize(width, height), QSize(71, 96));
        std::set<QByteArray> faces;
        for (int code = 0; code < 52; ++code) {
            faces.insert(bytesOf(drawn(code, 0)));
            QVERIFY2(drawn(code, 2) != drawn(code, 0), "highlighted face looks plain");
        }
        QCOMPARE(faces.size(), size_t(52));
        std::set<QByteArray> backs;
        for (int design = CardLibrary::firstBackDesign; design <= CardLibrary::lastBackDesign; ++design)
            backs.insert(bytesOf(drawn(design, 1)));
        backs.insert(bytesOf(drawn(0, 1))); // the plain back for unknown designs
        QCOMPARE(backs.size(), size_t(14));
    }

    // Callers pass 0xFFFFFF, a QRgb with zero alpha: the paper must still be opaque.
    void paperIsOpaqueWhite()
    {
        const QImage twoOfClubs = drawn(4, 0);
        QCOMPARE(twoOfClubs.pixel(35, 48), qRgb(255, 255, 255));
        QVERIFY(drawn(4, 0, 0xFFFFE0) != twoOfClubs);
    }

    void hatchIsSeeThroughOnWhite_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1x") << 1.0;
        QTest::newRow("2x") << 2.0;
    }

    void hatchIsSeeThroughOnWhite()
    {
        QFETCH(qreal, ratio);
        QImage image = canvas(71, 96, ratio);
        cdtDraw(&image, 0, 0, CardLibrary::hatchDesign, 1, white);
        int pureWhite = 0, coloured = 0, whitish = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                pureWhite += pixel == Qt::white;
                whitish += pixel != Qt::white && qMin(pixel.red(), qMin(pixel.green(), pixel.blue())) > 200;
                coloured += pixel != table && qAbs(pixel.red() - pixel.blue()) > 100;
            }
        }
        const int total = image.width() * image.height();
        QVERIFY2(pureWhite > total * 6 / 10 && coloured > total / 20, qPrintable(QString::number(pureWhite)));
        QCOMPARE(whitish, 0); // no pale blend of hatch and paper
    }

    void outOfRangeInputDrawsPlainBackOrNothing_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("drawsPlainBack");
        QTest::newRow("back -1") << -1 << 1 << true;
        QTest::newRow("back 52") << 52 << 1 << true;
        QTest::newRow("back 66") << 66 << 1 << true;
        QTest::newRow("back INT_MIN") << INT_MIN << 1 << true;
        QTest::newRow("back INT_MAX") << INT_MAX << 1 << true;
        QTest::newRow("face 52") << 52 << 0 << true;
        QTest::newRow("face of a design number") << 60 << 0 << true;
        QTest::newRow("face INT_MIN") << INT_MIN << 0 << true;
        QTest::newRow("highlighted 1000") << 1000 << 2 << true;
        QTest::newRow("mode 3") << 5 << 3 << false;
        QTest::newRow("mode -1") << 5 << -1 << false;
        QTest::newRow("mode INT_MIN, code INT_MIN") << INT_MIN << INT_MIN << false;
    }

    void outOfRangeInputDrawsPlainBackOrNothing()
    {
        QFETCH(int, code);
        QFETCH(int, mode);
        QFETCH(bool, drawsPlainBack);
        QCOMPARE(drawn(code, mode), drawsPlainBack ? drawn(0, 1) : canvas(71, 96));
    }

    void tableShowsOutsideTheRoundedOutline_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("mode");
        QTest::newRow("face") << 0 << 0;
        QTest::newRow("highlighted") << 50 << 2;
        QTest::newRow("hatch") << 53 << 1;
        QTest::newRow("sleeve") << 65 << 1;
    }

    void tableShowsOutsideTheRoundedOutline()
    {
        QFETCH(int, code);
        QFETCH(int, mode);
        QImage image = canvas(91, 116);
        QPainter painter(&image);
        cdtDraw(painter, 10, 10, code, mode, white);
        painter.end();
        QCOMPARE(paintedArea(image), QRect(10, 10, 71, 96));
        for (const QPoint &corner : {QPoint(10, 10), QPoint(80, 10), QPoint(10, 105), QPoint(80, 105)})
            QCOMPARE(image.pixelColor(corner), table);
    }

    void doubleRatioDeviceGetsFullResolutionCard()
    {
        QImage image = canvas(100, 120, 2.0);
        cdtDraw(&image, 10, 10, 51, 0, white);
        QCOMPARE(paintedArea(image), QRect(20, 20, 142, 192));
        // Rendered at that resolution, not a doubled 1x card: somewhere two
        // neighbouring device pixels of one logical pixel differ.
        bool finerThanLogicalPixels = false;
        for (int y = 20; y < 212 && !finerThanLogicalPixels; ++y)
            for (int x = 20; x < 162 && !finerThanLogicalPixels; x += 2)
                finerThanLogicalPixels = image.pixel(x, y) != image.pixel(x + 1, y);
        QVERIFY(finerThanLogicalPixels);
    }

    void redrawAfterTermMatchesAndBothEntryPointsAgree()
    {
        const QImage first = drawn(37, 0);
        cdtTerm();
        QCOMPARE(drawn(37, 0), first);
        QImage viaPainter = canvas(71, 96);
        QPainter painter(&viaPainter);
        cdtDraw(painter, 0, 0, 37, 0, white);
        painter.end();
        QCOMPARE(viaPainter, first);
        cdtDraw(static_cast<QPaintDevice *>(nullptr), 0, 0, 37, 0, white);
    }
};

QTEST_MAIN(TestCardLibrary)
#include "test_cardlibrary.moc"
