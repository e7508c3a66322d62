// The papers Japanese schools print on, for PDFs.
#pragma once

#include <QPageLayout>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// B5 and B4 are the JIS sizes.
enum class TPaper { A4, B5, B4, A3 };

// Every paper, in menu order.
const std::vector<TPaper>& Papers();
// "A4", "B5", "B4", "A3".
std::string PaperName(TPaper paper);
// The paper of that name (as PaperName gives it), or none.
std::optional<TPaper> PaperNamed(std::string_view name);
// The margin of a PDF's page on every side, in millimetres: the page is laid
// out inside it, as a printer's printable area places it, so that a PDF
// prints at 100 % without losing an edge.
constexpr double kPdfMargin = 10;

// That paper, portrait, with the margin of kPdfMargin on every side.
QPageLayout PaperLayout(TPaper paper);
