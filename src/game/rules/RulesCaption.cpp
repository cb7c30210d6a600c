#include "RulesCaption.h"
#include <vector>

namespace {

std::string joined(const std::vector<std::string> &parts, const std::string &separator)
{
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : separator) + part;
    return text;
}

// "3 TO 2" / "3:2" style payout, from the payout's numerator over a small denominator.
std::string payout(double naturalPayout, const std::string &separator)
{
    for (int denominator = 1; denominator <= 5; ++denominator) {
        const double numerator = naturalPayout * denominator;
        const int whole = static_cast<int>(numerator + 0.5);
        if (whole - numerator < 1e-9 && numerator - whole < 1e-9)
            return std::to_string(whole) + separator + std::to_string(denominator);
    }
    return std::to_string(naturalPayout);
}

} // namespace

std::string RulesCaption::felt(const GameRules &rules)
{
    if (!rules.casino)
        return {};
    std::vector<std::string> parts{
        std::to_string(rules.decks) + (rules.decks == 1 ? " DECK" : " DECKS"),
        rules.dealerHitsSoft17 ? "DEALER HITS SOFT 17" : "DEALER STANDS ON SOFT 17",
        "BLACKJACK PAYS " + payout(rules.naturalPayout, " TO "),
    };
    if (rules.noHoleCard)
        parts.push_back("NO HOLE CARD");
    if (rules.lateSurrender)
        parts.push_back("LATE SURRENDER");
    return joined(parts, " \u00B7 ");
}

std::string RulesCaption::shortName(const GameRules &rules)
{
    if (!rules.casino)
        return "Vantrel table";
    std::vector<std::string> parts{
        std::to_string(rules.decks) + (rules.decks == 1 ? " deck" : " decks"),
        rules.dealerHitsSoft17 ? "H17" : "S17",
        rules.doubleAfterSplit ? "DAS" : "no DAS",
        payout(rules.naturalPayout, ":"),
    };
    if (rules.doubleOn == GameRules::DoubleOn::NineToEleven)
        parts.push_back("double 9-11");
    if (rules.doubleOn == GameRules::DoubleOn::TenToEleven)
        parts.push_back("double 10-11");
    if (rules.splitHands != 4)
        parts.push_back("split to " + std::to_string(rules.splitHands));
    if (rules.resplitAces)
        parts.push_back("resplit aces");
    if (rules.noHoleCard)
        parts.push_back("no hole card");
    if (rules.lateSurrender)
        parts.push_back("late surrender");
    return joined(parts, ", ");
}
