#include <gtest/gtest.h>

#include <sqlite3.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <pwd.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "history/history.h"

namespace fs = std::filesystem;

namespace {

THistorySheet Sheet(int32_t number, int problems = 16)
{
    THistorySheet s;
    s.Number = number;
    s.Settings = R"({"format": "tavelin-settings", "version": 1, "PrnNum": ")" + std::to_string(number) + "\"}";
    s.Summary = "3けた×1けた・一位あり十位なし・16問";
    for (int i = 0; i < problems; ++i) s.Problems.push_back({100 + i * 37 + number, 2 + i % 8});
    s.WithAnswers = number % 2 == 0;
    s.Destination = "/tmp/かけ算-No" + std::to_string(number) + ".pdf";
    return s;
}

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("tavelin-history-" + std::to_string(getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        path_ = (folder_ / "Tavelin" / "history.sqlite3").string();
    }
    void TearDown() override { fs::remove_all(folder_); }

    void RecordOne(int32_t number)
    {
        std::vector<THistorySheet> sheets{Sheet(number)};
        THistory(path_).Record(sheets);
    }

    fs::path folder_;
    std::string path_;
};

// Runs `child` in a process of its own and waits for it; its exit status.
int InChild(const std::function<void()>& child)
{
    const pid_t pid = fork();
    if (pid == 0) {
        child();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

}  // namespace

TEST_F(HistoryTest, PathFollowsXdgDataHome)
{
    setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(DefaultHistoryPath(), "/srv/data/Tavelin/history.sqlite3");
    setenv("XDG_DATA_HOME", "relative/ignored", 1);
    setenv("HOME", "/home/teacher", 1);
    EXPECT_EQ(DefaultHistoryPath(), "/home/teacher/.local/share/Tavelin/history.sqlite3");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DefaultHistoryPath(), "/home/teacher/.local/share/Tavelin/history.sqlite3");
    // Without either, the home the system knows for the user; never the
    // current folder.
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    for (const char* home : {static_cast<const char*>(nullptr), "", "relative"}) {
        if (home) setenv("HOME", home, 1);
        else unsetenv("HOME");
        EXPECT_EQ(DefaultHistoryPath(), std::string(user->pw_dir) + "/.local/share/Tavelin/history.sqlite3");
    }
}

TEST_F(HistoryTest, RecordsWholeSheetsAndListsThemNewestFirst)
{
    THistory history(path_);
    std::vector<THistorySheet> job{Sheet(12), Sheet(13, 12)};
    const std::vector<int64_t> ids = history.Record(job);
    std::vector<THistorySheet> later{Sheet(12)};
    history.Record(later);
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(job[1].Id, ids[1]);

    const auto found = history.Find(ids[1]);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Number, 13);
    EXPECT_EQ(found->Problems, job[1].Problems);
    EXPECT_EQ(found->Settings, job[1].Settings);
    EXPECT_EQ(found->Destination, job[1].Destination);
    EXPECT_FALSE(found->WithAnswers);
    EXPECT_GT(found->RecordedAt, 0);

    const auto list = history.List(10);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Id, later[0].Id);
    EXPECT_EQ(list[2].Id, ids[0]);
    EXPECT_EQ(list[0].Summary, "3けた×1けた・一位あり十位なし・16問");
    EXPECT_EQ(history.List(10, 0, 12).size(), 2u);
    EXPECT_EQ(history.Count(13), 1);
    EXPECT_EQ(history.List(1, 1)[0].Id, ids[1]);
    // Paged by key, the same rows as paged by position.
    EXPECT_EQ(history.ListBefore(1, later[0].Id)[0].Id, ids[1]);
    EXPECT_EQ(history.ListBefore(10, std::nullopt).size(), 3u);
    EXPECT_EQ(history.ListBefore(10, ids[1], 12).size(), 1u);
    EXPECT_TRUE(history.ListBefore(10, ids[0]).empty());

    history.Remove(ids[1]);
    EXPECT_FALSE(history.Find(ids[1]));
    EXPECT_EQ(history.Count(), 2);
    sqlite3* db = nullptr;
    sqlite3_open(path_.c_str(), &db);
    sqlite3_stmt* orphans = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM sheet_problems WHERE sheet_id NOT IN (SELECT id FROM sheets)", -1,
                       &orphans, nullptr);
    sqlite3_step(orphans);
    EXPECT_EQ(sqlite3_column_int(orphans, 0), 0);
    sqlite3_finalize(orphans);
    sqlite3_close(db);
}

