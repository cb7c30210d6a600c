#pragma once
#include "GameRules.h"
#include <string>

// Names a table's rules for people: the line printed on the felt, and a
// short name for menus and selectors.
class RulesCaption {
public:
    // For example "6 DECKS · DEALER STANDS ON SOFT 17 · BLACKJACK PAYS 3 TO 2",
    // with "NO HOLE CARD" and "LATE SURRENDER" added where they apply. Empty
    // for the program's table, whose felt stays as it is.
    static std::string felt(const GameRules &rules);
    // For example "6 decks, S17, DAS, 3:2, late surrender": the deck count,
    // soft 17, doubling after a split and the payout always, the other rules
    // only where they differ from the usual defaults. "Vantrel table" for the
    // program's own.
    static std::string shortName(const GameRules &rules);
};
