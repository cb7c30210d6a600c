#include "GameRules.h"
#include "DealerRule.h"

GameRules GameRules::program()
{
    return {::dealerDraws, false, 1.0};
}

GameRules GameRules::standard()
{
    return {[](int dealerTotal, int) { return dealerTotal < 17; }, true, 1.5};
}

GameRules GameRules::casinoDefaults()
{
    GameRules rules = standard();
    rules.casino = true;
    rules.decks = 6;
    return rules;
}
