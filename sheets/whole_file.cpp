#include "sheets/whole_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <set>
#include <stdexcept>

#include "errors/errors.h"
#include "worksheet/utf8.h"

namespace {

const char* const kNotSaved = "ファイルは保存されていません";
const std::string kTemporaryPrefix = ".tavelin-";

[[noreturn]] void Raise(const std::string& text)
{
    throw EFileError(text + kNotSaved);
}

std::set<std::string>& KeptSafe()
{
    static std::set<std::string> paths;
    return paths;
}

// The folder part of an absolute path ("/" for a file at the top).
std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

// The folder with its links followed, or empty when it is not there.
std::string RealFolder(const std::string& folder)
{
    char* real = realpath(folder.c_str(), nullptr);
    if (!real) return {};
    std::string out = real;
    std::free(real);
    return out;
}

// The same place by name: the same folder (links followed where it is
// there) and the same file name.
bool SameName(const std::string& first, const std::string& second)
{
    const std::string a = AbsolutePath(first), b = AbsolutePath(second);
    if (NameOf(a) != NameOf(b)) return false;
    const std::string folderA = RealFolder(FolderOf(a)), folderB = RealFolder(FolderOf(b));
    if (!folderA.empty() && !folderB.empty()) return folderA == folderB;
    return FolderOf(a) == FolderOf(b);
}

bool SameFile(const struct stat& a, const std::string& path)
{
    struct stat b {};
    return stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string Shown(const std::string& path)
{
    return ShownBytes(path);
}

// Why a file could not be written, for `name`.
[[noreturn]] void RaiseWriteError(int code, const std::string& name, const std::string& folder)
{
    switch (code) {
    case ENOSPC:
    case EDQUOT: Raise("ディスクがいっぱいです。ファイル「" + Shown(name) + "」を書けませんでした。");
    case EFBIG: Raise("ファイル「" + Shown(name) + "」は大きすぎて書けません（書ける大きさの上限をこえました）。");
    case EACCES:
    case EPERM: Raise("フォルダ「" + Shown(folder) + "」に書き込む権限がありません。");
    case EROFS: Raise("フォルダ「" + Shown(folder) + "」は読み取り専用です。");
    default: Raise("ファイル「" + Shown(name) + "」を保存できませんでした（" + SystemErrorText(code) + "）。");
    }
}

// Writes all of `bytes` to `fd`; the errno of the first failure, or 0.
int WriteAll(int fd, std::string_view bytes)
{
    const char* at = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = write(fd, at, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        at += written;
        left -= static_cast<size_t>(written);
    }
    return fsync(fd) == 0 ? 0 : errno;
}

// The process id a temporary's name carries, or 0 for a name that is not
// one of ours.
pid_t WriterOf(const std::string& name)
{
    if (name.compare(0, kTemporaryPrefix.size(), kTemporaryPrefix) != 0) return 0;
    size_t at = kTemporaryPrefix.size();
    long long pid = 0;
    const size_t digits = at;
    while (at < name.size() && name[at] >= '0' && name[at] <= '9' && at - digits < 10) pid = pid * 10 + (name[at++] - '0');
    if (at == digits || pid <= 0 || pid > INT_MAX || at >= name.size() || name[at] != '-') return 0;
    const std::string random = name.substr(at + 1);
    if (random.size() != 6) return 0;
    for (const char ch : random)
        if (!((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))) return 0;
    return static_cast<pid_t>(pid);
}

// Removes from `folder` the temporaries whose writers are gone.
void RemoveAbandonedTemporaries(const std::string& folder)
{
    DIR* directory = opendir(folder.c_str());
    if (!directory) return;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (IsAbandonedTemporary(dirfd(directory), name)) unlinkat(dirfd(directory), name.c_str(), 0);
    }
    closedir(directory);
}

// A new temporary beside `target`, locked: its path, or empty with errno set.
std::string NewTemporary(const std::string& target, int& fd)
{
    std::string pattern = FolderOf(target) + "/" + kTemporaryPrefix + std::to_string(getpid()) + "-XXXXXX";
    fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return {};
    flock(fd, LOCK_EX | LOCK_NB);
    return pattern;
}

}  // namespace

bool IsAbandonedTemporary(int folder, const std::string& name)
{
    const pid_t writer = WriterOf(name);
    if (writer == 0 || writer == getpid()) return false;
    // A process of that number runs (ours or another user's): it may be the writer.
    if (kill(writer, 0) == 0 || errno != ESRCH) return false;
    const int fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    // Only a plain file of this user, and only when nobody holds it (a writer
    // of another process namespace still does).
    const bool abandoned = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == geteuid() &&
                           flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return abandoned;
}

std::string AbsolutePath(const std::string& path)
{
    if (path.empty() || path[0] == '/') return path;
    char* here = getcwd(nullptr, 0);
    if (!here) return path;
    std::string out = here;
    std::free(here);
    return out + (out.back() == '/' ? "" : "/") + path;
}

