#pragma once
#include <QString>

// Reads the program's small text files (the chart, its wording, the help)
// and vets the settings file before the store opens it. A file counts as
// unreadable when it is missing, is not a regular file (a FIFO would block
// the reader, a folder cannot be read) or is larger than any sane file of
// its kind. Text is UTF-8, a byte-order mark dropped; bytes that are not
// valid UTF-8 are taken as Latin-1.
class TextFileReader {
public:
    static constexpr qint64 sizeLimit = 1024 * 1024;

    struct Result {
        QString text;
        QString problem; // "" when the text was read
    };

    // Why the file cannot be read, or "" when it can.
    static QString problem(const QString &path);
    static Result read(const QString &path);

private:
    static QString decode(const QByteArray &bytes);
};
