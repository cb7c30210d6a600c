#pragma once
#include "ShoeSource.h"
#include <QList>

// Puts the given ranks on top of the shoe at its next shuffle, first listed
// dealt first; the other cards stay below in the order they came. Later
// shuffles leave the cards as they are.
class StackedShoeSource : public ShoeSource {
public:
    void stackRanks(const QList<int> &ranks) { stacked = ranks; }
    void order(std::vector<Card> &cards) override;

private:
    QList<int> stacked;
};