TEST_F(HistoryTest, SchemaIsVersionedInWalMode)
{
    THistory(path_).Count();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    auto text = [db](const char* sql) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
        sqlite3_step(s);
        std::string value = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        sqlite3_finalize(s);
        return value;
    };
    EXPECT_EQ(text("PRAGMA user_version"), std::to_string(THistory::kSchemaVersion));
    EXPECT_EQ(text("PRAGMA journal_mode"), "wal");
    // A history from a newer program is left alone.
    sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_THROW(THistory{path_}, EHistoryUnavailable);
}

TEST_F(HistoryTest, ARecordSurvivesTheWriterBeingKilledRightAfter)
{
    const int status = InChild([&] {
        std::vector<THistorySheet> job{Sheet(7)};
        THistory history(path_);
        history.Record(job);
        raise(SIGKILL);
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    THistory history(path_);
    ASSERT_EQ(history.Count(), 1);
    EXPECT_EQ(history.List(1)[0].Number, 7);
}

TEST_F(HistoryTest, TwoWritersAtOnceBothRecord)
{
    RecordOne(1);  // the schema exists before the race
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = fork();
        if (writers[w] == 0) {
            THistory history(path_);
            for (int i = 0; i < 100; ++i) {
                std::vector<THistorySheet> job{Sheet(100 * (w + 1) + i), Sheet(100 * (w + 1) + i)};
                history.Record(job);
            }
            _exit(0);
        }
    }
    for (pid_t writer : writers) {
        int status = 0;
        waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(THistory(path_).Count(), 1 + 2 * 100 * 2);
}

TEST_F(HistoryTest, ADamagedFileIsMovedAsideAndANewOneStarted)
{
    // A file that is not a database, and a database whose pages were overwritten.
    const auto notADatabase = [&] {
        fs::create_directories(fs::path(path_).parent_path());
        std::ofstream(path_) << "these are not the sheets you are looking for";
    };
    const auto overwritten = [&] {
        for (int i = 0; i < 50; ++i) RecordOne(i);
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        sqlite3_close(db);
        std::fstream file(path_, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4096);
        const std::string garbage(8192, '\x5a');
        file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    };
    for (const auto& damage : {std::function<void()>(notADatabase), std::function<void()>(overwritten)}) {
        fs::remove_all(folder_);
        damage();
        std::ifstream before(path_, std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());
        THistory history(path_);
        const bool atOpening = !history.MovedAside().empty();
        std::vector<std::string> told;
        history.SetMovedAsideHandler([&](const std::string& movedTo) { told.push_back(movedTo); });
        EXPECT_EQ(history.Count(), 0);  // damage further in shows when it is read
        ASSERT_FALSE(history.MovedAside().empty());
        // A move after the opening is told, with the new name.
        EXPECT_EQ(told, atOpening ? std::vector<std::string>{} : std::vector<std::string>{history.MovedAside()});
        EXPECT_EQ(history.MovedAside().rfind(path_ + ".damaged-", 0), 0u);
        std::ifstream aside(history.MovedAside(), std::ios::binary);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(aside)), std::istreambuf_iterator<char>()), content);
        std::vector<THistorySheet> job{Sheet(3)};
        history.Record(job);
        EXPECT_TRUE(THistory(path_).MovedAside().empty());
    }
}

