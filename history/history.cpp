#include "history/history.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "errors/errors.h"

namespace fs = std::filesystem;

namespace {

const char* const kOff = "履歴は記録されません";

// One migration per schema version: kMigrations[v] brings version v to v + 1.
const char* const kMigrations[] = {
    R"(CREATE TABLE sheets (
           id INTEGER PRIMARY KEY,
           recorded_at INTEGER NOT NULL,
           number INTEGER NOT NULL,
           settings TEXT NOT NULL,
           summary TEXT NOT NULL,
           with_answers INTEGER NOT NULL,
           destination TEXT NOT NULL
       );
       CREATE INDEX sheets_by_number ON sheets (number, id);
       CREATE TABLE sheet_problems (
           sheet_id INTEGER NOT NULL REFERENCES sheets (id) ON DELETE CASCADE,
           position INTEGER NOT NULL,
           multiplicand INTEGER NOT NULL,
           multiplier INTEGER NOT NULL,
           PRIMARY KEY (sheet_id, position)
       ) WITHOUT ROWID;)",
    // The operation of every sheet, told by its settings text (a text that
    // cannot be read leaves it empty: such a sheet is never reprinted as
    // another operation), the seed of a class set, and the problems by
    // name with their answers.
    R"(ALTER TABLE sheets ADD COLUMN operation TEXT NOT NULL DEFAULT '';
       ALTER TABLE sheets ADD COLUMN seed INTEGER;
       UPDATE sheets SET operation = CASE
           WHEN NOT json_valid(settings) THEN ''
           WHEN json_type(settings, '$.operation') IS NULL THEN 'multiplication'
           WHEN json_extract(settings, '$.operation') IN ('multiplication', 'addition', 'subtraction', 'division')
               THEN json_extract(settings, '$.operation')
           ELSE '' END;
       CREATE TABLE problems (
           sheet_id INTEGER NOT NULL REFERENCES sheets (id) ON DELETE CASCADE,
           position INTEGER NOT NULL,
           first INTEGER NOT NULL,
           second INTEGER NOT NULL,
           answer INTEGER NOT NULL,
           remainder INTEGER NOT NULL,
           PRIMARY KEY (sheet_id, position)
       ) WITHOUT ROWID;
       INSERT INTO problems (sheet_id, position, first, second, answer, remainder)
           SELECT p.sheet_id, p.position, p.multiplicand, p.multiplier,
                  CASE s.operation WHEN 'addition' THEN p.multiplicand + p.multiplier
                                   WHEN 'subtraction' THEN p.multiplicand - p.multiplier
                                   WHEN 'division' THEN coalesce(p.multiplicand / nullif(p.multiplier, 0), 0)
                                   ELSE p.multiplicand * p.multiplier END,
                  CASE s.operation WHEN 'division' THEN coalesce(p.multiplicand % nullif(p.multiplier, 0), 0) ELSE 0 END
           FROM sheet_problems p JOIN sheets s ON s.id = p.sheet_id;
       DROP TABLE sheet_problems;)",
    // What kind of sheet it is: 'drill' for the sheets made before, or
    // 'diagnostic'.
    R"(ALTER TABLE sheets ADD COLUMN kind TEXT NOT NULL DEFAULT 'drill';)",
    // The class's answers as read from its pages: a reading per pupil's
    // sheet (the recorded sheet when the history holds it), an answer per
    // problem with how it was decided.
    R"(CREATE TABLE readings (
           id INTEGER PRIMARY KEY,
           read_at INTEGER NOT NULL,
           sheet_id INTEGER REFERENCES sheets (id) ON DELETE SET NULL,
           operation TEXT NOT NULL,
           number INTEGER NOT NULL,
           seed INTEGER,
           kind TEXT NOT NULL,
           roll INTEGER,
           source TEXT NOT NULL,
           procedure TEXT NOT NULL
       );
       CREATE INDEX readings_by_sheet ON readings (sheet_id);
       CREATE TABLE reading_answers (
           reading_id INTEGER NOT NULL REFERENCES readings (id) ON DELETE CASCADE,
           position INTEGER NOT NULL,
           answer INTEGER,
           remainder INTEGER,
           decided TEXT NOT NULL,
           correct INTEGER,
           PRIMARY KEY (reading_id, position)
       ) WITHOUT ROWID;)",
    // Numbers with decimal places: each number's places (0 for the whole
    // numbers of every sheet before).
    R"(ALTER TABLE problems ADD COLUMN first_places INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE problems ADD COLUMN second_places INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE problems ADD COLUMN answer_places INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE problems ADD COLUMN remainder_places INTEGER NOT NULL DEFAULT 0;)",
    // A class's pages read together (the first reading's id; each earlier
    // reading its own), and the reading of the same pupil's sheet that
    // replaced one read again later (none: the current one).
    R"(ALTER TABLE readings ADD COLUMN batch INTEGER;
       UPDATE readings SET batch = id;
       ALTER TABLE readings ADD COLUMN replaced_by INTEGER;
       CREATE INDEX readings_by_pupil ON readings (operation, number, seed, kind, roll);)",
    // A read answer's decimal places (0 for the whole numbers read before).
    R"(ALTER TABLE reading_answers ADD COLUMN answer_places INTEGER NOT NULL DEFAULT 0;
       ALTER TABLE reading_answers ADD COLUMN remainder_places INTEGER NOT NULL DEFAULT 0;)",
};
static_assert(std::size(kMigrations) == THistory::kSchemaVersion);

