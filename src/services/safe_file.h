// Pecunette — apprendre à remplir un chèque.
// Every file the program writes goes through here, so a full disk or a
// read-only folder never leaves a damaged file and always has a French reason.
#pragma once

#include <QByteArray>
#include <QString>

struct FileWriteResult {
    bool ok = false;
    QString reason;  // a French sentence saying why, when it failed
    explicit operator bool() const { return ok; }
};

// Replaces `path` with `bytes` as a whole or not at all: on any failure an
// earlier file is left byte for byte as it was and no partial file remains.
// A path that exists and is not a regular file (a folder, a device, a FIFO)
// is refused and left alone.
FileWriteResult writeFileSafely(const QString &path, const QByteArray &bytes);

// The French sentence for a system error number (errno).
QString frenchFileError(int error);