TEST_F(HistoryTest, AFolderThatCannotBeWrittenIsToldInWords)
{
    try {
        THistory history("/dev/null/Tavelin/history.sqlite3");
        FAIL() << "opened";
    } catch (const EHistoryUnavailable& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("/dev/null/Tavelin"), std::string::npos) << message;
        EXPECT_NE(message.find("履歴は記録されません"), std::string::npos) << message;
    }
}

namespace {

std::string OpeningMessage(const std::string& path, THistoryAccess access = THistoryAccess::ReadWrite)
{
    try {
        THistory history(path, access);
    } catch (const EHistoryUnavailable& e) {
        return e.what();
    }
    return "(opened)";
}

// A command run as root: true when it worked.
bool AsRoot(const std::string& command)
{
    return geteuid() == 0 && std::system(command.c_str()) == 0;
}

}  // namespace

// What goes wrong is said in Japanese, by its real cause.
TEST_F(HistoryTest, TroublesAreToldByTheirCause)
{
    fs::create_directories(path_);
    EXPECT_NE(OpeningMessage(path_).find("はフォルダなので、履歴のファイルとして使えません"), std::string::npos);
    fs::remove_all(path_);
    fs::create_symlink("/nonexistent-tavelin/history.sqlite3", path_);
    EXPECT_NE(OpeningMessage(path_).find("リンクですが、そのリンク先がありません"), std::string::npos);
    fs::remove(path_);

    // Held by another writer for longer than the wait: raised as such, so
    // that nothing goes out unrecorded.
    RecordOne(1);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; INSERT INTO sheets (recorded_at, number, settings, summary, with_answers, destination) VALUES (0, 9, '', '', 0, '')", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        std::vector<THistorySheet> job{Sheet(2)};
        THistory(path_).Record(job);
        ADD_FAILURE() << "recorded";
    } catch (const EHistoryBusy& e) {
        EXPECT_NE(std::string(e.what()).find("ほかのプログラムが履歴に書き込んでいて"), std::string::npos) << e.what();
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}

// A version this program never writes is a file it cannot use: moved aside.
TEST_F(HistoryTest, AnUnknownSchemaVersionIsMovedAside)
{
    RecordOne(1);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA user_version = -1", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    THistory history(path_);
    EXPECT_EQ(history.MovedAside().rfind(path_ + ".damaged-", 0), 0u);
    EXPECT_EQ(history.Count(), 0);
}

// A full disk and a read-only place, on small disks of their own (root).
TEST_F(HistoryTest, FullAndReadOnlyPlaces)
{
    const std::string place = (folder_ / "small").string();
    fs::create_directories(place);
    if (!AsRoot("mount -t tmpfs -o size=96k tmpfs '" + place + "'")) GTEST_SKIP() << "a small disk of its own needs root";
    const std::string path = place + "/history.sqlite3";
    std::string full;
    {
        THistory history(path);
        try {
            for (int i = 0; i < 400; ++i) {
                std::vector<THistorySheet> job{Sheet(i, 16)};
                job[0].Settings = std::string(2000, 'x');
                history.Record(job);
            }
        } catch (const EHistoryUnavailable& e) {
            full = e.what();
        }
    }
    EXPECT_NE(full.find("ディスクがいっぱいです"), std::string::npos) << full;
    EXPECT_EQ(full.find("disk"), std::string::npos) << full;
    // A full disk when a history is opened is no unwritable folder: it
    // stops the sheet rather than turning the history off.
    try {
        THistory another(place + "/another.sqlite3");
        ADD_FAILURE() << "opened on a full disk";
    } catch (const EHistoryFolderUnwritable& e) {
        ADD_FAILURE() << e.what();
    } catch (const EHistoryUnavailable& e) {
        EXPECT_NE(std::string(e.what()).find("ディスクがいっぱいです"), std::string::npos) << e.what();
    }

    const int64_t recorded = THistory(path).Count();
    ASSERT_TRUE(AsRoot("mount -o remount,ro '" + place + "'"));
    const std::string readOnly = OpeningMessage(path);
    EXPECT_NE(readOnly.find("読み取り専用"), std::string::npos) << readOnly;
    EXPECT_THROW(THistory{path}, EHistoryFolderUnwritable);
    {
        // Still listed as it stands.
        THistory listed(path, THistoryAccess::ReadOnly);
        EXPECT_EQ(listed.Count(), recorded);
        EXPECT_EQ(listed.List(1).size(), 1u);
    }
    EXPECT_TRUE(AsRoot("umount '" + place + "'"));
}

