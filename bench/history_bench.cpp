// The history with 10 000 recorded sheets: recording one more job, the first
// screenful of the 履歴 window (the window made and drawn), a page of 100
// rows near the end of the list, and the whole list as --history prints it,
// each beside its floor in bare SQLite (the same rows inserted; the same
// rows read by key; every row read and written as a line with a fixed time).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <sstream>

#include "app/application.h"
#include "app/fmain.h"
#include "app/history_window.h"
#include "cli/command_line.h"
#include "history/history.h"
#include "ratio_reporter.h"

namespace {

constexpr int kRecorded = 10000;

THistorySheet Sheet(int32_t number)
{
    THistorySheet s;
    s.Number = number;
    s.Settings = std::string(700, 'x');  // about the size of a settings file
    s.Summary = "3けた×1けた・一位あり十位なし・16問";
    for (int i = 0; i < 16; ++i) s.Problems.push_back({100 + (number * 7 + i * 13) % 900, 2 + i % 8});
    s.Destination = "TavelinPDF";
    return s;
}

std::string Filled(const QTemporaryDir& folder)
{
    // Where the command line looks for it.
    qputenv("XDG_DATA_HOME", folder.path().toUtf8());
    const std::string path = DefaultHistoryPath();
    THistory history(path);
    for (int batch = 0; batch < kRecorded / 100; ++batch) {
        std::vector<THistorySheet> sheets;
        for (int i = 0; i < 100; ++i) sheets.push_back(Sheet(batch * 100 + i));
        history.Record(sheets);
    }
    return path;
}

void BM_RecordOne(benchmark::State& state, const std::string* path)
{
    THistory history(*path);
    int32_t number = kRecorded;
    for (auto _ : state) {
        std::vector<THistorySheet> job{Sheet(++number)};
        history.Record(job);
    }
}

void BM_RecordOneFloor(benchmark::State& state, const std::string* path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path->c_str(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    const THistorySheet s = Sheet(1);
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO sheets (recorded_at, number, settings, summary, with_answers, destination, "
                               "operation) VALUES (1, 1, ?, ?, 0, 'x', 'multiplication')", -1, &insert, nullptr);
        sqlite3_bind_text(insert, 1, s.Settings.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, s.Summary.c_str(), -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_finalize(insert);
        const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
        sqlite3_prepare_v2(db, "INSERT INTO problems VALUES (?, ?, ?, ?, ?, 0)", -1, &insert, nullptr);
        for (int i = 0; i < 16; ++i) {
            sqlite3_bind_int64(insert, 1, id);
            sqlite3_bind_int(insert, 2, i + 1);
            const THistorySheet::TProblem& p = s.Problems[static_cast<size_t>(i)];
            sqlite3_bind_int(insert, 3, p.First);
            sqlite3_bind_int(insert, 4, p.Second);
            sqlite3_bind_int(insert, 5, p.Answer);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
}

void BM_FirstScreenful(benchmark::State& state, const std::string* path)
{
    QWidget owner;
    THistory history(*path);
    for (auto _ : state) {
        THistoryWindow window(&owner, history, {});
        window.resize(900, 520);
        benchmark::DoNotOptimize(window.grab());
    }
}

void BM_FirstScreenfulFloor(benchmark::State& state, const std::string* path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path->c_str(), &db);
    for (auto _ : state) {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT id, recorded_at, number, summary FROM sheets ORDER BY id DESC LIMIT 100", -1,
                           &select, nullptr);
        int rows = 0;
        while (sqlite3_step(select) == SQLITE_ROW) ++rows;
        sqlite3_finalize(select);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_close(db);
}

void BM_PageNearTheEnd(benchmark::State& state, const std::string* path)
{
    THistory history(*path);
    for (auto _ : state) benchmark::DoNotOptimize(history.ListBefore(100, 200).size());
}

void BM_PageNearTheEndFloor(benchmark::State& state, const std::string* path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path->c_str(), &db);
    for (auto _ : state) {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT id, recorded_at, number, summary, with_answers, destination FROM sheets "
                               "WHERE id < 200 ORDER BY id DESC LIMIT 100", -1, &select, nullptr);
        int rows = 0;
        while (sqlite3_step(select) == SQLITE_ROW) ++rows;
        sqlite3_finalize(select);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_close(db);
}

void BM_HistoryLines(benchmark::State& state, const std::string*)
{
    for (auto _ : state) {
        std::ostringstream out, err;
        RunCommandLine({"--history"}, out, err);
        benchmark::DoNotOptimize(out.str().size());
    }
}

void BM_HistoryLinesFloor(benchmark::State& state, const std::string* path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path->c_str(), &db);
    for (auto _ : state) {
        std::ostringstream out;
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT id, recorded_at, number, summary, with_answers, destination FROM sheets "
                               "ORDER BY id DESC", -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW)
            out << sqlite3_column_int64(select, 0) << "\t2026-12-07 10:15\tNo." << sqlite3_column_int(select, 2) << "\t"
                << sqlite3_column_text(select, 3) << "\t" << (sqlite3_column_int(select, 4) ? "答えつき" : "問題のみ") << "\t"
                << sqlite3_column_text(select, 5) << "\n";
        sqlite3_finalize(select);
        benchmark::DoNotOptimize(out.str().size());
    }
    sqlite3_close(db);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    const QTemporaryDir folder;
    const std::string path = Filled(folder);
    benchmark::RegisterBenchmark("History10k/record_one_job", BM_RecordOne, &path)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("History10k/record_one_job/floor", BM_RecordOneFloor, &path)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("History10k/first_screenful", BM_FirstScreenful, &path)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("History10k/first_screenful/floor", BM_FirstScreenfulFloor, &path)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("History10k/page_near_the_end", BM_PageNearTheEnd, &path)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("History10k/page_near_the_end/floor", BM_PageNearTheEndFloor, &path)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("History10k/history_lines", BM_HistoryLines, &path)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("History10k/history_lines/floor", BM_HistoryLinesFloor, &path)
        ->Unit(benchmark::kMillisecond);
    return RunWithRatios(argc, argv);
}
