// Sheets as PDF documents, laid out for a paper exactly as for a printer of
// that paper.
#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/page_layout.h"
#include "sheets/class_set.h"

// The papers Japanese schools print on; B5 and B4 are the JIS sizes.
enum class TPaper { A4, B5, B4, A3 };

// Every paper, in menu order.
const std::vector<TPaper>& Papers();
// "A4", "B5", "B4", "A3".
std::string PaperName(TPaper paper);
// The paper of that name (as PaperName gives it), or none.
std::optional<TPaper> PaperNamed(std::string_view name);
// The whole sheet of that paper, portrait, without margins.
QPageLayout PaperLayout(TPaper paper);

// Dots per inch of the drawing on a PDF page.
constexpr int kPdfResolution = 1200;

// The sheet the problem table holds now as a PDF on `paper`: the problem
// sheet, followed by the answer sheet as page 2 when `withAnswers` is set.
QByteArray SheetPdf(TPaper paper, const TPageView& view, bool withAnswers);

// The pages of a class set, or of made sheets, in the order asked, as a PDF
// on `paper`. `goOn` is asked after each page; false stops and gives an
// empty result.
QByteArray MadeSheetsPdf(const std::vector<TMadeSheet>& sheets, TAnswerOrder order, TPaper paper,
                         const TPageView& view, const std::function<bool(int done)>& goOn = {});

// "かけ算 問題No.<number>": the title of a sheet's PDF.
QString SheetTitle(int32_t number);