namespace {

// A version-1 history as the program wrote it before, holding every
// operation, a sheet whose settings cannot be read and one of an operation
// this program does not know.
void MakeVersionOneHistory(const std::string& path)
{
    fs::create_directories(fs::path(path).parent_path());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, R"(
        CREATE TABLE sheets (id INTEGER PRIMARY KEY, recorded_at INTEGER NOT NULL, number INTEGER NOT NULL,
                             settings TEXT NOT NULL, summary TEXT NOT NULL, with_answers INTEGER NOT NULL,
                             destination TEXT NOT NULL);
        CREATE INDEX sheets_by_number ON sheets (number, id);
        CREATE TABLE sheet_problems (sheet_id INTEGER NOT NULL REFERENCES sheets (id) ON DELETE CASCADE,
                                     position INTEGER NOT NULL, multiplicand INTEGER NOT NULL,
                                     multiplier INTEGER NOT NULL, PRIMARY KEY (sheet_id, position)) WITHOUT ROWID;
        INSERT INTO sheets VALUES (1, 1, 1, '{"format": "tavelin-settings", "version": 1}', 'a', 0, 'x');
        INSERT INTO sheets VALUES (2, 2, 2, '{"format": "tavelin-settings", "version": 2, "operation": "addition"}', 'b', 1, 'x');
        INSERT INTO sheets VALUES (3, 3, 3, '{"format": "tavelin-settings", "version": 2, "operation": "subtraction"}', 'c', 0, 'x');
        INSERT INTO sheets VALUES (4, 4, 4, '{"format": "tavelin-settings", "version": 2, "operation": "division"}', 'd', 1, 'x');
        INSERT INTO sheets VALUES (5, 5, 5, 'not a settings text', 'e', 0, 'x');
        INSERT INTO sheets VALUES (6, 6, 6, '{"format": "tavelin-settings", "version": 9, "operation": "fractions"}', 'f', 0, 'x');
        INSERT INTO sheet_problems VALUES (1, 1, 123, 45), (2, 1, 365, 574), (3, 1, 302, 158), (4, 1, 621, 3),
                                          (4, 2, 413, 59), (5, 1, 84, 4), (6, 1, 1, 2);
        PRAGMA user_version = 1;)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
}

// What the version-1 history holds, read back as this version reads it.
void ExpectVersionOneSheets(THistory& history)
{
    struct TCase {
        int64_t Id;
        const char* Operation;
        std::vector<THistorySheet::TProblem> Problems;
    } cases[] = {
        {1, "multiplication", {{123, 45, 5535, 0}}},
        {2, "addition", {{365, 574, 939, 0}}},
        {3, "subtraction", {{302, 158, 144, 0}}},
        {4, "division", {{621, 3, 207, 0}, {413, 59, 7, 0}}},
        {5, "", {{84, 4, 336, 0}}},
        {6, "", {{1, 2, 2, 0}}},
    };
    for (const TCase& c : cases) {
        const std::optional<THistorySheet> sheet = history.Find(c.Id);
        ASSERT_TRUE(sheet.has_value());
        EXPECT_EQ(sheet->Operation, c.Operation) << c.Id;
        EXPECT_EQ(sheet->Problems, c.Problems) << c.Id;
        EXPECT_FALSE(sheet->Seed.has_value());
        EXPECT_FALSE(sheet->Diagnostic) << "the sheets of before are drill sheets";
    }
}

int64_t UserVersion(const std::string& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* version = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &version, nullptr);
    sqlite3_step(version);
    const int64_t value = sqlite3_column_int64(version, 0);
    sqlite3_finalize(version);
    sqlite3_close(db);
    return value;
}

}  // namespace