[[noreturn]] void Unavailable(const std::string& why)
{
    throw EHistoryUnavailable(why, kOff);
}

// The database file is damaged, found while it is read or written.
class ECorrupt : public EHistoryUnavailable {
public:
    using EHistoryUnavailable::EHistoryUnavailable;
};

// What stands at the history's place is not a history this program can use
// (another program's database, a newer version): said as such however it is
// opened.
class ENotUsable : public EHistoryUnavailable {
public:
    using EHistoryUnavailable::EHistoryUnavailable;
};

// Why SQLite failed, in words: its result code, and the system's error
// where the system failed.
std::string Words(sqlite3* db, int code)
{
    const int system = db ? sqlite3_system_errno(db) : 0;
    switch (code & 0xFF) {
    case SQLITE_FULL: return "ディスクがいっぱいです";
    case SQLITE_IOERR:
        return system == ENOSPC || system == EDQUOT ? "ディスクがいっぱいです"
               : system != 0                       ? SystemErrorText(system)
                                                   : "ディスクの読み書きでエラーが起きました";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "ほかのプログラムが履歴に書き込んでいて、5 秒待っても終わりませんでした";
    case SQLITE_ERROR:
    case SQLITE_SCHEMA:
    case SQLITE_MISMATCH:
    case SQLITE_CONSTRAINT: return "履歴のファイルの中身が、このプログラムの知っている形ではありません";
    case SQLITE_TOOBIG: return "記録が大きすぎます";
    case SQLITE_READONLY: return "履歴のファイルか、その場所が読み取り専用です";
    case SQLITE_PERM: return "履歴のファイルを使う権限がありません";
    case SQLITE_NOMEM: return "メモリが足りません";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return "履歴のファイルが壊れています";
    case SQLITE_CANTOPEN: return system != 0 ? SystemErrorText(system) : "履歴のファイルを開けません";
    case SQLITE_OK: return "履歴のファイルを開けません";
    default: return "履歴のデータベースで思いがけないエラーが起きました（SQLite の番号 " + std::to_string(code) + "）";
    }
}

