#include "sheets/sheet_pdf.h"

#include <QPageSize>

#include "sheets/pdf_pages.h"

namespace {

struct TPaperEntry {
    TPaper Paper;
    const char* Name;
    QPageSize::PageSizeId Size;
};

const TPaperEntry kPapers[] = {
    {TPaper::A4, "A4", QPageSize::A4},
    {TPaper::B5, "B5", QPageSize::JisB5},
    {TPaper::B4, "B4", QPageSize::JisB4},
    {TPaper::A3, "A3", QPageSize::A3},
};

const TPaperEntry& EntryOf(TPaper paper)
{
    for (const TPaperEntry& entry : kPapers)
        if (entry.Paper == paper) return entry;
    return kPapers[0];
}

}  // namespace

const std::vector<TPaper>& Papers()
{
    static const std::vector<TPaper> papers = [] {
        std::vector<TPaper> all;
        for (const TPaperEntry& entry : kPapers) all.push_back(entry.Paper);
        return all;
    }();
    return papers;
}

std::string PaperName(TPaper paper)
{
    return EntryOf(paper).Name;
}

std::optional<TPaper> PaperNamed(std::string_view name)
{
    for (const TPaperEntry& entry : kPapers)
        if (name == entry.Name) return entry.Paper;
    return std::nullopt;
}

QPageLayout PaperLayout(TPaper paper)
{
    return QPageLayout(QPageSize(EntryOf(paper).Size), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

QByteArray SheetPdf(TPaper paper, const TPageView& view, bool withAnswers)
{
    return MadeSheetsPdf({CurrentSheet()}, withAnswers ? TAnswerOrder::After : TAnswerOrder::None, paper, view);
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