// Brought up to date with each sheet's operation and its problems by name, a
// sheet whose settings cannot be read left without one; the run that does
// it says so.
TEST_F(HistoryTest, AVersionOneHistoryIsBroughtUpToDate)
{
    MakeVersionOneHistory(path_);
    std::vector<std::string> told;
    THistory history(path_, THistoryAccess::ReadWrite, [&](const std::string& words) { told.push_back(words); });
    EXPECT_EQ(told, (std::vector<std::string>{kUpgradingWords, ""}));
    ExpectVersionOneSheets(history);
    // Recorded from now on with the seed of a class set and the kind, whole.
    std::vector<THistorySheet> job{Sheet(7), Sheet(8)};
    job[0].Operation = "division";
    job[0].Seed = 18446744073709551615ull;
    job[1].Diagnostic = true;
    history.Record(job);
    EXPECT_EQ(history.Find(job[0].Id)->Seed, std::optional<uint64_t>(18446744073709551615ull));
    EXPECT_EQ(history.Find(job[0].Id)->Operation, "division");
    EXPECT_FALSE(history.Find(job[0].Id)->Diagnostic);
    EXPECT_TRUE(history.Find(job[1].Id)->Diagnostic);
    EXPECT_TRUE(history.List(1).front().Diagnostic);
}

// A version-1 history brought up to date keeps the class's answers read
// from scans: each reading tied to the sheet it was read from when the
// history holds it, its answers as decided.
TEST_F(HistoryTest, ReadingsAreKeptWithTheirSheet)
{
    MakeVersionOneHistory(path_);
    THistory history(path_);
    std::vector<THistorySheet> job{Sheet(21)};
    job[0].Operation = "division";
    job[0].Seed = 18446744073709551615ull;
    history.Record(job);
    THistoryReading recorded;
    recorded.Operation = "division";
    recorded.Number = 21;
    recorded.Seed = 18446744073709551615ull;
    recorded.Roll = 7;
    recorded.Source = "scan.pdf 2ページ";
    recorded.Answers = {{123, 4, "read", true}, {std::nullopt, 0, "lexicon", false}, {56, 0, "asked", std::nullopt},
                        {375, 2, "read", false, 2, 1}};  // 3.75 あまり 0.2: the places kept
    THistoryReading stranger = recorded;
    stranger.Seed = 1;  // a sheet the history never saw
    stranger.Roll.reset();
    std::vector<THistoryReading> readings{recorded, stranger};
    history.RecordReadings(readings);
    const std::vector<THistoryReading> back = history.Readings(10);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].SheetId, std::optional<int64_t>(job[0].Id));
    EXPECT_EQ(back[1].Roll, std::optional<int32_t>(7));
    EXPECT_EQ(back[1].Seed, recorded.Seed);
    EXPECT_EQ(back[1].Source, recorded.Source);
    EXPECT_EQ(back[1].Answers, recorded.Answers);
    EXPECT_FALSE(back[0].SheetId);
    EXPECT_FALSE(back[0].Roll);
    // The sheet goes; its readings stay, no longer tied to it.
    history.Remove(job[0].Id);
    EXPECT_FALSE(history.Readings(10)[1].SheetId);
}

