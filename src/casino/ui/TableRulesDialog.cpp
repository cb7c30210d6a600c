#include "TableRulesDialog.h"
#include "RulesCaption.h"
#include "RulesText.h"
#include "TableRulesPresets.h"
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// What each key of the rules text is called beside its choices.
QString captionOf(const std::string &key)
{
    static const std::vector<std::pair<std::string, QString>> captions{
        {"decks", QStringLiteral("Decks")},
        {"soft17", QStringLiteral("Dealer on soft 17")},
        {"hole", QStringLiteral("Hole card")},
        {"natural", QStringLiteral("Blackjack pays")},
        {"double", QStringLiteral("Double on")},
        {"das", QStringLiteral("Double after split")},
        {"split", QStringLiteral("Split up to hands")},
        {"resplitAces", QStringLiteral("Resplit aces")},
        {"surrender", QStringLiteral("Surrender")},
    };
    for (const auto &caption : captions)
        if (caption.first == key)
            return caption.second;
    return QString::fromStdString(key);
}
} // namespace

TableRulesDialog::TableRulesDialog(const GameRules &current, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTableRules"));
    setWindowTitle(QStringLiteral("Table Rules"));
    auto *layout = new QVBoxLayout(this);
    rows = new QButtonGroup(this);
    const auto &presets = TableRulesPresets::all();
    for (std::size_t i = 0; i < presets.size(); ++i) {
        auto *row = new QRadioButton(QString::fromStdString(presets[i].name), this);
        rows->addButton(row, static_cast<int>(i));
        layout->addWidget(row);
    }
    customRow = static_cast<int>(presets.size());
    auto *custom = new QRadioButton(QStringLiteral("Custom:"), this);
    rows->addButton(custom, customRow);
    layout->addWidget(custom);

    auto *box = new QGroupBox(this);
    auto *form = new QFormLayout(box);
    for (const RulesText::Key &key : RulesText::keys()) {
        auto *choices = new QComboBox(box);
        choices->setObjectName(QString::fromStdString(key.name));
        for (const std::string &word : key.words)
            choices->addItem(QString::fromStdString(word));
        form->addRow(captionOf(key.name), choices);
        options.push_back(choices);
        // Changing an option is choosing a custom table.
        connect(choices, &QComboBox::activated, this, [this] {
            rows->button(customRow)->setChecked(true);
            describe();
        });
    }
    layout->addWidget(box);
    description = new QLabel(this);
    description->setWordWrap(true);
    description->setMinimumWidth(380);
    layout->addWidget(description);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(rows, &QButtonGroup::idClicked, this, &TableRulesDialog::choose);

    const std::string currentText = RulesText::format(current);
    int row = customRow;
    for (std::size_t i = 0; i < presets.size(); ++i)
        if (RulesText::format(*RulesText::parse(presets[i].rulesText)) == currentText)
            row = static_cast<int>(i);
    showCustom(current.casino ? current : GameRules::casinoDefaults());
    rows->button(row)->setChecked(true);
    describe();
}

void TableRulesDialog::choose(int row)
{
    rows->button(row)->setChecked(true);
    if (row != customRow) {
        const GameRules rules = *RulesText::parse(TableRulesPresets::all()[static_cast<std::size_t>(row)].rulesText);
        if (rules.casino)
            showCustom(rules);
    }
    describe();
}

int TableRulesDialog::choice() const
{
    return rows->checkedId();
}

void TableRulesDialog::showCustom(const GameRules &rules)
{
    // The rules' own text names each option's word, in the keys' order.
    const std::string text = RulesText::format(rules);
    std::size_t start = 0;
    for (QComboBox *choices : options) {
        const std::size_t end = text.find(',', start);
        const std::string field = text.substr(start, end - start);
        choices->setCurrentText(QString::fromStdString(field.substr(field.find('=') + 1)));
        start = end + 1;
    }
}

std::string TableRulesDialog::customText() const
{
    std::string text;
    const std::vector<RulesText::Key> keys = RulesText::keys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        text += (i == 0 ? "" : ",") + keys[i].name + "=" + options[i]->currentText().toStdString();
    return text;
}

GameRules TableRulesDialog::chosen() const
{
    const int row = choice();
    const std::string text =
        row == customRow ? customText() : TableRulesPresets::all()[static_cast<std::size_t>(row)].rulesText;
    // Every word offered is one the rules text reads.
    return *RulesText::parse(text);
}

void TableRulesDialog::describe()
{
    const GameRules rules = chosen();
    const std::string felt = RulesCaption::felt(rules);
    description->setText(QString::fromStdString(RulesCaption::shortName(rules))
                         + (felt.empty() ? QStringLiteral("\nA fresh deck every round, even money for a blackjack.")
                                         : QStringLiteral("\n") + QString::fromStdString(felt)));
}
