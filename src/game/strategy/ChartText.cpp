#include "ChartText.h"

std::string ChartText::line(const std::string &label, const std::vector<std::string> &codes)
{
    std::string text = label;
    text.resize(8, ' ');
    for (std::size_t i = 0; i < codes.size(); ++i)
        text += (i > 0 ? "," : "") + codes[i];
    return text + "\n";
}

std::vector<std::string> ChartText::fields(const std::string &line)
{
    std::vector<std::string> fields;
    std::string field;
    for (char c : line + ' ') {
        if (c == ' ' || c == ',' || c == '\r' || c == '\t') {
            if (!field.empty())
                fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    return fields;
}