// A pupil's sheet read again later replaces its earlier reading, in a
// batch of its own; a sheet whose 出席番号 is not known replaces nothing;
// readings whose files could not go out are not recorded.
TEST_F(HistoryTest, ASheetReadAgainReplacesItsEarlierReading)
{
    THistory history(path_);
    THistoryReading pupil;
    pupil.Operation = "multiplication";
    pupil.Number = 4;
    pupil.Seed = 99;
    pupil.Roll = 3;
    pupil.Answers = {{92, 0, "read", true}};
    THistoryReading other = pupil, nobody = pupil;
    other.Roll = 4;
    nobody.Roll.reset();
    std::vector<THistoryReading> first{pupil, other, nobody};
    history.RecordReadings(first);
    std::vector<THistoryReading> failed{pupil};
    EXPECT_THROW(history.RecordReadings(failed, [] { throw std::runtime_error("disk full"); }), std::runtime_error);
    EXPECT_EQ(history.Readings(10).size(), 3u);
    std::vector<THistoryReading> again{pupil, nobody};
    bool delivered = false;
    history.RecordReadings(again, [&] { delivered = true; });
    EXPECT_TRUE(delivered);
    const std::vector<THistoryReading> back = history.Readings(10);  // newest first
    ASSERT_EQ(back.size(), 5u);
    EXPECT_EQ(back[0].Batch, back[1].Id);
    EXPECT_EQ(back[1].Batch, back[1].Id);
    EXPECT_EQ(back[2].Batch, back[4].Id);
    const struct {
        size_t At;
        std::optional<int64_t> ReplacedBy;
    } expected[] = {{0, std::nullopt}, {1, std::nullopt}, {2, std::nullopt}, {3, std::nullopt}, {4, back[1].Id}};
    for (const auto& e : expected) EXPECT_EQ(back[e.At].ReplacedBy, e.ReplacedBy) << e.At;
}

// An older history that can only be read is read whole, through a copy
// brought up to date in memory: the file stays as it was.
TEST_F(HistoryTest, AnOlderHistoryIsReadWithoutBeingChanged)
{
    MakeVersionOneHistory(path_);
    THistory history(path_, THistoryAccess::ReadOnly);
    ExpectVersionOneSheets(history);
    EXPECT_EQ(history.List(10).size(), 6u);
    EXPECT_EQ(UserVersion(path_), 1);
}

// Another run bringing the history up to date is waited for, however long
// it takes, and the wait is said.
TEST_F(HistoryTest, AnUpgradeUnderWayIsWaitedFor)
{
    MakeVersionOneHistory(path_);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t upgrading = fork();
    if (upgrading == 0) {
        // Holds the upgrade and the database longer than an ordinary wait.
        const int lock = open((path_ + "-upgrade").c_str(), O_RDWR | O_CREAT, 0600);
        flock(lock, LOCK_EX);
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        if (write(ready[1], "x", 1) != 1) _exit(1);
        sleep(6);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    std::vector<std::string> told;
    THistory history(path_, THistoryAccess::ReadWrite, [&](const std::string& words) { told.push_back(words); });
    std::vector<THistorySheet> job{Sheet(9)};
    history.Record(job);
    EXPECT_EQ(told, (std::vector<std::string>{kUpgradingWords, ""}));
    EXPECT_EQ(history.Count(), 7);
    int status = 0;
    waitpid(upgrading, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// What stands at the history's place and cannot be used is said by its
// real cause, read or written, never as a bare database error code.
TEST_F(HistoryTest, WhatCannotBeUsedIsToldByItsCause)
{
    struct TCase {
        const char* Sql;
        const char* Says;
    } cases[] = {
        {"CREATE TABLE sheets (id INTEGER); PRAGMA user_version = 99", "新しい版のプログラムで作られたので使えません（履歴の版 99"},
        {"CREATE TABLE notes (text TEXT)", "履歴のファイルではありません"},
        {"CREATE TABLE notes (text TEXT); PRAGMA user_version = 3", "履歴のファイルではありません"},
    };
    for (const TCase& c : cases) {
        fs::remove_all(folder_);
        fs::create_directories(fs::path(path_).parent_path());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, c.Sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        for (const THistoryAccess access : {THistoryAccess::ReadWrite, THistoryAccess::ReadOnly}) {
            const std::string message = OpeningMessage(path_, access);
            EXPECT_NE(message.find(c.Says), std::string::npos) << message;
            EXPECT_EQ(message.find("コード"), std::string::npos) << message;
        }
        // Another program's file stays where it is.
        for (const auto& entry : fs::directory_iterator(fs::path(path_).parent_path()))
            EXPECT_EQ(entry.path().filename().string().find(".damaged-"), std::string::npos);
    }
}
