#include "sheets/whole_file.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <set>

#include "errors/errors.h"

namespace {

const char* const kNotSaved = "ファイルは保存されていません";

[[noreturn]] void Raise(const QString& text)
{
    throw EFileError(text.toStdString() + kNotSaved);
}

std::set<std::string>& KeptSafe()
{
    static std::set<std::string> paths;
    return paths;
}

bool SameFile(const struct stat& a, const std::string& path)
{
    struct stat b {};
    return stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The same place by name: the same folder (links followed where it is
// there) and the same file name.
bool SameName(const QFileInfo& a, const QFileInfo& b)
{
    if (a.fileName() != b.fileName()) return false;
    const QString folderA = QFileInfo(a.absolutePath()).canonicalFilePath(), folderB = QFileInfo(b.absolutePath()).canonicalFilePath();
    if (!folderA.isEmpty() && !folderB.isEmpty()) return folderA == folderB;
    return QDir::cleanPath(a.absolutePath()) == QDir::cleanPath(b.absolutePath());
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Why a file could not be written, for `name`.
[[noreturn]] void RaiseWriteError(int code, const QString& name, const QString& folder)
{
    switch (code) {
    case ENOSPC:
    case EDQUOT: Raise(QStringLiteral("ディスクがいっぱいです。ファイル「%1」を書けませんでした。").arg(name));
    case EFBIG: Raise(QStringLiteral("ファイル「%1」は大きすぎて書けません（書ける大きさの上限をこえました）。").arg(name));
    case EACCES:
    case EPERM: Raise(QStringLiteral("フォルダ「%1」に書き込む権限がありません。").arg(folder));
    case EROFS: Raise(QStringLiteral("フォルダ「%1」は読み取り専用です。").arg(folder));
    default:
        Raise(QStringLiteral("ファイル「%1」を保存できませんでした（%2）。")
                  .arg(name, QString::fromStdString(SystemErrorText(code))));
    }
}

// Writes all of `bytes` to `fd`; the errno of the first failure, or 0.
int WriteAll(int fd, const QByteArray& bytes)
{
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = write(fd, at, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        at += written;
        left -= written;
    }
    return fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

void KeepFileSafe(const std::string& path)
{
    if (!path.empty()) KeptSafe().insert(path);
}

void CheckFileToWrite(const QString& path)
{
    if (path.isEmpty()) Raise(QStringLiteral("ファイルの名前がありません。"));
    const QFileInfo file(path);
    const QString name = Native(file.absoluteFilePath());
    const QString folder = Native(file.absolutePath());
    // A file kept safe by its name too, for one not there yet.
    for (const std::string& kept : KeptSafe())
        if (SameName(file, QFileInfo(QString::fromStdString(kept))))
            Raise(QStringLiteral("「%1」は、このプログラムが使っているファイル（履歴や読み込んだ設定）です。").arg(name));
    if (!QFileInfo(file.absolutePath()).isDir()) Raise(QStringLiteral("フォルダ「%1」がありません。").arg(folder));
    struct stat status {};
    if (stat(QFile::encodeName(file.absoluteFilePath()).constData(), &status) != 0) return;  // a new file
    if (S_ISDIR(status.st_mode)) Raise(QStringLiteral("「%1」はフォルダです。").arg(name));
    if (!S_ISREG(status.st_mode))
        Raise(QStringLiteral("「%1」はふつうのファイルではありません（装置やパイプなど）。").arg(name));
    for (const std::string& kept : KeptSafe())
        if (SameFile(status, kept))
            Raise(QStringLiteral("「%1」は、このプログラムが使っているファイル（履歴や読み込んだ設定）です。").arg(name));
}

TWholeFile::TWholeFile(const QString& path) : path_(path) {}

TWholeFile::~TWholeFile()
{
    Discard();
}

void TWholeFile::Discard()
{
    if (!temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
}

void TWholeFile::Prepare(const QByteArray& bytes)
{
    CheckFileToWrite(path_);
    const QFileInfo file(path_);
    // A link is followed: the file it names is replaced.
    const QString canonical = file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
    const QFileInfo target(canonical);
    target_ = QFile::encodeName(canonical).toStdString();
    const QString name = Native(file.absoluteFilePath()), folder = Native(target.absolutePath());

    std::string pattern = QFile::encodeName(target.absolutePath()).toStdString() + "/." +
                          QFile::encodeName(target.fileName()).toStdString() + ".XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) RaiseWriteError(errno, name, folder);
    temporary_ = pattern;
    // The permissions of the file it replaces, or those of a new file.
    struct stat old {};
    mode_t mode = 0;
    if (stat(target_.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);
    const int code = WriteAll(fd, bytes);
    const int closed = close(fd) == 0 ? 0 : errno;
    if (code != 0 || closed != 0) {
        Discard();
        RaiseWriteError(code != 0 ? code : closed, name, folder);
    }
}

void TWholeFile::Commit()
{
    if (temporary_.empty()) throw std::logic_error("no file is prepared");
    if (rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int code = errno;
        Discard();
        const QFileInfo file(path_);
        RaiseWriteError(code, Native(file.absoluteFilePath()), Native(file.absolutePath()));
    }
    temporary_.clear();
    // The new name on the disk too.
    const std::string folder = QFile::encodeName(QFileInfo(QString::fromStdString(target_)).absolutePath()).toStdString();
    const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        fsync(directory);
        close(directory);
    }
}

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    TWholeFile file(path);
    file.Prepare(bytes);
    file.Commit();
}
