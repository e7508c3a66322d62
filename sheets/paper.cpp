#include "sheets/paper.h"

#include <QPageSize>

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
    return QPageLayout(QPageSize(EntryOf(paper).Size), QPageLayout::Portrait,
                       QMarginsF(kPdfMargin, kPdfMargin, kPdfMargin, kPdfMargin), QPageLayout::Millimeter);
}
