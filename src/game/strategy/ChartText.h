#pragma once
#include <string>
#include <vector>

// The text form every strategy chart shares: one line a row, its label
// padded to eight characters, then its codes separated by commas. Reading
// splits a line at spaces, commas, tabs and carriage returns.
struct ChartText {
    static std::string line(const std::string &label, const std::vector<std::string> &codes);
    static std::vector<std::string> fields(const std::string &line);
};
