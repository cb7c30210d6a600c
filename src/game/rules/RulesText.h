#pragma once
#include "GameRules.h"
#include <optional>
#include <string>
#include <vector>

// The one text form of a table's rules, used on the command line, in the
// settings and in the record: comma-separated key=value fields, such as
//   decks=6,soft17=stand,hole=peek,natural=3:2,double=any,das=yes,split=4,resplitAces=no,surrender=late
// Omitted keys take GameRules::casinoDefaults() (so no surrender unless
// asked for), and the single word `program` names the program's own table.
class RulesText {
public:
    // The rules the text names, or nothing with the reason in `error`:
    // unknown keys and values, repeated keys and empty fields are refused.
    static std::optional<GameRules> parse(const std::string &text, std::string *error = nullptr);
    // Every key in a fixed order, or `program` for any table that is not a
    // casino's; parse() reads it back to the same rules. A value outside the
    // listed ones is written as `?`, which parse() refuses.
    static std::string format(const GameRules &rules);

    // Every key with its accepted words, in format()'s order, for choosing
    // the rules one key at a time.
    struct Key {
        std::string name;
        std::vector<std::string> words;
    };
    static std::vector<Key> keys();
};
