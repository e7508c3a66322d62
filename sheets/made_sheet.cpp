#include "sheets/made_sheet.h"

#include "sheets/settings_file.h"
#include "worksheet/settings_summary.h"

TMadeSheet CurrentSheet()
{
    TMadeSheet sheet;
    sheet.Number = PrintNumber;
    for (int k = 1; k <= QuestionCount && k <= TProblemTable::Capacity; ++k) sheet.Problems.push_back(ProblemTable[k]);
    return sheet;
}

TSheetOnTable::TSheetOnTable(const TMadeSheet& sheet)
    : table_(ProblemTable), count_(QuestionCount), number_(PrintNumber)
{
    ProblemTable.Clear();
    const int count = std::min<int>(static_cast<int>(sheet.Problems.size()), TProblemTable::Capacity);
    for (int k = 1; k <= count; ++k) ProblemTable[k] = sheet.Problems[static_cast<size_t>(k - 1)];
    QuestionCount = count;
    PrintNumber = sheet.Number;
}

TSheetOnTable::~TSheetOnTable()
{
    ProblemTable = table_;
    QuestionCount = count_;
    PrintNumber = number_;
}

void DrawMadeSheet(TCanvas& canvas, int32_t W, int32_t H, const TMadeSheet& sheet, const TPageView& view, bool answers)
{
    const TSheetOnTable onTable(sheet);
    const TAnswersShown shown(answers);
    MakePrint(canvas, W, H, view);
}

THistorySheet HistorySheetOf(const TMadeSheet& sheet, const TWorksheetSettings& settings, bool withAnswers,
                             const std::string& destination)
{
    THistorySheet recorded;
    recorded.Number = sheet.Number;
    TWorksheetSettings asMade = settings;
    asMade.PrnNum = std::to_string(sheet.Number);
    recorded.Settings = SettingsFileText(asMade).toStdString();
    recorded.Summary = SettingsSummary(settings, static_cast<int>(sheet.Problems.size()));
    for (const TProblem& p : sheet.Problems) recorded.Problems.push_back({p.Multiplicand, p.Multiplier});
    recorded.WithAnswers = withAnswers;
    recorded.Destination = destination;
    return recorded;
}

TMadeSheet MadeSheetOf(const THistorySheet& recorded)
{
    TMadeSheet sheet;
    sheet.Number = recorded.Number;
    for (const auto& p : recorded.Problems)
        sheet.Problems.push_back({p.Multiplicand, p.Multiplier, std::to_string(p.Multiplicand), std::to_string(p.Multiplier)});
    return sheet;
}

TPageView PageViewOf(const TWorksheetSettings& settings)
{
    TPageView view;
    view.Sentence = settings.QstSentence;
    view.Waku = settings.Waku;
    return view;
}
