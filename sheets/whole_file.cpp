#include "sheets/whole_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <set>

#include "errors/errors.h"

namespace {

const char* const kNotSaved = "ファイルは保存されていません";

// When this run began: temporary files older than that are left by a run
// that was killed.
const timespec kRunStart = [] {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}();

// ".sheet.pdf.a1B2c3": the temporary files this program makes beside a PDF,
// a CSV or a settings file.
bool IsOwnTemporary(const std::string& name, const std::string& target)
{
    static const QRegularExpression own(QStringLiteral("^\\..+\\.(pdf|csv|json)\\.[A-Za-z0-9]{6}$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (name.size() == target.size() + 8 && name.compare(1, target.size(), target) == 0 && name[0] == '.' &&
        name[target.size() + 1] == '.')
        return true;
    return own.match(QString::fromStdString(name)).hasMatch();
}

bool OlderThanRun(const struct stat& status)
{
    return status.st_mtim.tv_sec < kRunStart.tv_sec ||
           (status.st_mtim.tv_sec == kRunStart.tv_sec && status.st_mtim.tv_nsec < kRunStart.tv_nsec);
}

// Removes the temporary files of earlier, killed runs from `folder`.
void RemoveStaleTemporaries(const std::string& folder, const std::string& target)
{
    DIR* directory = opendir(folder.c_str());
    if (!directory) return;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] != '.' || !IsOwnTemporary(name, target)) continue;
        struct stat status {};
        if (fstatat(dirfd(directory), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(status.st_mode) && status.st_uid == geteuid() && OlderThanRun(status))
            unlinkat(dirfd(directory), name.c_str(), 0);
    }
    closedir(directory);
}

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
    // A write-protected file is not replaced, as other programs do not.
    if ((status.st_mode & 0222) == 0 || (access(QFile::encodeName(file.absoluteFilePath()).constData(), W_OK) != 0 && errno == EACCES))
        Raise(QStringLiteral("「%1」は書き込み禁止のファイルなので、置き換えません。").arg(name));
}

void CheckFilesApart(const QString& first, const QString& second)
{
    const QFileInfo a(first), b(second);
    bool same = SameName(a, b);
    struct stat status {};
    if (!same && stat(QFile::encodeName(a.absoluteFilePath()).constData(), &status) == 0)
        same = SameFile(status, QFile::encodeName(b.absoluteFilePath()).toStdString());
    if (same)
        Raise(QStringLiteral("PDF と CSV に同じファイル「%1」は使えません。").arg(Native(b.absoluteFilePath())));
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

    const std::string folderName = QFile::encodeName(target.absolutePath()).toStdString();
    const std::string targetName = QFile::encodeName(target.fileName()).toStdString();
    RemoveStaleTemporaries(folderName, targetName);
    std::string pattern = folderName + "/." + targetName + ".XXXXXX";
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
    CommitTogether({this});
}

std::string TWholeFile::KeepOld() const
{
    struct stat status {};
    if (stat(target_.c_str(), &status) != 0) return {};
    const std::string base = target_.substr(0, target_.rfind('/') + 1) + "." + target_.substr(target_.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = base + ".XXXXXX";
        const int fd = mkstemp(name.data());
        if (fd < 0) return {};
        close(fd);
        unlink(name.c_str());
        if (link(target_.c_str(), name.c_str()) == 0) return name;
        if (errno == EEXIST) continue;
        // A disk without hard links (a USB stick's): a copy instead.
        std::ifstream in(target_, std::ios::binary);
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out << in.rdbuf();
        out.flush();
        if (in && out) return name;
        unlink(name.c_str());
        return {};
    }
    return {};
}

namespace {

// The new names on the disk too.
void SyncFolderOf(const std::string& path)
{
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    const int directory = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        fsync(directory);
        close(directory);
    }
}

}  // namespace

void CommitTogether(const std::vector<TWholeFile*>& files)
{
    for (const TWholeFile* file : files)
        if (file->temporary_.empty()) throw std::logic_error("no file is prepared");
    // What each target held before, kept under a second name until all are in place.
    std::vector<std::string> old;
    for (const TWholeFile* file : files) old.push_back(files.size() > 1 ? file->KeepOld() : std::string());
    for (size_t i = 0; i < files.size(); ++i) {
        TWholeFile& file = *files[i];
        if (rename(file.temporary_.c_str(), file.target_.c_str()) == 0) {
            file.temporary_.clear();
            continue;
        }
        const int code = errno;
        // The files put in place get their old ones back; nothing new stays.
        for (size_t j = 0; j < i; ++j) {
            if (!old[j].empty()) rename(old[j].c_str(), files[j]->target_.c_str());
            else unlink(files[j]->target_.c_str());
        }
        for (size_t j = i; j < files.size(); ++j) {
            files[j]->Discard();
            if (!old[j].empty()) unlink(old[j].c_str());
        }
        const QFileInfo failed(file.path_);
        RaiseWriteError(code, Native(failed.absoluteFilePath()), Native(failed.absolutePath()));
    }
    for (const std::string& name : old)
        if (!name.empty()) unlink(name.c_str());
    for (const TWholeFile* file : files) SyncFolderOf(file->target_);
}

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    TWholeFile file(path);
    file.Prepare(bytes);
    file.Commit();
}
