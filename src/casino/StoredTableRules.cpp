#include "StoredTableRules.h"
#include "Alert.h"
#include "RulesText.h"
#include "SettingsStore.h"

namespace {
const QString section = QStringLiteral("Table");
const QString key = QStringLiteral("rules");
} // namespace

StoredTableRules::Table StoredTableRules::load()
{
    const SettingsStore store(section);
    const std::string stored = store.read(key, QStringLiteral("program")).toStdString();
    std::string error;
    if (const std::optional<GameRules> rules = RulesText::parse(stored, &error))
        return {*rules, RulesText::format(*rules)};
    Alert::show(QStringLiteral("The stored table rules cannot be read: %1. The Vantrel table is played instead.")
                    .arg(QString::fromStdString(error)));
    return {GameRules::program(), RulesText::format(GameRules::program())};
}

bool StoredTableRules::save(const GameRules &rules)
{
    SettingsStore store(section);
    store.write(key, QString::fromStdString(RulesText::format(rules)));
    return store.commit();
}