void KeepFileSafe(const std::string& path)
{
    if (!path.empty()) KeptSafe().insert(path);
}

void CheckFileToWrite(const std::string& path)
{
    if (path.empty()) Raise("ファイルの名前がありません。");
    const std::string absolute = AbsolutePath(path);
    const std::string folder = FolderOf(absolute);
    const std::string usedHere = "「" + Shown(absolute) + "」は、このプログラムが使っているファイル（履歴や読み込んだ設定）です。";
    // A file kept safe by its name too, for one not there yet.
    for (const std::string& kept : KeptSafe())
        if (SameName(absolute, kept)) Raise(usedHere);
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        const int code = errno;
        if (code == ELOOP || code == EACCES || code == ENAMETOOLONG)
            Raise("フォルダ「" + Shown(folder) + "」を使えません（" + SystemErrorText(code) + "）。");
        Raise("フォルダ「" + Shown(folder) + "」がありません。");
    }
    if (stat(absolute.c_str(), &status) != 0) {
        if (errno == ENOENT) return;  // a new file
        Raise("ファイル「" + Shown(absolute) + "」を保存できませんでした（" + SystemErrorText(errno) + "）。");
    }
    if (S_ISDIR(status.st_mode)) Raise("「" + Shown(absolute) + "」はフォルダです。");
    if (!S_ISREG(status.st_mode)) Raise("「" + Shown(absolute) + "」はふつうのファイルではありません（装置やパイプなど）。");
    for (const std::string& kept : KeptSafe())
        if (SameFile(status, kept)) Raise(usedHere);
    // A write-protected file is not replaced, as other programs do not.
    if ((status.st_mode & 0222) == 0 || (access(absolute.c_str(), W_OK) != 0 && errno == EACCES))
        Raise("「" + Shown(absolute) + "」は書き込み禁止のファイルなので、置き換えません。");
}

void CheckFilesApart(const std::string& first, const std::string& second)
{
    bool same = SameName(first, second);
    struct stat status {};
    if (!same && stat(AbsolutePath(first).c_str(), &status) == 0) same = SameFile(status, AbsolutePath(second));
    if (same) Raise("PDF と CSV に同じファイル「" + Shown(AbsolutePath(second)) + "」は使えません。");
}

TWholeFile::TWholeFile(std::string path) : path_(std::move(path)) {}

TWholeFile::~TWholeFile()
{
    Discard();
}

void TWholeFile::Discard()
{
    if (!temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
    if (lock_ >= 0) close(lock_);
    lock_ = -1;
}

void TWholeFile::Prepare(std::string_view bytes)
{
    CheckFileToWrite(path_);
    Discard();
    const std::string absolute = AbsolutePath(path_);
    // A link is followed: the file it names is replaced.
    char* real = realpath(absolute.c_str(), nullptr);
    target_ = real ? real : absolute;
    std::free(real);
    const std::string folder = FolderOf(target_);

    RemoveAbandonedTemporaries(folder);
    int fd = -1;
    temporary_ = NewTemporary(target_, fd);
    if (fd < 0) RaiseWriteError(errno, absolute, folder);
    lock_ = fd;
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
    if (const int code = WriteAll(fd, bytes); code != 0) {
        Discard();
        RaiseWriteError(code, absolute, folder);
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
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = -1;
        std::string name = NewTemporary(target_, fd);
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
    const int directory = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
        const std::string failed = AbsolutePath(file.path_);
        RaiseWriteError(code, failed, FolderOf(failed));
    }
    for (const std::string& name : old)
        if (!name.empty()) unlink(name.c_str());
    for (TWholeFile* file : files) {
        file->Discard();
        SyncFolderOf(file->target_);
    }
}

void WriteWholeFile(const std::string& path, std::string_view bytes)
{
    TWholeFile file(path);
    file.Prepare(bytes);
    file.Commit();
}

std::string ReadWholeFile(const std::string& path, long long mostBytes)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw EFileError("「" + ShownBytes(path) + "」を読めません（" + SystemErrorText(errno) + "）");
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        throw EFileError("「" + ShownBytes(path) + "」はふつうのファイルではありません");
    }
    if (info.st_size > mostBytes) {
        close(fd);
        throw EFileError("「" + ShownBytes(path) + "」は大きすぎます（" + std::to_string(mostBytes / (1024 * 1024)) + " MB まで）");
    }
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int code = n < 0 ? errno : 0;
            close(fd);
            throw EFileError("「" + ShownBytes(path) + "」を読めません（" + (code ? SystemErrorText(code) : std::string("途中で終わっています")) + "）");
        }
        done += static_cast<size_t>(n);
    }
    close(fd);
    return bytes;
}
