#include "reader/class_results.h"

#include <algorithm>
#include <map>

#include "errors/errors.h"
#include "requests/requests.h"
#include "worksheet/decimal.h"
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
        if (a.Decided == TDecided::Shown) continue;
        if (a.Decided == TDecided::Asked) {
            asked = true;
            continue;
        }
        const TSheetProblem& p = sheet.Sheet.Problems[k];
        const bool right = a.Best && *a.Best == EveryAnswer(operation, p)[0];
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

// The sheets by class set (in the order the sets first come), then by
// 出席番号 (those without after).
std::vector<const TMarkedSheet*> InTableOrder(const std::vector<TMarkedSheet>& sheets)
{
    std::vector<std::pair<int32_t, uint64_t>> sets;
    for (const TMarkedSheet& s : sheets)
        if (std::find(sets.begin(), sets.end(), ClassSetOf(s)) == sets.end()) sets.push_back(ClassSetOf(s));
    auto setIndex = [&](const TMarkedSheet* s) { return std::find(sets.begin(), sets.end(), ClassSetOf(*s)) - sets.begin(); };
    std::vector<const TMarkedSheet*> order;
    for (const TMarkedSheet& s : sheets) order.push_back(&s);
    std::stable_sort(order.begin(), order.end(), [&](const TMarkedSheet* a, const TMarkedSheet* b) {
        return std::pair(setIndex(a), a->Roll.value_or(INT32_MAX)) < std::pair(setIndex(b), b->Roll.value_or(INT32_MAX));
    });
    return order;
}

std::string WrongProcedureOf(TOperation operation, const TSheetProblem& p, const TWrittenAnswer& answer)
{
    for (const std::string& id : ProceduresGiving(operation, p, answer))
        if (id != "correct") return id;
    return "";
}

}  // namespace

std::pair<int32_t, uint64_t> ClassSetOf(const TMarkedSheet& sheet)
{
    return {static_cast<int32_t>(sheet.Sheet.Settings.Operation), sheet.Sheet.Seed.value_or(0)};
}

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
    if (problem >= sheet.Answers.size() || sheet.Answers[problem].Decided == TDecided::Shown) return;
    sheet.Answers[problem].Best = answer;
    sheet.Answers[problem].Decided = TDecided::Typed;
    sheet.Answers[problem].Confidence = 1;
    Remark(sheet);
}

bool IsSamePupilsSheet(const TMarkedSheet& a, const TMarkedSheet& b)
{
    return a.Roll && b.Roll && *a.Roll == *b.Roll && a.Sheet.Settings.Operation == b.Sheet.Settings.Operation &&
           a.Sheet.Seed == b.Sheet.Seed && a.Sheet.Number == b.Sheet.Number && a.Sheet.Diagnostic == b.Sheet.Diagnostic;
}

TKeptOnce KeepOnce(std::vector<TMarkedSheet>& sheets, TMarkedSheet sheet)
{
    TKeptOnce kept;
    const auto earlier = std::find_if(sheets.begin(), sheets.end(), [&](const TMarkedSheet& s) { return IsSamePupilsSheet(s, sheet); });
    if (earlier == sheets.end()) {
        kept.At = sheets.size();
        sheets.push_back(std::move(sheet));
        return kept;
    }
    kept.At = static_cast<size_t>(earlier - sheets.begin());
    std::string keptSource = earlier->Source, otherSource = sheet.Source;
    if (AskedCount({sheet}) < AskedCount({*earlier})) {
        std::swap(keptSource, otherSource);
        *earlier = std::move(sheet);
        kept.Replaced = true;
    }
    kept.Note = otherSource + ": " + keptSource + " と同じプリント（出席番号 " + std::to_string(*earlier->Roll) + "）なので、一度だけ数えました";
    return kept;
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
    std::string csv = "shusseki,sheet,problem,answer,correct,decided,procedure,operation,seed\n";
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
                   Field(procedure) + "," + RulesOf(operation).Key + "," + (s.Sheet.Seed ? std::to_string(*s.Sheet.Seed) : "") + "\n";
        }
    }
    return csv;
}

std::string ProcedureNameOf(const TMarkedSheet& sheet)
{
    return sheet.Diagnosis ? sheet.Diagnosis->Name : "";
}

std::string PupilsCsv(const std::vector<TMarkedSheet>& sheets)
{
    std::string csv = "shusseki,sheet,operation,right,wrong,asked,procedure\n";
    for (const TMarkedSheet* s : InTableOrder(sheets)) {
        int32_t wrong = 0, asked = 0;
        for (size_t k = 0; k < s->Right.size(); ++k) {
            if (s->Answers[k].Decided == TDecided::Shown) continue;
            const std::optional<bool>& right = s->Right[k];
            (right ? wrong : asked) += right && *right ? 0 : 1;
        }
        csv += (s->Roll ? std::to_string(*s->Roll) : "") + "," + std::to_string(s->Sheet.Number) + "," +
               RulesOf(s->Sheet.Settings.Operation).Key + "," + std::to_string(s->RightCount) + "," + std::to_string(wrong) + "," +
               std::to_string(asked) + "," + Field(ProcedureNameOf(*s)) + "\n";
    }
    return csv;
}

