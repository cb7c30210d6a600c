#pragma once
#include <QString>

// "1 decision", "3 decisions": a count with its noun in the right number.
struct CountText {
    static QString of(long long count, const QString &singular, const QString &plural);
};
