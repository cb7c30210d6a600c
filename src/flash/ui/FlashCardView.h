#pragma once
#include "FlashCard.h"
#include <QWidget>

// The drill's card on the table's felt: the dealer's up-card above, the
// player's hand below, all at once and without flight.
class FlashCardView : public QWidget {
    Q_OBJECT
public:
    explicit FlashCardView(QWidget *parent = nullptr);
    void setCard(const FlashCard &card);
    const FlashCard &card() const { return shown; }
    QSize sizeHint() const override;

Q_SIGNALS:
    // After each paint, for the key-to-card timing.
    void painted();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    FlashCard shown;
    int cardWidth = 0;
    int cardHeight = 0;
};
