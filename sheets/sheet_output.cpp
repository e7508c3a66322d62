#include "sheets/sheet_output.h"

#include <stdexcept>

#include "errors/errors.h"
#include "render/page_layout.h"
#include "worksheet/operations.h"

bool AnswerOrderNamed(const std::string& name, TAnswerOrder& order)
{
    const std::pair<const char*, TAnswerOrder> names[] = {
        {"none", TAnswerOrder::None}, {"after", TAnswerOrder::After}, {"each", TAnswerOrder::Each}};
    for (const auto& [text, value] : names)
        if (name == text) {
            order = value;
            return true;
        }
    return false;
}

std::vector<std::pair<size_t, bool>> PageOrder(size_t sheets, TAnswerOrder order)
{
    std::vector<std::pair<size_t, bool>> pages;
    for (size_t i = 0; i < sheets; ++i) {
        pages.emplace_back(i, false);
        if (order == TAnswerOrder::Each) pages.emplace_back(i, true);
    }
    if (order == TAnswerOrder::After)
        for (size_t i = 0; i < sheets; ++i) pages.emplace_back(i, true);
    return pages;
}

void TSheetOutput::Attach(const std::string&, const std::string&)
{
    throw std::logic_error("this output carries no files");
}

std::string DocumentTitle(const TSheet& sheet)
{
    return std::string(RulesOf(sheet.Settings.Operation).Name) + " 問題No." + std::to_string(sheet.Number);
}

namespace {

using TPages = std::vector<std::pair<size_t, bool>>;

void PutOutPages(const std::vector<TSheet>& sheets, const TPages& pages, TSheetOutput& output,
                 const std::function<bool(int done)>& goOn, const std::function<void()>& beforeCommit)
{
    const TPageArea area = output.Begin(sheets.empty() ? std::string() : DocumentTitle(sheets.front()));
    try {
        int done = 0;
        for (const auto& [index, answers] : pages) {
            const TSheet& sheet = sheets[index];
            TPageView view = PageViewOf(sheet.Settings);
            view.DotsPerMm = area.DotsPerMm;
            view.MarginMm = area.MarginMm;
            view.PaperName = area.PaperName;
            DrawSheetPage(output.NewPage(), area.Width, area.Height, view, sheet, answers);
            if (goOn && !goOn(++done)) throw EAbort();
        }
        output.Finish();
        if (beforeCommit) beforeCommit();
        output.Commit();
    } catch (...) {
        output.Drop();
        throw;
    }
}

}  // namespace

void PutOut(const std::vector<TSheet>& sheets, TAnswerOrder order, TSheetOutput& output,
            const std::function<bool(int done)>& goOn, const std::function<void()>& beforeCommit)
{
    PutOutPages(sheets, PageOrder(sheets.size(), order), output, goOn, beforeCommit);
}

void PutOutPage(const TSheet& sheet, bool answers, TSheetOutput& output, const std::function<void()>& beforeCommit)
{
    PutOutPages({sheet}, {{0, answers}}, output, {}, beforeCommit);
}
