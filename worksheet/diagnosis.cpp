#include "worksheet/diagnosis.h"

#include <algorithm>
#include <iterator>

#include "worksheet/decimal.h"
#include "worksheet/operations.h"
#include "worksheet/text_fold.h"

TDiagnosis Diagnose(TOperation operation, const std::vector<TSheetProblem>& problems,
                    const std::vector<std::optional<TWrittenAnswer>>& answers)
{
    const size_t procedures = WrongProcedures(operation).size() + 1;
    std::vector<int32_t> explained(procedures, 0);
    // Which procedures give each given answer (problem k's row; empty for a blank).
    std::vector<std::vector<bool>> fits(problems.size());
    int32_t given = 0;
    for (size_t k = 0; k < problems.size() && k < answers.size(); ++k) {
        if (!answers[k]) continue;
        ++given;
        const std::vector<TWrittenAnswer> each = EveryAnswer(operation, problems[k]);
        for (size_t p = 0; p < procedures; ++p) {
            fits[k].push_back(each[p] == *answers[k]);
            explained[p] += fits[k].back();
        }
    }
    size_t best = 0;
    for (size_t p = 1; p < procedures; ++p)
        if (explained[p] > explained[best]) best = p;
    const bool tie = std::count(explained.begin(), explained.end(), explained[best]) > 1;
    TDiagnosis diagnosis;
    diagnosis.Given = given;
    auto notGivenBy = [&](size_t procedure) {
        for (size_t k = 0; k < fits.size(); ++k)
            if (!fits[k].empty() && !fits[k][procedure]) diagnosis.NotFitting.push_back(static_cast<int32_t>(k + 1));
    };
    // A procedure that is not in the catalogue, or answers too few to read,
    // fit less than half; and a pupil with more than one answer wrong is
    // never told 正しくできています. Undecided, the wrong answers are listed.
    if (given == 0 || tie || 2 * explained[best] < given || (best == 0 && given - explained[0] > 1)) {
        diagnosis.Procedure = "undecided";
        diagnosis.Name = "判定できません";
        diagnosis.Explained = explained[best];
        notGivenBy(0);
        return diagnosis;
    }
    diagnosis.Procedure = ProcedureId(operation, best);
    diagnosis.Name = best == 0 ? "正しくできています" : WrongProcedures(operation)[best - 1].Name;
    diagnosis.Explained = explained[best];
    notGivenBy(best);
    return diagnosis;
}

std::string ProcedureLetter(size_t index)
{
    static const char* const letters[] = {"ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ",
                                          "サ", "シ", "ス", "セ", "ソ", "タ", "チ", "ツ", "テ", "ト"};
    return index < std::size(letters) ? letters[index] : std::to_string(index + 1);
}

std::vector<TKeyEntry> DiagnosticKey(TOperation operation, const TSheetProblem& problem)
{
    const std::vector<TWrittenAnswer> every = EveryAnswer(operation, problem);
    std::vector<TKeyEntry> key;
    for (size_t k = 0; k + 1 < every.size(); ++k) {
        const std::optional<TWrittenAnswer> answer =
            every[k + 1] == kNoAnswer ? std::nullopt : std::optional<TWrittenAnswer>(every[k + 1]);
        if (!answer || *answer == every[0]) continue;
        auto same = std::find_if(key.begin(), key.end(), [&](const TKeyEntry& e) { return e.Answer == *answer; });
        if (same == key.end()) key.push_back({ProcedureLetter(k), *answer});
        else same->Letters += "・" + ProcedureLetter(k);  // letters apart: 「エ・ケ・シ」
    }
    return key;
}

