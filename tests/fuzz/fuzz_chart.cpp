// The chart reader on any bjdata.txt and bjstrings.txt contents. Input: the
// two files' bytes separated by the first "\n@@\n" (the whole input is
// bjdata.txt when there is none).
#include "Alert.h"
#include "StrategyChart.h"
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        abort();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    static int alerts = 0;
    Alert::setHandler([](const QString &) { ++alerts; });
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const int cut = input.indexOf("\n@@\n");
    writeFile(folder.filePath(QStringLiteral("bjdata.txt")), cut < 0 ? input : input.left(cut));
    writeFile(folder.filePath(QStringLiteral("bjstrings.txt")), cut < 0 ? QByteArray() : input.mid(cut + 4));
    StrategyChart chart;
    chart.importChart(folder.path());
    return 0;
}
