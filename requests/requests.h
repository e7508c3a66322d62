// What every front end asks of the program, answered in one place: the
// window, the command line and the page read what the teacher typed, make
// their sheets, read a pupil's answers and name their files through these
// requests, and show the messages they raise as they stand. A front end
// moves values between its controls and the requests; it keeps no rule of
// its own. Pure C++ (the page compiles it).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recipe/sheet_recipe.h"
#include "sheets/class_set.h"
#include "worksheet/diagnosis.h"
#include "worksheet/diagnostic.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// ---- what the teacher types ------------------------------------------------

// The seed of the problems (乱数のもと) as typed: decimal digits, full-width
// ones too, up to 18446744073709551615 (a minus before them takes the two's
// complement, as the command line has always read it). ERefused for
// anything else (0x10, 1e9, abc, 2⁶⁴).
uint64_t ReadSeed(const std::string& text);

// The seed to draw with: a fresh one for an empty text, else ReadSeed.
uint64_t SeedToUse(const std::string& text);

// How many sheets a class set has, as typed: 1 to 99 in decimal digits
// (full-width too). ERefused otherwise.
int32_t ReadSheetCount(const std::string& text);

// The count of problems of the form: in 大きなマス the count chosen for it,
// in 標準 that of the problem-count group (12 or 16).
int32_t ProblemsOfForm(const TWorksheetSettings& settings, int32_t largeCount);

// ---- sheets ------------------------------------------------------------------

// A sheet of a preview: whether it fell short of the problems asked (the
// shortfall warning is due), and whether it has the four problems a sheet
// needs to be shown and printed.
struct TPreview {
    TSheet Sheet;
    bool Short = false;
    bool Printable = false;
};

// The sheet a preview shows: numbered from the settings' number box
// (TextToInt), its problems drawn with RandomFromSeed(seed), with its seed.
// The same seed and settings make the same sheet in every front end and on
// the command line (--seed). Raises EConvertError for a text that is not a
// number, ELayoutDoesNotFit for 大きなマス that do not fit the paper named
// `paperName`.
TPreview MakePreview(const TWorksheetSettings& settings, uint64_t seed, const std::string& paperName);

// What the window's status line and the page's note say of a sheet shown:
// 「No.7（12問）乱数のもと 20261207」, 「診断プリント No.7（12問）…」.
std::string PreviewNote(const TSheet& sheet);

// The shown sheet as it goes out now: its problems, with the sentence, grid,
// marks and face of `now` and the number `number`.
TSheet SheetAsNow(const TSheet& shown, const TWorksheetSettings& now, int32_t number);

// A class set of `count` sheets (ReadSheetCount's limits; ERefused outside
// them) from the settings' number box on, drawn with RandomFromSeed(seed);
// every sheet keeps the seed. Raises as MakeClassSet does.
TClassSet MakeClassSetOf(const TWorksheetSettings& settings, int32_t count, int32_t firstNumber, uint64_t seed);

// What the teacher is told after a class set: the sheets that fell short,
// and the numbers that went past 2147483647; each a sentence, empty when
// there is nothing to tell.
std::vector<std::string> ClassSetNotes(const TClassSet& set);

// A set of `count` diagnostic sheets of `operation` from `firstNumber` on,
// drawn with RandomFromSeed(seed): within the digit boxes of `settings` when
// it is of that operation, else in the operation's own ranges; EShortfall
// when they give fewer than twelve problems. Every sheet keeps the seed.
TDiagnosticSet MakeDiagnosticOf(const TWorksheetSettings& settings, TOperation operation, int32_t count,
                                int32_t firstNumber, uint64_t seed);

// ---- a pupil's next sheet ----------------------------------------------------

// A pupil's follow-up sheet on the unit of `unit` (its operation, digits,
// pattern and answer range; its cells, or 10 mm for a sheet of 標準), for
// EveryAnswer's procedure `procedure` (FollowUpProblems), numbered `number`,
// with the pupil's 出席番号 `roll` and the reading marks. Its problems are
// drawn from `seed` and `place` (the pupil's place in the class), so the
// sheet's code makes it again. EConvertError for a digit text that is not a
// number.
TSheet MakeFollowUpOf(const TWorksheetSettings& unit, int32_t procedure, int32_t number, uint64_t seed, int32_t place,
                      int32_t roll);

// What a pupil wrote on a sheet: the sheet (its settings and problems),
// their 出席番号 (0: not known), and their answers, none for a blank; not
// decided while an answer is still to be asked.
struct TPupilWork {
    TSheet Sheet;
    int32_t Roll = 0;
    std::vector<std::optional<TWrittenAnswer>> Answers;
    bool Decided = true;
};

// Each pupil's next sheet, in the order given, numbered on from
// `firstNumber`, drawn from `seed`: the follow-up for the procedure their
// answers call for (ProcedureToFollowUp), or the diagnostic sheet of the
// operation again where they cannot say. In 大きなマス on `paperName`: twelve
// problems at the cell of the sheet they wrote (10 mm for 標準) or a smaller
// one down to 10 mm, else fewer (9, 8, 6) in cells down to 8 mm; a
// diagnostic sheet in cells down to 8 mm, else in 標準. ELayoutDoesNotFit
// when a follow-up fits nowhere, ERefused for more pupils than a class set
// has sheets.
std::vector<TSheet> MakeFollowUpsOf(const std::vector<TPupilWork>& pupils, int32_t firstNumber, uint64_t seed,
                                    const std::string& paperName);

// What the teacher is told of those next sheets beside their count: the
// pupils given the diagnostic sheet again; empty when there are none.
std::string FollowUpsNote(const std::vector<TSheet>& sheets);

// ---- a pupil's answers -------------------------------------------------------

struct TAnswersRead {
    std::vector<std::optional<TWrittenAnswer>> Answers;
    TDiagnosis Diagnosis;
    std::string Text;  // DiagnosisText
};

// A pupil's answers to `problems` as typed (`blank`, spaces trimmed, for
// none) read and diagnosed. ERefused, naming the problem (Which), for the
// first text that is not an answer of the operation.
TAnswersRead ReadPupilAnswers(TOperation operation, const std::vector<TSheetProblem>& problems,
                              const std::vector<std::string>& texts, const std::string& blank = "");

// ---- a sheet that comes back ---------------------------------------------

// The sheet a recipe makes: the set it names made again from its seed up to
// its place (a diagnostic set within the settings' digits or the
// operation's own, whichever gives its problems), with its number and
// 出席番号. ERefused when no sheet of the recipe has the problems it checks.
TSheet SheetOfRecipe(const TSheetRecipe& recipe);
