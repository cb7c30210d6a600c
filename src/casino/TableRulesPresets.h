#pragma once
#include <string>
#include <vector>

// The tables the Table Rules dialog offers by name: the program's own, then
// the common casino tables, each as its rules text.
class TableRulesPresets {
public:
    struct Preset {
        std::string name;
        std::string rulesText;
    };
    static const std::vector<Preset> &all();
};
