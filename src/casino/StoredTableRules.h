#pragma once
#include "GameRules.h"
#include <string>

// The table's rules as kept in the settings: the rules text under the key
// `rules` of the section `Table`. Nothing stored means the program's table.
class StoredTableRules {
public:
    struct Table {
        GameRules rules;
        std::string text; // as RulesText::format writes it
    };
    // A text that does not read as rules is named in one message, and the
    // program's own table is played.
    static Table load();
    static bool save(const GameRules &rules);
};
