#include "sheets/sheet_pdf.h"

#include <QPageSize>

#include "sheets/pdf_pages.h"
#include "worksheet/problems.h"

namespace {

struct TPaperSpec {
    TPaper Paper;
    const char* Name;
    QPageSize::PageSizeId Size;
};

const TPaperSpec kPapers[] = {
    {TPaper::A4, "A4", QPageSize::A4},
    {TPaper::B5, "B5", QPageSize::JisB5},
    {TPaper::B4, "B4", QPageSize::JisB4},
    {TPaper::A3, "A3", QPageSize::A3},
};

const TPaperSpec& SpecOf(TPaper paper)
{
    for (const TPaperSpec& spec : kPapers)
        if (spec.Paper == paper) return spec;
    return kPapers[0];
}

}  // namespace

const std::vector<TPaper>& Papers()
{
    static const std::vector<TPaper> papers = {TPaper::A4, TPaper::B5, TPaper::B4, TPaper::A3};
    return papers;
}

std::string PaperName(TPaper paper)
{
    return SpecOf(paper).Name;
}

std::optional<TPaper> PaperNamed(std::string_view name)
{
    for (const TPaperSpec& spec : kPapers)
        if (name == spec.Name) return spec.Paper;
    return std::nullopt;
}

QPageLayout PaperLayout(TPaper paper)
{
    return QPageLayout(QPageSize(SpecOf(paper).Size), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

void AddSheetPage(TPdfPages& pages, const TPageView& view, bool answers)
{
    const int32_t keptAnswers = ShowAnswers;
    ShowAnswers = answers ? 1 : 0;
    try {
        MakePrint(pages.NewPage(), pages.Width(), pages.Height(), view);
    } catch (...) {
        ShowAnswers = keptAnswers;
        throw;
    }
    ShowAnswers = keptAnswers;
}

QByteArray SheetPdf(TPaper paper, const TPageView& view, bool withAnswers)
{
    TPdfPages pages(PaperLayout(paper), kPdfResolution);
    AddSheetPage(pages, view, false);
    if (withAnswers) AddSheetPage(pages, view, true);
    return pages.ToPdf(SheetTitle(PrintNumber));
}

QByteArray MadeSheetsPdf(const std::vector<TMadeSheet>& sheets, TAnswerOrder order, TPaper paper,
                         const TPageView& view, const std::function<bool(int)>& goOn)
{
    TPdfPages pages(PaperLayout(paper), kPdfResolution);
    int done = 0;
    for (const auto& [index, answers] : PageOrder(sheets.size(), order)) {
        DrawMadeSheet(pages.NewPage(), pages.Width(), pages.Height(), sheets[index], view, answers);
        if (goOn && !goOn(++done)) return {};
    }
    return pages.ToPdf(sheets.empty() ? QString() : SheetTitle(sheets.front().Number));
}

QString SheetTitle(int32_t number)
{
    return QStringLiteral("かけ算 問題No.%1").arg(number);
}