std::vector<std::string> TypeAnswersFromCsv(std::vector<TMarkedSheet>& sheets, const std::string& csv, const std::string& name)
{
    std::vector<std::string> problems;
    size_t lineNumber = 0, start = 0;
    while (start < csv.size()) {
        size_t end = csv.find('\n', start);
        if (end == std::string::npos) end = csv.size();
        std::string line = csv.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (line.empty() || (lineNumber == 1 && line.rfind("shusseki", 0) == 0)) continue;
        const std::string where = name + " " + std::to_string(lineNumber) + "行目: ";
        std::vector<std::string> fields;
        size_t from = 0;
        for (int i = 0; i < 3; ++i) {
            const size_t comma = line.find(',', from);
            if (comma == std::string::npos) break;
            fields.push_back(line.substr(from, comma - from));
            from = comma + 1;
        }
        if (fields.size() != 3) {
            problems.push_back(where + "「出席番号,プリント番号,問題,答え」の形ではありません");
            continue;
        }
        fields.push_back(line.substr(from));
        int32_t numbers[3] = {};
        bool ok = true;
        for (int i = 0; i < 3; ++i) {
            const std::string& f = fields[static_cast<size_t>(i)];
            ok = ok && !f.empty() && f.size() <= 6 && std::all_of(f.begin(), f.end(), [](char c) { return c >= '0' && c <= '9'; });
            if (ok) numbers[i] = std::stoi(f);
        }
        if (!ok || numbers[2] < 1) {
            problems.push_back(where + "出席番号、プリント番号、問題の番号は数字で書いてください");
            continue;
        }
        std::vector<TMarkedSheet*> found;
        for (TMarkedSheet& s : sheets)
            if (s.Roll == numbers[0] && s.Sheet.Number == numbers[1]) found.push_back(&s);
        if (found.size() != 1) {
            problems.push_back(where + "出席番号 " + fields[0] + " の No." + fields[1] +
                               (found.empty() ? " は読んだページにありません" : " が読んだページに 2 枚以上あります"));
            continue;
        }
        if (static_cast<size_t>(numbers[2]) > found[0]->Answers.size()) {
            problems.push_back(where + "No." + fields[1] + " に (" + fields[2] + ") の問題はありません");
            continue;
        }
        try {
            TypeAnswerText(*found[0], static_cast<size_t>(numbers[2] - 1), fields[3]);
        } catch (const ERefused& e) {
            problems.push_back(where + e.what());
        }
    }
    return problems;
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
    const std::vector<const TMarkedSheet*> order = InTableOrder(sheets);
    const bool severalSets = std::any_of(order.begin(), order.end(), [&](const TMarkedSheet* s) { return ClassSetOf(*s) != ClassSetOf(*order.front()); });
    std::map<std::string, int32_t> counts;
    for (const TMarkedSheet* s : order) {
        const std::string number = "No." + std::to_string(s->Sheet.Number);
        std::vector<std::string> row = {s->Roll ? std::to_string(*s->Roll) : "?",
                                        severalSets ? std::string(RulesOf(s->Sheet.Settings.Operation).Name) + " " + number : number};
        size_t answered = 0;
        for (size_t k = 0; k < problems; ++k) {
            const bool shown = k < s->Answers.size() && s->Answers[k].Decided == TDecided::Shown;
            answered += k < s->Answers.size() && !shown ? 1 : 0;
            row.push_back(k >= s->Right.size() ? "" : shown ? "－" : !s->Right[k] ? "?" : *s->Right[k] ? "○" : "×");
        }
        row.push_back(std::to_string(s->RightCount) + "/" + std::to_string(answered));
        row.push_back(ProcedureNameOf(*s));
        if (s->Diagnosis) ++counts[s->Diagnosis->Name];
        table.Rows.push_back(std::move(row));
    }
    for (const auto& [name, count] : counts) table.Procedures.push_back({name, count});
    return table;
}

std::string ClassSetName(TOperation operation, int32_t lowest, int32_t highest)
{
    std::string name = std::string(RulesOf(operation).Name) + " No." + std::to_string(lowest);
    if (highest != lowest) name += "〜" + std::to_string(highest);
    return name;
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
        label += "　(" + std::to_string(problem + 1) + ") " + FirstText(p) + " " + RulesOf(sheet.Sheet.Settings.Operation).Sign +
                 " " + SecondText(p);
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

std::vector<TPupilWork> PupilWorkOf(const std::vector<TMarkedSheet>& sheets)
{
    std::vector<TPupilWork> pupils;
    for (const TMarkedSheet* s : InTableOrder(sheets)) {
        TPupilWork pupil;
        pupil.Sheet = s->Sheet;
        pupil.Sheet.Problems.clear();
        pupil.Roll = s->Roll.value_or(0);
        for (size_t k = 0; k < s->Answers.size() && k < s->Sheet.Problems.size(); ++k) {
            if (s->Answers[k].Decided == TDecided::Shown) continue;
            pupil.Sheet.Problems.push_back(s->Sheet.Problems[k]);
            pupil.Answers.push_back(s->Answers[k].Best);
            pupil.Decided = pupil.Decided && s->Answers[k].Decided != TDecided::Asked;
        }
        pupils.push_back(std::move(pupil));
    }
    return pupils;
}

int32_t NextSheetNumber(const std::vector<TMarkedSheet>& sheets)
{
    int32_t highest = 0;
    for (const TMarkedSheet& s : sheets) highest = std::max(highest, s.Sheet.Number);
    return static_cast<int32_t>(static_cast<uint32_t>(highest) + 1u);
}
