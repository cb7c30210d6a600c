#include "CasinoChartCache.h"
#include "CasinoDerivation.h"
#include "PrivateFiles.h"
#include "RulesText.h"
#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
// The file's first line names the table; the chart follows.
const QByteArray rulesPrefix = "rules ";
constexpr qint64 largestFile = 64 * 1024;
} // namespace

CasinoChartCache::CasinoChartCache(const QString &folder)
    : folder((folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : folder)
             + QStringLiteral("/charts"))
{
}

QString CasinoChartCache::fileFor(const GameRules &rules) const
{
    const QByteArray text = QByteArray::fromStdString(RulesText::format(rules));
    const QByteArray digest = QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex().left(16);
    return folder + QStringLiteral("/") + QString::fromLatin1(digest) + QStringLiteral(".txt");
}

CasinoChart CasinoChartCache::chartFor(const GameRules &rules)
{
    const QByteArray header = rulesPrefix + QByteArray::fromStdString(RulesText::format(rules)) + '\n';
    QFile stored(fileFor(rules));
    if (stored.open(QIODevice::ReadOnly) && stored.size() <= largestFile) {
        const QByteArray contents = stored.readAll();
        if (contents.startsWith(header)) {
            std::string error;
            if (const auto chart = CasinoChart::fromText(contents.mid(header.size()).toStdString(), &error)) {
                lastDerived = false;
                return *chart;
            }
        }
    }
    const CasinoChart chart = CasinoDerivation(rules).derive();
    lastDerived = true;
    // A chart that cannot be kept is derived again next time: no message.
    if (PrivateFiles::makeFolder(folder)) {
        QSaveFile file(fileFor(rules));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(header + QByteArray::fromStdString(chart.toText()));
            if (file.commit())
                PrivateFiles::keepFile(file.fileName());
        }
    }
    return chart;
}
