#pragma once
#include <QString>

// The program's own folders and files are for this user alone, as the XDG
// base-directory rules ask: folders 0700, files 0600. Each call says
// whether it got there; nothing else is ever touched.
class PrivateFiles {
public:
    // Makes every missing folder of the chain, each 0700; folders already
    // there keep their mode. True when `folder` is a folder afterwards.
    static bool makeFolder(const QString &folder);
    // As makeFolder, and `folder` itself is then set to 0700 even if it was
    // there before.
    static bool keepFolder(const QString &folder);
    // Sets a plain file to 0600; a missing one stays missing. A link, pipe or
    // folder in its place is left alone, and false.
    static bool keepFile(const QString &path);
    // As keepFile, but a missing file is made empty with that mode, so that
    // whatever is written into it later stays private.
    static bool makeFile(const QString &path);
};
