// The history of every sheet that was printed, saved as PDF or made in a
// class set: a SQLite database in the user's data folder. Pure C++ and
// libsqlite3; one object per connection, used on one thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "errors/errors.h"

struct sqlite3;

// One sheet as it was made.
struct THistorySheet {
    // One problem by name: the first and second numbers as written, the
    // answer and the remainder (0 but for a division), each a whole number
    // of its smallest place with its count of decimal places (0: whole).
    struct TProblem {
        int32_t First = 0, Second = 0, Answer = 0, Remainder = 0;
        int32_t FirstPlaces = 0, SecondPlaces = 0, AnswerPlaces = 0, RemainderPlaces = 0;
        bool operator==(const TProblem&) const = default;
    };

    int64_t Id = 0;            // given by Record
    int64_t RecordedAt = 0;    // seconds since 1970-01-01 UTC
    int32_t Number = 0;        // the sheet number printed on it
    // The operation as settings files name it ("multiplication", …); empty
    // for a record whose operation cannot be told.
    std::string Operation = "multiplication";
    std::string Settings;      // as a settings file writes them
    std::string Summary;       // "3けた×1けた・一位あり十位なし・16問"
    std::vector<TProblem> Problems;  // in page order
    bool WithAnswers = false;  // went out with its answer sheet
    std::string Destination;   // printer name or file path
    std::optional<uint64_t> Seed;  // the seed of its class set, when it was made in one
    bool Diagnostic = false;   // a diagnostic sheet (its answer sheet is a key to wrong procedures)
};

// A pupil's sheet as read from a scan: which sheet (and the recorded one
// when the history holds it), whose, and each answer with how it was decided.
struct THistoryReading {
    struct TAnswer {
        std::optional<int64_t> Answer;  // none: left blank
        int64_t Remainder = 0;
        std::string Decided;            // "read", "lexicon", "typed" or "asked"
        std::optional<bool> Correct;    // none while asked
        int32_t Places = 0, RemainderPlaces = 0;  // the answer's and the remainder's decimal places
        bool operator==(const TAnswer&) const = default;
    };
    int64_t Id = 0;                  // given by RecordReadings
    int64_t ReadAt = 0;              // seconds since 1970-01-01 UTC
    std::optional<int64_t> SheetId;  // the recorded sheet, found by RecordReadings
    std::string Operation;           // as settings files name it
    int32_t Number = 0;
    std::optional<uint64_t> Seed;
    bool Diagnostic = false;
    std::optional<int32_t> Roll;     // 出席番号
    std::string Source;              // the file and page it was read from
    std::string Procedure;           // a diagnostic sheet's procedure named, else empty
    std::vector<TAnswer> Answers;    // in problem order
    int64_t Batch = 0;               // the class's pages read together: the first reading's Id
    // The later reading of the same pupil's sheet (its number, operation,
    // kind, seed and 出席番号) that replaced this one; none while current.
    std::optional<int64_t> ReplacedBy;
};

// The history cannot be used: its folder cannot be written, or its file
// cannot be opened, read or written. The message says why, in Japanese, and
// that the history is off; Reason() is the why alone.
class EHistoryUnavailable : public EReasoned {
public:
    using EReasoned::EReasoned;
};

// Another program held the history for longer than the wait.
class EHistoryBusy : public EHistoryUnavailable {
public:
    using EHistoryUnavailable::EHistoryUnavailable;
};

// The history's folder cannot be written at all: it cannot be made, or
// nothing can be made in it (a read-only place, no permission). The one
// trouble after which sheets go out unrecorded.
class EHistoryFolderUnwritable : public EHistoryUnavailable {
public:
    using EHistoryUnavailable::EHistoryUnavailable;
};

// What a run says while a history of an older version is brought up to
// date (by it, or by another run it waits for).
inline constexpr const char* kUpgradingWords = "履歴を新しい形に直しています…";

// Told kUpgradingWords when such a wait begins, and "" when it ends.
using THistoryProgress = std::function<void(const std::string& words)>;

// How a history is opened: to record in it, or only to read it (a history in
// a place that cannot be written can still be listed and reprinted).
enum class THistoryAccess { ReadWrite, ReadOnly };

// $XDG_DATA_HOME/Tavelin/history.sqlite3, or
// ~/.local/share/Tavelin/history.sqlite3 when XDG_DATA_HOME is not set (the
// home from HOME, else from the password database); empty when there is no
// home to keep it in.
std::string DefaultHistoryPath();

class THistory {
public:
    // The schema version this program writes (PRAGMA user_version). Version
    // 2 keeps the operation of every sheet and its problems by name (first,
    // second, answer, remainder), and the seed of a class set; a version-1
    // history is brought up to it, each sheet's operation read from its
    // settings text. Version 3 tells diagnostic sheets from drill sheets;
    // version 4 keeps the class's answers read from scans.
    static constexpr int kSchemaVersion = 7;