[[noreturn]] void Failed(sqlite3* db, int code)
{
    const std::string why = "履歴を読み書きできません（" + Words(db, code) + "）";
    if ((code & 0xFF) == SQLITE_CORRUPT || (code & 0xFF) == SQLITE_NOTADB) throw ECorrupt(why, kOff);
    if ((code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED) throw EHistoryBusy(why, kOff);
    throw EHistoryUnavailable(why, kOff);
}

// Why the history file at `path` cannot be opened, from what stands there.
std::string CannotOpen(const std::string& path, sqlite3* db, int code)
{
    struct stat link {}, target {};
    const bool exists = lstat(path.c_str(), &link) == 0;
    if (exists && S_ISLNK(link.st_mode) && stat(path.c_str(), &target) != 0)
        return "履歴「" + path + "」はリンクですが、そのリンク先がありません";
    if (exists && stat(path.c_str(), &target) == 0) {
        if (S_ISDIR(target.st_mode)) return "履歴「" + path + "」はフォルダなので、履歴のファイルとして使えません";
        if (!S_ISREG(target.st_mode)) return "履歴「" + path + "」はふつうのファイルではありません";
    }
    return "履歴「" + path + "」を開けません（" + Words(db, code) + "）";
}

// A prepared statement, finalized with the object.
class TStatement {
public:
    TStatement(sqlite3* db, const char* sql) : db_(db)
    {
        if (const int code = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr); code != SQLITE_OK) Failed(db_, code);
    }
    ~TStatement() { sqlite3_finalize(statement_); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    TStatement& Bind(int index, int64_t value)
    {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    TStatement& Bind(int index, const std::string& value)
    {
        sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // True while there is a row.
    bool Step()
    {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW) return true;
        if (result != SQLITE_DONE) Failed(db_, result);
        return false;
    }
    void Reset()
    {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
    bool IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::string Text(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement_, column))) : std::string();
    }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// "20261207-101500": now, in local time, for the name of a file moved aside.
std::string Stamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// A file that SQLite cannot use as a database: not one at all, or with a
// damaged schema. Damage further in shows when those pages are read
// (ECorrupt). A whole check would read every page at every start.
bool Damaged(sqlite3* db)
{
    sqlite3_stmt* check = nullptr;
    int result = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &check, nullptr);
    if (result == SQLITE_OK) result = sqlite3_step(check);
    sqlite3_finalize(check);
    return result == SQLITE_NOTADB || result == SQLITE_CORRUPT;
}

// The lock of the run that brings a history up to date: a file beside it,
// held (flock) while the upgrade runs.
std::string UpgradeLockOf(const std::string& path)
{
    return path + "-upgrade";
}

bool UpgradeUnderWay(const std::string& path)
{
    const int fd = open(UpgradeLockOf(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A folder this user can make files in.
bool CanWriteIn(const fs::path& folder, std::string& why)
{
    if (access(folder.c_str(), W_OK | X_OK) == 0) return true;
    why = errno == EROFS ? "読み取り専用の場所です" : errno == EACCES || errno == EPERM ? "書き込む権限がありません" : SystemErrorText(errno);
    return false;
}

}  // namespace

std::string DefaultHistoryPath()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path folder;
    if (data && *data == '/') {
        folder = data;
    } else {
        std::string home;
        if (const char* variable = std::getenv("HOME"); variable && *variable == '/') {
            home = variable;
        } else {
            // The home the system knows for the user; never the current folder.
            std::vector<char> buffer(16384);
            passwd entry{};
            passwd* found = nullptr;
            if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
                found->pw_dir[0] == '/')
                home = found->pw_dir;
        }
        if (home.empty()) return {};
        folder = fs::path(home) / ".local" / "share";
    }
    return (folder / "Tavelin" / "history.sqlite3").string();
}

