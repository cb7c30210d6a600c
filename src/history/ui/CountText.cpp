#include "CountText.h"

QString CountText::of(long long count, const QString &singular, const QString &plural)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? singular : plural);
}
