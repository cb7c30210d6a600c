#include "TableRulesPresets.h"

const std::vector<TableRulesPresets::Preset> &TableRulesPresets::all()
{
    // Keys left out take the casino defaults: peek, 3:2, double any two,
    // double after a split, split to four hands, no resplit of aces.
    static const std::vector<Preset> presets{
        {"Vantrel table", "program"},
        {"6 decks, S17, DAS, 3:2, late surrender", "decks=6,soft17=stand,das=yes,surrender=late"},
        {"8 decks, S17, DAS, 3:2", "decks=8,soft17=stand,das=yes"},
        {"Double deck, H17, DAS, 3:2", "decks=2,soft17=hit,das=yes"},
        {"Single deck, H17, 6:5", "decks=1,soft17=hit,natural=6:5"},
        {"6 decks, European, no hole card", "decks=6,hole=none"},
    };
    return presets;
}