THistory::THistory(const std::string& path, THistoryAccess access, THistoryProgress progress)
    : path_(path), readOnly_(access == THistoryAccess::ReadOnly), progress_(std::move(progress))
{
    try {
        if (readOnly_) {
            OpenReadOnly(path);
        } else {
            std::error_code error;
            const fs::path folder = fs::path(path).parent_path();
            if (!folder.empty()) fs::create_directories(folder, error);
            if (error)
                throw EHistoryFolderUnwritable("履歴のフォルダ「" + folder.string() + "」を作れません（" + SystemErrorText(error.value()) + "）", kOff);
            if (std::string why; !CanWriteIn(folder.empty() ? fs::path(".") : folder, why))
                throw EHistoryFolderUnwritable("履歴のフォルダ「" + folder.string() + "」に書き込めません（" + why + "）", kOff);
            OpenHealthy(path);
            // A version this program never wrote (below 0) is a file it cannot use.
            if (Version() < 0) MoveAside(path);
            CheckIsHistory();
            Migrate();
        }
        Tell(false);
    } catch (...) {
        Tell(false);
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

void THistory::Tell(bool upgrading)
{
    if (upgrading == told_) return;
    told_ = upgrading;
    if (progress_) progress_(upgrading ? kUpgradingWords : "");
}

int THistory::BusyWait(void* self, int count)
{
    THistory& history = *static_cast<THistory*>(self);
    const int64_t now = NowMs();
    if (count == 0) history.busySince_ = now;
    // Another run is bringing the history up to date: waited for, however long.
    if (!history.readOnly_ && UpgradeUnderWay(history.path_)) {
        history.Tell(true);
    } else if (now - history.busySince_ >= 5000) {
        return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(count < 10 ? 2 * (count + 1) : 25));
    return 1;
}

void THistory::CheckIsHistory()
{
    TStatement tables(db_, "SELECT count(*), sum(name = 'sheets') FROM sqlite_master");
    tables.Step();
    const int64_t version = Version();
    const bool anything = tables.Int(0) > 0, sheets = tables.Int(1) > 0;
    if (version > kSchemaVersion)
        throw ENotUsable("履歴「" + path_ + "」は、このプログラムより新しい版のプログラムで作られたので使えません（履歴の版 " +
                    std::to_string(version) + "。この版で使えるのは " + std::to_string(kSchemaVersion) + " まで）", kOff);
    if ((version == 0 && anything) || (version > 0 && !sheets))
        throw ENotUsable("「" + path_ + "」は履歴のファイルではありません（ほかのプログラムのデータベースです）。"
                         "このファイルをほかの場所に移せば、新しい履歴が始まります", kOff);
}

void THistory::OpenHealthy(const std::string& path)
{
    Open(path);
    if (Damaged(db_)) MoveAside(path);
}

void THistory::MoveAside(const std::string& path)
{
    std::error_code error;
    {
        // Kept for whoever wants to look at it; a new history starts.
        sqlite3_close(db_);
        db_ = nullptr;
        movedAside_ = path + ".damaged-" + Stamp();
        fs::rename(path, movedAside_, error);
        if (error) Unavailable("壊れた履歴「" + path + "」をよけられません（" + SystemErrorText(error.value()) + "）");
        for (const char* suffix : {"-wal", "-shm"}) {
            std::error_code ignored;
            if (fs::exists(path + suffix)) fs::rename(path + suffix, movedAside_ + suffix, ignored);
        }
        Open(path);
    }
    if (movedAsideHandler_) movedAsideHandler_(movedAside_);
}

THistory::~THistory()
{
    sqlite3_close(db_);
}

void THistory::OpenReadOnly(const std::string& path)
{
    // A history in a place that cannot be written is read as it stands:
    // without a write-ahead log beside it, the file is the whole history.
    std::string why;
    for (const char* mode : {"?mode=ro", "?immutable=1"}) {
        std::string uri = "file:";
        for (const char ch : path) {
            if (ch == '?' || ch == '#' || ch == '%') {
                char escaped[4];
                std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(ch));
                uri += escaped;
            } else {
                uri += ch;
            }
        }
        uri += mode;
        if (TryReadOnly(uri, why)) return;
        sqlite3_close(db_);
        db_ = nullptr;
    }
    Unavailable(why);
}

bool THistory::TryReadOnly(const std::string& uri, std::string& why)
{
    const int code = sqlite3_open_v2(uri.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (code != SQLITE_OK || Damaged(db_)) {
        why = CannotOpen(path_, db_, code == SQLITE_OK ? SQLITE_CORRUPT : code);
        return false;
    }
    try {
        CheckIsHistory();
        // An older version is read through a copy brought up to date in
        // memory: the file itself is never changed.
        if (Version() < kSchemaVersion) CopyIntoMemory();
        TStatement check(db_, "SELECT count(*) FROM sheets");
        check.Step();
        return true;
    } catch (const ENotUsable&) {
        // The file's own cause, whatever the way it is opened.
        throw;
    } catch (const EHistoryUnavailable& e) {
        why = e.Reason();
        return false;
    }
}

void THistory::CopyIntoMemory()
{
    sqlite3* memory = nullptr;
    if (const int code = sqlite3_open(":memory:", &memory); code != SQLITE_OK) {
        sqlite3_close(memory);
        Failed(nullptr, code);
    }
    sqlite3_backup* backup = sqlite3_backup_init(memory, "main", db_, "main");
    int code = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(memory);
    if (backup) sqlite3_backup_finish(backup);
    if (code != SQLITE_DONE) {
        sqlite3_close(memory);
        Failed(db_, code);
    }
    sqlite3_close(db_);
    db_ = memory;
    Migrate(false);
}

int64_t THistory::Version()
{
    TStatement version(db_, "PRAGMA user_version");
    version.Step();
    return version.Int(0);
}

void THistory::Open(const std::string& path)
{
    if (const int code = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        code != SQLITE_OK) {
        const std::string why = CannotOpen(path, db_, code);
        sqlite3_close(db_);
        db_ = nullptr;
        Unavailable(why);
    }
    // SQLite opens a file it may not write for reading only: no sheet could
    // be recorded in it.
    if (sqlite3_db_readonly(db_, "main") == 1) {
        sqlite3_close(db_);
        db_ = nullptr;
        Unavailable("履歴「" + path + "」に書き込めません（読み取り専用のファイルか場所です）");
    }
    // Two running copies of the program wait for each other instead of
    // failing (5 s, and for as long as an upgrade runs); a job's transaction
    // is on disk (the WAL) before Record returns, so it survives the program
    // being killed.
    sqlite3_busy_handler(db_, BusyWait, this);
    sqlite3_extended_result_codes(db_, 0);
    if (Damaged(db_)) return;
    Execute("PRAGMA journal_mode = WAL");
    Execute("PRAGMA synchronous = NORMAL");
    Execute("PRAGMA foreign_keys = ON");
}

void THistory::Execute(const char* sql)
{
    if (const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); code != SQLITE_OK) Failed(db_, code);
}

template <typename F>
auto THistory::Recovering(F&& operation)
{
    // A wait for another run's upgrade ends with the operation.
    struct TEnd {
        THistory& History;
        ~TEnd() { History.Tell(false); }
    } end{*this};
    try {
        return operation();
    } catch (const ECorrupt&) {
        // Damage found in the middle: the file goes aside, and the
        // operation runs again on a new history; a history only read is
        // left as it is.
        if (readOnly_) throw;
        MoveAside(path_);
        Migrate();
        return operation();
    }
}

void THistory::Migrate(bool shared)
{
    const int64_t found = Version();
    if (found == kSchemaVersion) return;  // the usual case: nothing to write
    // A history of before is brought up to date by one run at a time, which
    // says so; the others wait for it, and say so too.
    int lock = -1;
    if (shared && found >= 1) {
        lock = open(UpgradeLockOf(path_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock >= 0 && flock(lock, LOCK_EX | LOCK_NB) != 0) {
            Tell(true);
            while (flock(lock, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    if (shared && found >= 1) Tell(true);
    struct TRelease {
        int Fd;
        ~TRelease()
        {
            if (Fd >= 0) close(Fd);
        }
    } release{lock};
    // Another copy of the program may have migrated meanwhile: the version
    // is read again inside the write transaction.
    Execute("BEGIN IMMEDIATE");
    try {
        const int64_t current = Version();
        if (current > kSchemaVersion) CheckIsHistory();
        if (current < 0) throw ECorrupt("履歴のファイルの版が正しくありません", kOff);
        for (int64_t v = current; v < kSchemaVersion; ++v) Execute(kMigrations[v]);
        if (current < kSchemaVersion)
            Execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
        Execute("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::vector<int64_t> THistory::Record(std::vector<THistorySheet>& sheets)
{
    return Recovering([&] { return RecordOnce(sheets); });
}

std::vector<int64_t> THistory::RecordOnce(std::vector<THistorySheet>& sheets)
{
    std::vector<int64_t> ids;
    Execute("BEGIN IMMEDIATE");
    try {
        TStatement sheet(db_,
                         "INSERT INTO sheets (recorded_at, number, settings, summary, with_answers, destination, "
                         "operation, seed, kind) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        TStatement problem(db_,
                           "INSERT INTO problems (sheet_id, position, first, second, answer, remainder, "
                           "first_places, second_places, answer_places, remainder_places) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const int64_t now = std::time(nullptr);
        for (THistorySheet& s : sheets) {
            if (s.RecordedAt == 0) s.RecordedAt = now;
            sheet.Bind(1, s.RecordedAt).Bind(2, s.Number).Bind(3, s.Settings).Bind(4, s.Summary);
            sheet.Bind(5, s.WithAnswers ? 1 : 0).Bind(6, s.Destination).Bind(7, s.Operation);
            // A 64-bit seed is kept as its two's complement.
            if (s.Seed) sheet.Bind(8, static_cast<int64_t>(*s.Seed));
            sheet.Bind(9, std::string(s.Diagnostic ? "diagnostic" : "drill"));
            sheet.Step();
            sheet.Reset();
            s.Id = sqlite3_last_insert_rowid(db_);
            for (size_t i = 0; i < s.Problems.size(); ++i) {
                const THistorySheet::TProblem& p = s.Problems[i];
                problem.Bind(1, s.Id).Bind(2, static_cast<int64_t>(i + 1));
                problem.Bind(3, p.First).Bind(4, p.Second).Bind(5, p.Answer).Bind(6, p.Remainder);
                problem.Bind(7, p.FirstPlaces).Bind(8, p.SecondPlaces).Bind(9, p.AnswerPlaces).Bind(10, p.RemainderPlaces);
                problem.Step();
                problem.Reset();
            }
            ids.push_back(s.Id);
        }
        Execute("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        for (THistorySheet& s : sheets) s.Id = 0;
        throw;
    }
    return ids;
}

std::vector<int64_t> THistory::RecordReadings(std::vector<THistoryReading>& readings, const std::function<void()>& alongside)
{
    return Recovering([&] { return RecordReadingsOnce(readings, alongside); });
}

std::vector<int64_t> THistory::RecordReadingsOnce(std::vector<THistoryReading>& readings, const std::function<void()>& alongside)
{
    std::vector<int64_t> ids;
    Execute("BEGIN IMMEDIATE");
    try {
        // The recorded sheet: the newest of its number, operation, kind and seed.
        TStatement find(db_,
                        "SELECT id FROM sheets WHERE number = ? AND operation = ? AND kind = ? AND seed IS ? "
                        "ORDER BY id DESC LIMIT 1");
        TStatement reading(db_,
                           "INSERT INTO readings (read_at, sheet_id, operation, number, seed, kind, roll, source, procedure) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        TStatement answer(db_,
                          "INSERT INTO reading_answers (reading_id, position, answer, remainder, decided, correct, "
                          "answer_places, remainder_places) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        // The same pupil's sheet read before: replaced by this reading.
        TStatement replace(db_,
                           "UPDATE readings SET replaced_by = ? WHERE replaced_by IS NULL AND id < ? AND operation = ? "
                           "AND number = ? AND seed IS ? AND kind = ? AND roll = ?");
        TStatement batch(db_, "UPDATE readings SET batch = ? WHERE id = ?");
        int64_t first = 0;
        const int64_t now = std::time(nullptr);
        for (THistoryReading& r : readings) {
            if (r.ReadAt == 0) r.ReadAt = now;
            const std::string kind = r.Diagnostic ? "diagnostic" : "drill";
            find.Bind(1, r.Number).Bind(2, r.Operation).Bind(3, kind);
            if (r.Seed) find.Bind(4, static_cast<int64_t>(*r.Seed));
            r.SheetId = find.Step() ? std::optional<int64_t>(find.Int(0)) : std::nullopt;
            find.Reset();
            reading.Bind(1, r.ReadAt).Bind(3, r.Operation).Bind(4, r.Number).Bind(6, kind).Bind(8, r.Source).Bind(9, r.Procedure);
            if (r.SheetId) reading.Bind(2, *r.SheetId);
            if (r.Seed) reading.Bind(5, static_cast<int64_t>(*r.Seed));
            if (r.Roll) reading.Bind(7, *r.Roll);
            reading.Step();
            reading.Reset();
            r.Id = sqlite3_last_insert_rowid(db_);
            if (first == 0) first = r.Id;
            r.Batch = first;
            r.ReplacedBy.reset();
            batch.Bind(1, first).Bind(2, r.Id);
            batch.Step();
            batch.Reset();
            if (r.Roll) {
                replace.Bind(1, r.Id).Bind(2, r.Id).Bind(3, r.Operation).Bind(4, r.Number).Bind(6, kind).Bind(7, *r.Roll);
                if (r.Seed) replace.Bind(5, static_cast<int64_t>(*r.Seed));
                replace.Step();
                replace.Reset();
            }
            for (size_t i = 0; i < r.Answers.size(); ++i) {
                const THistoryReading::TAnswer& a = r.Answers[i];
                answer.Bind(1, r.Id).Bind(2, static_cast<int64_t>(i + 1)).Bind(5, a.Decided);
                if (a.Answer) answer.Bind(3, *a.Answer).Bind(4, a.Remainder);
                answer.Bind(7, int64_t{a.Places}).Bind(8, int64_t{a.RemainderPlaces});
                if (a.Correct) answer.Bind(6, *a.Correct ? 1 : 0);
                answer.Step();
                answer.Reset();
            }
            ids.push_back(r.Id);
        }
        if (alongside) alongside();
        Execute("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        for (THistoryReading& r : readings) r.Id = 0;
        throw;
    }
    return ids;
}

std::vector<THistoryReading> THistory::Readings(int limit)
{
    return Recovering([&] {
        std::vector<THistoryReading> readings;
        TStatement select(db_,
                          "SELECT id, read_at, sheet_id, operation, number, seed, kind, roll, source, procedure, batch, replaced_by "
                          "FROM readings ORDER BY id DESC LIMIT ?");
        select.Bind(1, limit);
        TStatement answers(db_,
                           "SELECT answer, remainder, decided, correct, answer_places, remainder_places FROM reading_answers "
                           "WHERE reading_id = ? "
                           "ORDER BY position");
        while (select.Step()) {
            THistoryReading r;
            r.Id = select.Int(0);
            r.ReadAt = select.Int(1);
            if (!select.IsNull(2)) r.SheetId = select.Int(2);
            r.Operation = select.Text(3);
            r.Number = static_cast<int32_t>(select.Int(4));
            if (!select.IsNull(5)) r.Seed = static_cast<uint64_t>(select.Int(5));
            r.Diagnostic = select.Text(6) == "diagnostic";
            if (!select.IsNull(7)) r.Roll = static_cast<int32_t>(select.Int(7));
            r.Source = select.Text(8);
            r.Procedure = select.Text(9);
            r.Batch = select.IsNull(10) ? r.Id : select.Int(10);
            if (!select.IsNull(11)) r.ReplacedBy = select.Int(11);
            answers.Bind(1, r.Id);
            while (answers.Step()) {
                THistoryReading::TAnswer a;
                if (!answers.IsNull(0)) a.Answer = answers.Int(0), a.Remainder = answers.Int(1);
                a.Decided = answers.Text(2);
                if (!answers.IsNull(3)) a.Correct = answers.Int(3) != 0;
                a.Places = static_cast<int32_t>(answers.Int(4));
                a.RemainderPlaces = static_cast<int32_t>(answers.Int(5));
                r.Answers.push_back(a);
            }
            answers.Reset();
            readings.push_back(std::move(r));
        }
        return readings;
    });
}

std::vector<THistorySheet> THistory::List(int limit, int offset, std::optional<int32_t> number)
{
    return Recovering([&] { return ListOnce(limit, offset, std::nullopt, number); });
}

std::vector<THistorySheet> THistory::ListBefore(int limit, std::optional<int64_t> beforeId, std::optional<int32_t> number)
{
    return Recovering([&] { return ListOnce(limit, 0, beforeId, number); });
}

std::vector<THistorySheet> THistory::ListOnce(int limit, int offset, std::optional<int64_t> beforeId,
                                              std::optional<int32_t> number)
{
    std::string sql = "SELECT id, recorded_at, number, summary, with_answers, destination, operation, kind FROM sheets";
    std::string where;
    if (number) where += " number = ?";
    if (beforeId) where += std::string(number ? " AND" : "") + " id < ?";
    if (!where.empty()) sql += " WHERE" + where;
    sql += " ORDER BY id DESC LIMIT ? OFFSET ?";
    TStatement select(db_, sql.c_str());
    int index = 1;
    if (number) select.Bind(index++, *number);
    if (beforeId) select.Bind(index++, *beforeId);
    select.Bind(index, limit);
    select.Bind(index + 1, offset);
    std::vector<THistorySheet> sheets;
    while (select.Step()) {
        THistorySheet s;
        s.Id = select.Int(0);
        s.RecordedAt = select.Int(1);
        s.Number = static_cast<int32_t>(select.Int(2));
        s.Summary = select.Text(3);
        s.WithAnswers = select.Int(4) != 0;
        s.Destination = select.Text(5);
        s.Operation = select.Text(6);
        s.Diagnostic = select.Text(7) == "diagnostic";
        sheets.push_back(std::move(s));
    }
    return sheets;
}

std::optional<THistorySheet> THistory::Find(int64_t id)
{
    return Recovering([&] { return FindOnce(id); });
}

std::optional<THistorySheet> THistory::FindOnce(int64_t id)
{
    TStatement select(db_,
                      "SELECT id, recorded_at, number, settings, summary, with_answers, destination, operation, seed, kind "
                      "FROM sheets WHERE id = ?");
    select.Bind(1, id);
    if (!select.Step()) return std::nullopt;
    THistorySheet s;
    s.Id = select.Int(0);
    s.RecordedAt = select.Int(1);
    s.Number = static_cast<int32_t>(select.Int(2));
    s.Settings = select.Text(3);
    s.Summary = select.Text(4);
    s.WithAnswers = select.Int(5) != 0;
    s.Destination = select.Text(6);
    s.Operation = select.Text(7);
    if (!select.IsNull(8)) s.Seed = static_cast<uint64_t>(select.Int(8));
    s.Diagnostic = select.Text(9) == "diagnostic";
    TStatement problems(db_,
                        "SELECT first, second, answer, remainder, first_places, second_places, answer_places, "
                        "remainder_places FROM problems WHERE sheet_id = ? ORDER BY position");
    problems.Bind(1, id);
    auto narrow = [&](int column) { return static_cast<int32_t>(problems.Int(column)); };
    while (problems.Step())
        s.Problems.push_back({narrow(0), narrow(1), narrow(2), narrow(3), narrow(4), narrow(5), narrow(6), narrow(7)});
    return s;
}

void THistory::Remove(int64_t id)
{
    Recovering([&] {
        TStatement remove(db_, "DELETE FROM sheets WHERE id = ?");
        remove.Bind(1, id);
        remove.Step();
        return 0;
    });
}

int64_t THistory::Count(std::optional<int32_t> number)
{
    return Recovering([&] { return CountOnce(number); });
}

int64_t THistory::CountOnce(std::optional<int32_t> number)
{
    TStatement count(db_, number ? "SELECT count(*) FROM sheets WHERE number = ?" : "SELECT count(*) FROM sheets");
    if (number) count.Bind(1, *number);
    count.Step();
    return count.Int(0);
}
