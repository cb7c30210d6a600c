#pragma once
#include <QString>

// The folder the program's data files live in: the executable's own folder,
// unless a test points it elsewhere.
class ProgramFolder {
public:
    static QString path();
    static void setPath(const QString &folder);
    // A file below the folder, e.g. file("pics", "bjwood.jpg").
    static QString file(const QString &subfolder, const QString &name);
    static QString file(const QString &name);
};
