// What the class's pages say once read (and reviewed): each pupil's answers
// marked right or wrong, counted, and for a diagnostic sheet the procedure
// named; the class's table and its CSV. Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "reader/page_reading.h"
#include "requests/requests.h"
#include "worksheet/diagnosis.h"

// One pupil's sheet as marked.
struct TMarkedSheet {
    std::string Source;               // the file and page it was read from: 「scan.pdf 3ページ」
    std::optional<int32_t> Roll;      // 出席番号
    TSheet Sheet;
    std::vector<TAnswerReading> Answers;
    // Right (true), wrong (false), or not known while asked.
    std::vector<std::optional<bool>> Right;
    int32_t RightCount = 0;
    std::optional<TDiagnosis> Diagnosis;  // a diagnostic sheet's, once nothing is asked
};

// The class set a sheet belongs to: its operation and its set's seed.
std::pair<int32_t, uint64_t> ClassSetOf(const TMarkedSheet& sheet);

// Marks a page read: each decided answer right or wrong, the count, the
// diagnosis of a diagnostic sheet whose answers are all decided.
TMarkedSheet MarkSheet(const TReadPage& page, const std::string& source);

// What each pupil wrote, for their next sheets (MakeFollowUpsOf): in the
// table's order, the problems worked on their sheet left out, not decided
// while an answer is still asked.
std::vector<TPupilWork> PupilWorkOf(const std::vector<TMarkedSheet>& sheets);

// The sheet number the pupils' next sheets start at: after the highest read.
int32_t NextSheetNumber(const std::vector<TMarkedSheet>& sheets);

// Puts the teacher's answer in: typed (none: left blank), then marks again.
void TypeAnswer(TMarkedSheet& sheet, size_t problem, const std::optional<TWrittenAnswer>& answer);

// True when `a` and `b` are one pupil's sheet: the same sheet (its
// operation, seed, number and kind) with the same 出席番号, known on both.
bool IsSamePupilsSheet(const TMarkedSheet& a, const TMarkedSheet& b);

// Puts `sheet` among `sheets` once: when the same pupil's sheet is there
// already (a page scanned again), the reading that asks less is kept, else
// the earlier. Where it is, whether it took the earlier one's place, and
// the line that says the sheet came twice (empty when it did not).
struct TKeptOnce {
    size_t At = 0;
    bool Replaced = false;
    std::string Note;  // 「scan.pdf 5ページ: scan.pdf 1ページ と同じプリント（出席番号 3）なので、一度だけ数えました」
};
TKeptOnce KeepOnce(std::vector<TMarkedSheet>& sheets, TMarkedSheet sheet);

// How many answers are still to be asked.
int32_t AskedCount(const std::vector<TMarkedSheet>& sheets);

// The CSV of the class (UTF-8 with its header
// shusseki,sheet,problem,answer,correct,decided,procedure,operation,seed): a
// line per answer; an answer still asked written ? and its best reading,
// its correctness empty; the procedure of a diagnostic sheet, else the wrong
// procedure that gives a wrong answer; the sheet's operation (as settings
// files name it) and its class set's seed.
std::string ResultsCsv(const std::vector<TMarkedSheet>& sheets);

// The procedure a pupil's sheet names, as the class's table shows it: a
// diagnostic sheet's diagnosis, else none.
std::string ProcedureNameOf(const TMarkedSheet& sheet);

// The CSV of the pupils (header shusseki,sheet,operation,right,wrong,asked,
// procedure): a line per sheet in the class table's order.
std::string PupilsCsv(const std::vector<TMarkedSheet>& sheets);

// Puts the teacher's answers of `csv` in (lines
// 出席番号,プリント番号,問題,答え, the answers as the results' CSV writes
// them: 24あまり2; a header line of shusseki… may come first), each to the
// one sheet of that 出席番号 and number. What could not be put in, a line
// each, named by `name` and the line's number.
std::vector<std::string> TypeAnswersFromCsv(std::vector<TMarkedSheet>& sheets, const std::string& csv, const std::string& name);

// The class's table: a line per pupil (by class set, then in 出席番号
// order, those without after; the プリント column names the operation too
// when the pages hold more than one class set)
// with ○ × ? per problem, the count right and the procedure; then each
// procedure with its count of pupils.
struct TClassTable {
    std::vector<std::string> Header;
    std::vector<std::vector<std::string>> Rows;
    std::vector<std::pair<std::string, int32_t>> Procedures;
};
TClassTable ClassTableOf(const std::vector<TMarkedSheet>& sheets);

// A class set as the teacher knows it: 「かけ算 No.1〜4」 (「かけ算 No.3」 for one).
std::string ClassSetName(TOperation operation, int32_t lowest, int32_t highest);

// What a reading came to, in a sentence: 「3枚を読みました（4ページ中）。
// 決めていない答えが 2 個あります（?）。」
std::string ReadingSummary(const std::vector<TMarkedSheet>& sheets, size_t pages);

// The question for an answer the reader asks: the pupil, the sheet, where
// it came from and the problem: 「出席番号 12（No.3、scan.pdf 2ページ）　(5) 42 × 3」.
std::string AskedLabel(const TMarkedSheet& sheet, size_t problem);

// Puts the teacher's answer to `problem` as typed (empty: left blank) in,
// read as the diagnosis reads typed answers; ERefused for a text that is no
// answer of the operation.
void TypeAnswerText(TMarkedSheet& sheet, size_t problem, const std::string& text);

// Why a file given to a reader that takes only pictures is not read.
std::string UnreadableScanMessage(const std::string& source, bool pdf);
