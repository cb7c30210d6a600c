#include "SplitString.h"

namespace {
enum MatchMode { AnyCharacter = 1, WholeString = 2 };
enum Placement { Drop = 0, OwnPiece = 4, EndsPiece = 8, StartsPiece = 16 };

QString keyFor(int position)
{
    return QStringLiteral("String") + QString::number(position);
}

// Invalid options: whatever the collection holds under "String1".."StringN"
// goes, and the whole text becomes the only piece.
void keepWholeText(KeyedStrings &pieces, const QString &text)
{
    const int count = pieces.count();
    for (int position = 1; position <= count; ++position)
        pieces.removeKey(keyFor(position));
    pieces.append(keyFor(1), text);
}
}

QString KeyedStrings::item(const QString &key) const
{
    for (const auto &entry : items) {
        if (entry.first == key)
            return entry.second;
    }
    return {};
}

void KeyedStrings::removeKey(const QString &key)
{
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (it->first == key) {
            items.erase(it);
            return;
        }
    }
}

// One pass over the text with index arithmetic instead of cutting a
// remainder string after every delimiter, which made long lines quadratic.
// `n` numbers the keys exactly as the cutting version did: it counts
// delimiters, and falls back to the collection's count after an empty piece.
void SplitString(KeyedStrings &pieces, QString text, QString delimiters, int16_t splitOptions,
                 int pieceLimit)
{
    const int matchMode = splitOptions & 3;
    const int placement = splitOptions & 28;
    if (matchMode != AnyCharacter && matchMode != WholeString) {
        keepWholeText(pieces, text);
        return;
    }
    const bool placementValid =
        placement == Drop || placement == OwnPiece || placement == EndsPiece || placement == StartsPiece;
    const int delimiterLength = matchMode == WholeString ? static_cast<int>(delimiters.size()) : 1;

    // Start of the next delimiter at or after `from`, or -1.
    const auto nextDelimiter = [&](int from) -> int {
        if (delimiters.isEmpty())
            return -1;
        if (matchMode == WholeString)
            return static_cast<int>(text.indexOf(delimiters, from));
        for (int i = from; i < text.size(); ++i) {
            if (delimiters.contains(text.at(i)))
                return i;
        }
        return -1;
    };

    const int countBefore = pieces.count();
    const auto limitReached = [&] { return pieces.count() - countBefore >= pieceLimit; };
    const auto add = [&](int position, const QString &piece) { pieces.append(keyFor(position), piece); };
    // Empty pieces are not added; the numbering then follows the collection.
    int n = 0;
    const auto addUnlessEmpty = [&](const QString &piece) {
        if (piece.isEmpty())
            n = pieces.count();
        else
            add(n, piece);
    };

    int pieceStart = 0;
    for (int at = nextDelimiter(0); at >= 0 && !limitReached(); at = nextDelimiter(at + delimiterLength)) {
        if (!placementValid) {
            keepWholeText(pieces, text);
            return;
        }
        const QString before = text.mid(pieceStart, at - pieceStart);
        const QString delimiter = text.mid(at, delimiterLength);
        ++n;
        switch (placement) {
        case Drop:
            addUnlessEmpty(before);
            pieceStart = at + delimiterLength;
            break;
        case OwnPiece:
            if (!before.isEmpty())
                add(n++, before);
            add(n, delimiter);
            n = pieces.count();
            pieceStart = at + delimiterLength;
            break;
        case EndsPiece:
            add(n, before + delimiter);
            pieceStart = at + delimiterLength;
            break;
        case StartsPiece:
            if (at == 0) {
                // A delimiter opening the text has no piece to start.
                add(n, delimiter);
                pieceStart = delimiterLength;
            } else {
                addUnlessEmpty(before);
                pieceStart = at;
            }
            break;
        }
    }
    if (pieceStart < text.size() && !limitReached())
        add(n + 1, text.mid(pieceStart));
}
