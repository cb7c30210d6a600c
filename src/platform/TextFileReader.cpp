#include "TextFileReader.h"
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
const QString tooLarge = QStringLiteral("File larger than 1 MB");
}

QString TextFileReader::problem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("File not found");
    if (!info.isFile())
        return QStringLiteral("Not a regular file");
    if (info.size() > sizeLimit)
        return tooLarge;
    return {};
}

TextFileReader::Result TextFileReader::read(const QString &path)
{
    Result result{QString(), problem(path)};
    if (!result.problem.isEmpty())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = QStringLiteral("Permission denied");
        return result;
    }
    // In pieces, so a small file costs no large buffer; and bounded, for
    // the file may have grown since it was looked at.
    QByteArray bytes;
    for (QByteArray piece; bytes.size() <= sizeLimit && !(piece = file.read(64 * 1024)).isEmpty();)
        bytes += piece;
    if (bytes.size() > sizeLimit)
        result.problem = tooLarge;
    else
        result.text = decode(bytes);
    return result;
}

QString TextFileReader::decode(const QByteArray &bytes)
{
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray body = bytes.startsWith(bom) ? bytes.mid(bom.size()) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(body);
    return utf8.hasError() ? QString::fromLatin1(body) : text;
}