    // Opens the history at `path`, making its folder and the database as
    // needed, and brings an older schema up to date: one run at a time,
    // telling `progress`; another run that finds it under way waits for it
    // (telling `progress` too) instead of failing. A file that is not a
    // database, or is damaged, is moved aside (MovedAside() tells where) and
    // a new one is started; damage that shows later, while the history is
    // read or written, is handled the same way and the operation runs again
    // on the new history; a file whose schema version is below 0 counts as
    // damaged. Raises EHistoryFolderUnwritable for a folder that cannot be
    // written, EHistoryUnavailable for anything else that stops it (a
    // history of a newer version, another program's database, a full disk),
    // each saying its cause. Opened ReadOnly, nothing is made, moved or
    // written: the file is read as it stands, a history of an older version
    // through a copy in memory, and a file that cannot be read raises.
    explicit THistory(const std::string& path, THistoryAccess access = THistoryAccess::ReadWrite,
                      THistoryProgress progress = {});
    ~THistory();
    THistory(const THistory&) = delete;
    THistory& operator=(const THistory&) = delete;

    // Where a damaged file was moved to, when it was opened or when damage
    // showed while it was used; empty when nothing was moved.
    const std::string& MovedAside() const { return movedAside_; }

    // Called with the new name of the file each time a damaged file is
    // moved aside from now on (damage that shows while the history is used).
    void SetMovedAsideHandler(std::function<void(const std::string& movedTo)> handler)
    {
        movedAsideHandler_ = std::move(handler);
    }

    // Records the sheets of one job in one transaction: all of them or, on
    // an error, none. Sets their Id and returns them. Raises
    // EHistoryUnavailable when they cannot be written.
    std::vector<int64_t> Record(std::vector<THistorySheet>& sheets);

    // Records the readings of one class in one transaction: all or none,
    // as one Batch. Each is tied to the newest recorded sheet of its number,
    // operation, kind and seed, when there is one (SheetId), and replaces
    // the reading of the same pupil's sheet made before (ReplacedBy). Sets
    // their Id. `alongside`, when given, runs inside the transaction before
    // it is committed: when it raises, nothing is recorded (the files that
    // go out with the readings).
    std::vector<int64_t> RecordReadings(std::vector<THistoryReading>& readings, const std::function<void()>& alongside = {});

    // Up to `limit` readings, newest first, with their answers.
    std::vector<THistoryReading> Readings(int limit);

    // Up to `limit` sheets, newest first, after skipping `offset`; only
    // those with sheet number `number` when it is given. Problems and
    // settings are left empty: Find gives the whole sheet.
    std::vector<THistorySheet> List(int limit, int offset = 0, std::optional<int32_t> number = std::nullopt);

    // The same, from the sheet recorded just before the sheet with id
    // `beforeId` on (from the newest for none): a page further down a long
    // history costs no more than the first.
    std::vector<THistorySheet> ListBefore(int limit, std::optional<int64_t> beforeId,
                                          std::optional<int32_t> number = std::nullopt);

    // The whole sheet with that id, or none.
    std::optional<THistorySheet> Find(int64_t id);

    // Removes the sheet; nothing when there is none.
    void Remove(int64_t id);

    // How many sheets are recorded (with that number, when given).
    int64_t Count(std::optional<int32_t> number = std::nullopt);

private:
    void Open(const std::string& path);
    void OpenReadOnly(const std::string& path);
    // Opens `uri` for reading; false, with `why`, when another way may work.
    bool TryReadOnly(const std::string& uri, std::string& why);
    // Raises for a database that is not a history, or of a newer version.
    void CheckIsHistory();
    // Replaces the connection by a copy of the database in memory.
    void CopyIntoMemory();
    static int BusyWait(void* self, int count);
    void Tell(bool upgrading);
    // PRAGMA user_version.
    int64_t Version();
    // Opens `path`, moving a damaged file aside first.
    void OpenHealthy(const std::string& path);
    // Moves the file at `path` aside and opens a new one there.
    void MoveAside(const std::string& path);
    template <typename F>
    auto Recovering(F&& operation);
    std::vector<int64_t> RecordOnce(std::vector<THistorySheet>& sheets);
    std::vector<int64_t> RecordReadingsOnce(std::vector<THistoryReading>& readings, const std::function<void()>& alongside);
    std::vector<THistorySheet> ListOnce(int limit, int offset, std::optional<int64_t> beforeId,
                                        std::optional<int32_t> number);
    std::optional<THistorySheet> FindOnce(int64_t id);
    int64_t CountOnce(std::optional<int32_t> number);
    // Brings an older schema up to date; `shared` when other runs may use the
    // same file (they wait for it).
    void Migrate(bool shared = true);
    void Execute(const char* sql);

    std::string path_;
    std::string movedAside_;
    std::function<void(const std::string&)> movedAsideHandler_;
    sqlite3* db_ = nullptr;
    bool readOnly_ = false;
    THistoryProgress progress_;
    bool told_ = false;  // progress_ was told an upgrade is under way
    int64_t busySince_ = 0;  // when the current wait for a lock began (ms, steady clock)
};
