#include "reader/class_results.h"

#include <algorithm>
#include <map>

#include "requests/requests.h"
#include "worksheet/operations.h"

namespace {

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string Field(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void Remark(TMarkedSheet& sheet)
{
    const TOperation operation = sheet.Sheet.Settings.Operation;
    sheet.Right.assign(sheet.Answers.size(), std::nullopt);
    sheet.RightCount = 0;
    bool asked = false;
    for (size_t k = 0; k < sheet.Answers.size(); ++k) {
        const TAnswerReading& a = sheet.Answers[k];
        if (a.Decided == TDecided::Asked) {
            asked = true;
            continue;
        }
        const TSheetProblem& p = sheet.Sheet.Problems[k];
        const bool right = a.Best && *a.Best == EveryAnswer(operation, p.First, p.Second)[0];
        sheet.Right[k] = right;
        sheet.RightCount += right ? 1 : 0;
    }
    sheet.Diagnosis.reset();
    if (sheet.Sheet.Diagnostic && !asked) {
        std::vector<std::optional<TWrittenAnswer>> answers;
        for (const TAnswerReading& a : sheet.Answers) answers.push_back(a.Best);
        sheet.Diagnosis = Diagnose(operation, sheet.Sheet.Problems, answers);
    }
}

std::string WrongProcedureOf(TOperation operation, const TSheetProblem& p, const TWrittenAnswer& answer)
{
    for (const std::string& id : ProceduresGiving(operation, p, answer))
        if (id != "correct") return id;
    return "";
}

}  // namespace

TMarkedSheet MarkSheet(const TReadPage& page, const std::string& source)
{
    TMarkedSheet sheet;
    sheet.Source = source;
    sheet.Roll = page.Roll;
    sheet.Sheet = page.Sheet;
    sheet.Answers = page.Answers;
    Remark(sheet);
    return sheet;
}

void TypeAnswer(TMarkedSheet& sheet, size_t problem, const std::optional<TWrittenAnswer>& answer)
{
    if (problem >= sheet.Answers.size()) return;
    sheet.Answers[problem].Best = answer;
    sheet.Answers[problem].Decided = TDecided::Typed;
    sheet.Answers[problem].Confidence = 1;
    Remark(sheet);
}

int32_t AskedCount(const std::vector<TMarkedSheet>& sheets)
{
    int32_t asked = 0;
    for (const TMarkedSheet& s : sheets)
        for (const TAnswerReading& a : s.Answers) asked += a.Decided == TDecided::Asked ? 1 : 0;
    return asked;
}

std::string ResultsCsv(const std::vector<TMarkedSheet>& sheets)
{
    std::string csv = "shusseki,sheet,problem,answer,correct,decided,procedure\n";
    for (const TMarkedSheet& s : sheets) {
        const TOperation operation = s.Sheet.Settings.Operation;
        for (size_t k = 0; k < s.Answers.size(); ++k) {
            const TAnswerReading& a = s.Answers[k];
            std::string answer = a.Best ? WrittenText(*a.Best) : "";
            if (a.Decided == TDecided::Asked) answer = "?" + answer;
            std::string procedure;
            if (s.Diagnosis) procedure = s.Diagnosis->Procedure;
            else if (s.Right[k] && !*s.Right[k] && a.Best) procedure = WrongProcedureOf(operation, s.Sheet.Problems[k], *a.Best);
            csv += (s.Roll ? std::to_string(*s.Roll) : "") + "," + std::to_string(s.Sheet.Number) + "," + std::to_string(k + 1) + "," +
                   Field(answer) + "," + (s.Right[k] ? (*s.Right[k] ? "1" : "0") : "") + "," + DecidedName(a.Decided) + "," +
                   Field(procedure) + "\n";
        }
    }
    return csv;
}

TClassTable ClassTableOf(const std::vector<TMarkedSheet>& sheets)
{
    TClassTable table;
    size_t problems = 0;
    for (const TMarkedSheet& s : sheets) problems = std::max(problems, s.Answers.size());
    table.Header = {"出席番号", "プリント"};
    for (size_t k = 1; k <= problems; ++k) table.Header.push_back(std::to_string(k));
    table.Header.push_back("正答数");
    table.Header.push_back("まちがい方");
    std::vector<const TMarkedSheet*> order;
    for (const TMarkedSheet& s : sheets) order.push_back(&s);
    std::stable_sort(order.begin(), order.end(), [](const TMarkedSheet* a, const TMarkedSheet* b) {
        return a->Roll.value_or(INT32_MAX) < b->Roll.value_or(INT32_MAX);
    });
    std::map<std::string, int32_t> counts;
    for (const TMarkedSheet* s : order) {
        std::vector<std::string> row = {s->Roll ? std::to_string(*s->Roll) : "?", "No." + std::to_string(s->Sheet.Number)};
        for (size_t k = 0; k < problems; ++k)
            row.push_back(k >= s->Right.size() ? "" : !s->Right[k] ? "?" : *s->Right[k] ? "○" : "×");
        row.push_back(std::to_string(s->RightCount) + "/" + std::to_string(s->Answers.size()));
        row.push_back(s->Diagnosis ? s->Diagnosis->Name : "");
        if (s->Diagnosis) ++counts[s->Diagnosis->Name];
        table.Rows.push_back(std::move(row));
    }
    for (const auto& [name, count] : counts) table.Procedures.push_back({name, count});
    return table;
}

std::string ReadingSummary(const std::vector<TMarkedSheet>& sheets, size_t pages)
{
    std::string text = std::to_string(sheets.size()) + "枚を読みました（" + std::to_string(pages) + "ページ中）。";
    if (const int32_t asked = AskedCount(sheets); asked > 0)
        text += "決めていない答えが " + std::to_string(asked) + " 個あります（?）。";
    return text;
}

std::string AskedLabel(const TMarkedSheet& sheet, size_t problem)
{
    std::string label = sheet.Roll ? "出席番号 " + std::to_string(*sheet.Roll) : std::string("出席番号なし");
    label += "（No." + std::to_string(sheet.Sheet.Number) + (sheet.Source.empty() ? "" : "、" + sheet.Source) + "）";
    if (problem < sheet.Sheet.Problems.size()) {
        const TSheetProblem& p = sheet.Sheet.Problems[problem];
        label += "　(" + std::to_string(problem + 1) + ") " + std::to_string(p.First) + " " +
                 RulesOf(sheet.Sheet.Settings.Operation).Sign + " " + std::to_string(p.Second);
    }
    return label;
}

void TypeAnswerText(TMarkedSheet& sheet, size_t problem, const std::string& text)
{
    if (problem >= sheet.Sheet.Problems.size()) return;
    const TAnswersRead typed = ReadPupilAnswers(sheet.Sheet.Settings.Operation, {sheet.Sheet.Problems[problem]}, {text});
    TypeAnswer(sheet, problem, typed.Answers.front());
}

std::string UnreadableScanMessage(const std::string& source, bool pdf)
{
    if (pdf) return source + ": PDF はここでは読めません。デスクトップ版で読むか、ページを写真（PNG、JPEG）にしてください。";
    return source + ": 画像として読めません（PNG か JPEG の写真にしてください）。";
}
