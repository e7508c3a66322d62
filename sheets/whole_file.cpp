#include "sheets/whole_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#include "errors/errors.h"

namespace {

[[noreturn]] void Raise(const QString& text)
{
    throw EFileError(text.toStdString());
}

}  // namespace

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    const QFileInfo file(path);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    const QString name = QDir::toNativeSeparators(file.absoluteFilePath());
    if (!QFileInfo(file.absolutePath()).isDir())
        Raise(QStringLiteral("フォルダ「%1」がありません。ファイルは保存されていません").arg(folder));
    if (file.isDir()) Raise(QStringLiteral("「%1」はフォルダです。ファイルは保存されていません").arg(name));

    QSaveFile out(path);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly)) {
        if (errno == EACCES || errno == EPERM || errno == EROFS || !QFileInfo(file.absolutePath()).isWritable())
            Raise(QStringLiteral("フォルダ「%1」に書き込む権限がありません。ファイルは保存されていません").arg(folder));
        Raise(QStringLiteral("ファイル「%1」を作れません（%2）。ファイルは保存されていません").arg(name, out.errorString()));
    }
    errno = 0;
    const bool written = out.write(bytes) == bytes.size();
    const int writeError = errno;
    if (!written || !out.commit()) {
        const int code = writeError ? writeError : errno;
        out.cancelWriting();
        if (code == ENOSPC || code == EDQUOT)
            Raise(QStringLiteral("ディスクがいっぱいです。ファイル「%1」は保存されていません").arg(name));
        if (code == EACCES || code == EPERM || code == EROFS)
            Raise(QStringLiteral("ファイル「%1」に書き込む権限がありません。ファイルは保存されていません").arg(name));
        Raise(QStringLiteral("ファイル「%1」を保存できませんでした（%2）。ファイルは保存されていません")
                  .arg(name, out.errorString()));
    }
}