std::optional<TWrittenAnswer> ParseWrittenAnswer(const std::string& text)
{
    std::string t = FoldForMatching(text);
    for (const std::string& mark : {std::string("あまり"), std::string("余り"), std::string("...")}) {
        for (size_t at; (at = t.find(mark)) != std::string::npos;) t.replace(at, mark.size(), "r");
    }
    t.erase(std::remove(t.begin(), t.end(), ' '), t.end());
    for (char& c : t) c = c == 'R' ? 'r' : c;
    // A whole number of up to twelve digits, or a decimal ("0.75").
    auto number = [](const std::string& digits) -> std::optional<TDecimalValue> {
        if (digits.find('.') != std::string::npos) {
            TDecimalValue value;
            if (!ReadDecimal(digits, value)) return std::nullopt;
            return value;
        }
        if (digits.empty() || digits.size() > 12 || digits.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        return TDecimalValue{std::stoll(digits), 0};
    };
    const size_t r = t.find('r');
    const std::optional<TDecimalValue> value = number(t.substr(0, r));
    if (!value) return std::nullopt;
    if (r == std::string::npos) return TWrittenAnswer{value->Units, 0, value->Places};
    const std::optional<TDecimalValue> remainder = number(t.substr(r + 1));
    if (!remainder) return std::nullopt;
    return TWrittenAnswer{value->Units, remainder->Units, value->Places, remainder->Places};
}

std::vector<std::string> ProceduresGiving(TOperation operation, const TSheetProblem& problem, const TWrittenAnswer& answer)
{
    std::vector<std::string> ids;
    const std::vector<TWrittenAnswer> each = EveryAnswer(operation, problem);
    for (size_t p = 0; p < each.size(); ++p)
        if (each[p] == answer) ids.push_back(ProcedureId(operation, p));
    return ids;
}

std::string DiagnosisText(TOperation operation, const std::vector<TSheetProblem>& problems, const TDiagnosis& diagnosis)
{
    const int32_t given = diagnosis.Given;
    auto listed = [&](const char* caption) {
        std::string list;
        for (const int32_t number : diagnosis.NotFitting) {
            const size_t at = static_cast<size_t>(number - 1);
            if (at >= problems.size()) continue;
            list += (list.empty() ? "\n" + std::string(caption) : std::string("、")) + std::to_string(at + 1) + "問目（" +
                    FirstText(problems[at]) + RulesOf(operation).Sign + SecondText(problems[at]) + "）";
        }
        return list;
    };
    std::string text;
    if (diagnosis.Procedure == "undecided") {
        text = "判定できません。";
        text += given == 0 ? "答えが入っていません。"
                           : "答えた" + std::to_string(given) + "問に、同じくらい合うまちがい方が2つ以上あるか、" +
                                 "どのまちがい方にも合わない答えが多すぎます。";
        return text + listed("正しくない答え：");
    }
    text = diagnosis.Procedure == "correct" ? "正しくできています。" : "まちがい方：" + diagnosis.Name + "。";
    text += "\n答えた" + std::to_string(given) + "問のうち" + std::to_string(diagnosis.Explained) + "問の答えが、" +
            (diagnosis.Procedure == "correct" ? std::string("正しい答えです。") : std::string("このまちがい方の答えです。"));
    if (!diagnosis.NotFitting.empty()) text += listed("合わない答え：") + "（うっかりまちがいかもしれません）";
    return text;
}

TTypedAnswers ReadTypedAnswers(TOperation operation, const std::vector<std::string>& texts, const std::string& blank)
{
    TTypedAnswers read;
    for (size_t k = 0; k < texts.size(); ++k) {
        const std::string folded = FoldForMatching(texts[k]);
        const size_t first = folded.find_first_not_of(" \t"), last = folded.find_last_not_of(" \t");
        if ((first == std::string::npos ? std::string() : folded.substr(first, last - first + 1)) == blank) {
            read.Answers.emplace_back();
            continue;
        }
        const std::optional<TWrittenAnswer> answer = ParseWrittenAnswer(texts[k]);
        if (!answer) read.Why = "は答えとして読めません";
        else if (answer->Remainder != 0 && !RulesOf(operation).HasRemainder)
            read.Why = std::string("にあまりがありますが、") + RulesOf(operation).Name + "にあまりはありません";
        if (!read.Why.empty()) {
            read.Refused = static_cast<int32_t>(k + 1);
            return read;
        }
        read.Answers.push_back(answer);
    }
    return read;
}
