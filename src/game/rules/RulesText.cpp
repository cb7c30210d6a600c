#include "RulesText.h"
#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr const char *programWord = "program";

template <class T> using Choices = std::vector<std::pair<const char *, T>>;

// One key of the text: its accepted words, and where the chosen value goes.
template <class T> struct Option {
    const char *key;
    Choices<T> choices;
    T GameRules::*field;
};

// Calls f on every option, in the order format() writes them. The options
// are made on first use, so the text can be read or written while other
// globals are still being set up.
template <class F> void forEachOption(F &&f)
{
    static const Option<int> decks{"decks", {{"1", 1}, {"2", 2}, {"4", 4}, {"6", 6}, {"8", 8}}, &GameRules::decks};
    static const Option<bool> soft17{"soft17", {{"stand", false}, {"hit", true}}, &GameRules::dealerHitsSoft17};
    static const Option<bool> hole{"hole", {{"peek", false}, {"none", true}}, &GameRules::noHoleCard};
    static const Option<double> natural{"natural", {{"3:2", 1.5}, {"6:5", 1.2}, {"1:1", 1.0}},
                                        &GameRules::naturalPayout};
    static const Option<GameRules::DoubleOn> doubling{"double",
                                                      {{"any", GameRules::DoubleOn::AnyTwo},
                                                       {"9-11", GameRules::DoubleOn::NineToEleven},
                                                       {"10-11", GameRules::DoubleOn::TenToEleven}},
                                                      &GameRules::doubleOn};
    static const Option<bool> das{"das", {{"yes", true}, {"no", false}}, &GameRules::doubleAfterSplit};
    static const Option<int> split{"split", {{"2", 2}, {"3", 3}, {"4", 4}}, &GameRules::splitHands};
    static const Option<bool> resplitAces{"resplitAces", {{"yes", true}, {"no", false}}, &GameRules::resplitAces};
    static const Option<bool> surrender{"surrender", {{"late", true}, {"no", false}}, &GameRules::lateSurrender};
    f(decks);
    f(soft17);
    f(hole);
    f(natural);
    f(doubling);
    f(das);
    f(split);
    f(resplitAces);
    f(surrender);
}

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> fields(const std::string &text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(trimmed(text.substr(start, comma - start)));
        if (comma == std::string::npos)
            return parts;
        start = comma + 1;
    }
}

std::string acceptedWords(const char *key)
{
    std::string words;
    forEachOption([&](const auto &option) {
        if (std::string(option.key) != key)
            return;
        for (const auto &choice : option.choices)
            words += (words.empty() ? "" : "|") + std::string(choice.first);
    });
    return words;
}

} // namespace

std::optional<GameRules> RulesText::parse(const std::string &text, std::string *error)
{
    auto refuse = [error](const std::string &reason) -> std::optional<GameRules> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (trimmed(text) == programWord)
        return GameRules::program();

    GameRules rules = GameRules::casinoDefaults();
    std::set<std::string> seen;
    for (const std::string &field : fields(text)) {
        if (field.empty())
            return refuse("empty field in the table rules \"" + text + "\"");
        const std::size_t equals = field.find('=');
        if (equals == std::string::npos)
            return refuse("\"" + field + "\" is not key=value");
        const std::string key = trimmed(field.substr(0, equals));
        const std::string value = trimmed(field.substr(equals + 1));
        if (!seen.insert(key).second)
            return refuse("the key \"" + key + "\" is given twice");
        bool knownKey = false;
        bool knownValue = false;
        forEachOption([&](const auto &option) {
            if (key != option.key)
                return;
            knownKey = true;
            for (const auto &choice : option.choices) {
                if (value == choice.first) {
                    rules.*option.field = choice.second;
                    knownValue = true;
                }
            }
        });
        if (!knownKey)
            return refuse("unknown key \"" + key + "\" in the table rules");
        if (!knownValue)
            return refuse("unknown value \"" + value + "\" for " + key + " (one of " + acceptedWords(key.c_str()) + ")");
    }
    // Without a hole card there is nothing to peek at: a dealer natural is played out.
    rules.dealerPeeks = !rules.noHoleCard;
    return rules;
}

std::string RulesText::format(const GameRules &rules)
{
    if (!rules.casino)
        return programWord;
    std::string text;
    forEachOption([&](const auto &option) {
        const auto &choices = option.choices;
        const auto chosen = std::find_if(choices.begin(), choices.end(),
            [&](const auto &choice) { return choice.second == rules.*option.field; });
        // A value no word names is written as one parse() refuses, never as another table.
        text += (text.empty() ? "" : ",") + std::string(option.key) + "="
              + (chosen == choices.end() ? "?" : chosen->first);
    });
    return text;
}

std::vector<RulesText::Key> RulesText::keys()
{
    std::vector<Key> keys;
    forEachOption([&](const auto &option) {
        Key key{option.key, {}};
        for (const auto &choice : option.choices)
            key.words.emplace_back(choice.first);
        keys.push_back(key);
    });
    return keys;
}
