#pragma once
#include "GameRules.h"
#include <QDialog>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;

// Game > Table Rules...: the program's own table, the common casino tables
// by name, or a custom table with every option of the rules text. The
// table's name and its felt's line are shown as they are chosen.
class TableRulesDialog : public QDialog {
    Q_OBJECT
public:
    TableRulesDialog(const GameRules &current, QWidget *parent = nullptr);
    GameRules chosen() const;
    // The row picked: 0 the Vantrel table, then the presets, last Custom.
    int choice() const;
    void choose(int row);
    QComboBox *optionBox(int key) const { return options[static_cast<std::size_t>(key)]; }

private:
    std::string customText() const;
    void showCustom(const GameRules &rules);
    void describe();

    QButtonGroup *rows = nullptr;
    std::vector<QComboBox *> options; // one per rules-text key
    QLabel *description = nullptr;
    int customRow = 0;
};
