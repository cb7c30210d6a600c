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

bool GameRules::mayDouble(int hardSum, bool hasAce, bool afterSplit) const
{
    if (afterSplit && !doubleAfterSplit)
        return false;
    const bool soft = hasAce && hardSum + 10 <= 21;
    switch (doubleOn) {
    case DoubleOn::AnyTwo: return true;
    case DoubleOn::NineToEleven: return !soft && hardSum >= 9 && hardSum <= 11;
    case DoubleOn::TenToEleven: return !soft && hardSum >= 10 && hardSum <= 11;
    }
    return false;
}
