// SplitString on any text, delimiters, options word and piece limit.
// Input: 2 bytes options, 1 byte piece limit (0 = none), then UTF-8 text
// and delimiters separated by the first NUL byte.
#include "SplitString.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const auto options = static_cast<int16_t>(data[0] | (data[1] << 8));
    const int limit = data[2] == 0 ? std::numeric_limits<int>::max() : data[2];
    const QByteArray rest(reinterpret_cast<const char *>(data + 3), static_cast<int>(size - 3));
    const int cut = rest.indexOf('\0');
    const QString text = QString::fromUtf8(cut < 0 ? rest : rest.left(cut));
    const QString delimiters = cut < 0 ? QString() : QString::fromUtf8(rest.mid(cut + 1));

    KeyedStrings pieces;
    pieces.append(QStringLiteral("String1"), QStringLiteral("kept"));
    SplitString(pieces, text, delimiters, options, limit);
    // Every piece is reachable by position and by its key, and the pieces
    // never hold more text than went in (plus the kept one).
    qsizetype total = 0;
    for (int i = 1; i <= pieces.count(); ++i) {
        total += pieces.item(i).size();
        (void)pieces.item(pieces.keyAt(i));
    }
    if (total > 4 + text.size())
        std::abort();
    // A delimiter kept as its own piece comes in a pair with the piece
    // before it, so the limit may be passed by one.
    if (limit != std::numeric_limits<int>::max() && pieces.count() > 1 + limit + 1)
        std::abort();
    return 0;
}
