#pragma once
#include <QString>

// True when the file's size can be read and is not zero; a missing file, a
// folder or any other error gives false. Callers use it to skip missing data.
bool FileExists(const QString &fileName);
