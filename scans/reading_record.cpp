#include "scans/reading_record.h"

#include "worksheet/operations.h"

std::vector<THistoryReading> HistoryReadingsOf(const std::vector<TMarkedSheet>& sheets)
{
    std::vector<THistoryReading> readings;
    for (const TMarkedSheet& s : sheets) {
        THistoryReading r;
        r.Operation = RulesOf(s.Sheet.Settings.Operation).Key;
        r.Number = s.Sheet.Number;
        r.Seed = s.Sheet.Seed;
        r.Diagnostic = s.Sheet.Diagnostic;
        r.Roll = s.Roll;
        r.Source = s.Source;
        if (s.Diagnosis) r.Procedure = s.Diagnosis->Procedure;
        for (size_t k = 0; k < s.Answers.size(); ++k) {
            THistoryReading::TAnswer a;
            if (const std::optional<TWrittenAnswer>& best = s.Answers[k].Best) {
                a.Answer = best->Value, a.Remainder = best->Remainder;
                a.Places = best->Places, a.RemainderPlaces = best->RemainderPlaces;
            }
            a.Decided = DecidedName(s.Answers[k].Decided);
            if (k < s.Right.size()) a.Correct = s.Right[k];
            r.Answers.push_back(a);
        }
        readings.push_back(std::move(r));
    }
    return readings;
}

std::string RecordReadings(THistory& history, const std::vector<TMarkedSheet>& sheets, const std::function<void()>& alongside)
{
    std::vector<THistoryReading> readings = HistoryReadingsOf(sheets);
    try {
        history.RecordReadings(readings, alongside);
        return {};
    } catch (const EHistoryUnavailable& e) {
        return "読み取りの結果を履歴に記録できませんでした（" + e.Reason() + "）";
    }
}
