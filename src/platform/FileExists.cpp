#include "FileExists.h"
#include <QFileInfo>

bool FileExists(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.isFile() && info.size() > 0;
}
