#include "render/diagnostic_key.h"

#include <algorithm>

#include "worksheet/diagnosis.h"
#include "worksheet/wrong_procedures.h"

std::vector<std::string> KeyLines(TCanvas& canvas, TOperation operation, const TSheetProblem& problem, int32_t width)
{
    std::vector<std::string> lines{"正答 " + WrittenText(WrittenAnswerOf(problem))};
    std::string line;
    for (const TKeyEntry& entry : DiagnosticKey(operation, problem)) {
        const std::string item = entry.Letters + " " + WrittenText(entry.Answer);
        const std::string longer = line.empty() ? item : line + "\u3000" + item;
        if (!line.empty() && canvas.TextWidth(longer) > width) {
            lines.push_back(line);
            line = item;
        } else {
            line = longer;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string KeyTexts(TOperation operation)
{
    std::string texts = std::string("正答 （診断）・") + kLegendTitle;
    for (const std::string& line : LegendLines(operation)) texts += line;
    return texts;
}

std::vector<std::string> LegendLines(TOperation operation)
{
    std::vector<std::string> lines;
    const auto& catalogue = WrongProcedures(operation);
    for (size_t k = 0; k < catalogue.size(); ++k) lines.push_back(ProcedureLetter(k) + "\u3000" + catalogue[k].Name);
    return lines;
}

int32_t LegendRows(TCanvas& canvas, TOperation operation, int32_t width)
{
    const std::vector<std::string> lines = LegendLines(operation);
    int32_t widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, canvas.TextWidth(line));
    const size_t columns = widest <= width ? 2 : 1;
    return static_cast<int32_t>((lines.size() + columns - 1) / columns);
}

void DrawLegend(TCanvas& canvas, TOperation operation, int32_t x, int32_t y, int32_t width, int32_t pitch)
{
    const std::vector<std::string> lines = LegendLines(operation);
    const size_t rows = static_cast<size_t>(std::max(LegendRows(canvas, operation, width), 1));
    for (size_t k = 0; k < lines.size(); ++k)
        canvas.TextOut(x + static_cast<int32_t>(k / rows) * width, y + static_cast<int32_t>(k % rows) * pitch, lines[k]);
}
