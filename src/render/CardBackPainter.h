#pragma once
#include <QColor>

class QPainter;
class QPainterPath;

// Paints the card backs in the card's logical coordinates (71 x 96). Designs
// 53..65 are Hatch, Plaid, Weave, Robot, Roses, IvyBlack, IvyBlue, FishCyan,
// FishBlue, Shell, Castle, Beach and Sleeve; any other number gets a plain back.
class CardBackPainter {
public:
    CardBackPainter(QPainter &painter, const QColor &paper);
    void paint(int design);

private:
    void paintHatch();
    void paintPanel(int design);
    void paintPlaid();
    void paintWeave();
    void paintRobot();
    void paintRoses();
    void paintIvy(const QColor &ground, const QColor &leaf);
    void paintFish(const QColor &deep, const QColor &shallow, const QColor &fish);
    void paintShell();
    void paintCastle();
    void paintBeach();
    void paintSleeve();

    QPainter &painter;
    QColor paper;
};
