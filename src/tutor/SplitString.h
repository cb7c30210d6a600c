#pragma once
#include <QList>
#include <QString>
#include <cstdint>
#include <limits>
#include <utility>

// An ordered collection of pieces, each under the key "String" + position.
class KeyedStrings {
public:
    void append(const QString &key, const QString &value) { items.append({key, value}); }
    int count() const { return static_cast<int>(items.size()); }
    // 1-based, as the keys are.
    QString item(int position) const { return items.at(position - 1).second; }
    QString item(const QString &key) const;
    QString keyAt(int position) const { return items.at(position - 1).first; }
    void removeKey(const QString &key);

private:
    QList<std::pair<QString, QString>> items;
};

// Breaks text into pieces appended to `pieces` (see the options word:
// bits 0-1 1 = any delimiter character, 2 = whole delimiter string;
// bits 2-4 0 drop, 4 delimiter as own piece, 8 delimiter ends the piece,
// 16 delimiter starts the piece). Invalid options leave the whole text as
// the only piece "String1". Runs in time linear in the text. A caller that
// only looks at the first pieces may pass pieceLimit: splitting stops once
// this call has added that many, so a huge line costs no more than that.
void SplitString(KeyedStrings &pieces, QString text, QString delimiters, int16_t splitOptions,
                 int pieceLimit = std::numeric_limits<int>::max());
