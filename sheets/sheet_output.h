// The one way out for sheets: their pages drawn in the order asked onto an
// output (a PDF, a print job) that puts them out whole or not at all.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "render/canvas.h"
#include "worksheet/sheet.h"

// Where the answer sheets go: none, all after all the problem sheets, or
// each right after its problem sheet.
enum class TAnswerOrder { None, After, Each };

// "none", "after", "each", as the command line and the messages name them.
bool AnswerOrderNamed(const std::string& name, TAnswerOrder& order);

// The pages of `sheets` sheets in the order asked: the index of the sheet,
// and whether the page is its answer sheet.
std::vector<std::pair<size_t, bool>> PageOrder(size_t sheets, TAnswerOrder order);

struct TPageArea {
    int32_t Width, Height;  // device units
    // Device units per millimetre, the margin still to keep inside the area
    // (0 where the area is inside the sheet's margins already), and the
    // paper's name: what 大きなマス needs (0 units: the area taken as the
    // inside of an A4 sheet's margins).
    double DotsPerMm = 0;
    double MarginMm = 0;
    std::string PaperName = "A4";
};

// A document of pages on its way out.
class TSheetOutput {
public:
    virtual ~TSheetOutput() = default;
    // Begins the document with its title and gives the drawing area of
    // every page. May raise (a printer that is not there).
    virtual TPageArea Begin(const std::string& title) = 0;
    // Starts the next page (the first one opens the document) and returns
    // its surface, owned by the output until the next page or the end.
    virtual TCanvas& NewPage() = 0;
    // Makes the finished document ready to go out: a file is written whole
    // beside its place. Raises, saying why, when it cannot be.
    virtual void Finish() = 0;
    // Puts it out: the file into its place, the job handed over and
    // accepted. Raises, saying why, when it did not go out; nothing of it is
    // left then.
    virtual void Commit() = 0;
    // Drops a document begun: nothing of it comes out.
    virtual void Drop() = 0;
    // Where the document goes, for the user: a printer's name or a file's path.
    virtual std::string Destination() const = 0;
    // A file at `path` that goes out with the document (the CSV of its
    // answers): both are put in place, or neither. Raises, naming the file,
    // for a place that is no place for it. Only an output to a file carries
    // one; the others raise std::logic_error.
    virtual void Attach(const std::string& path, const std::string& bytes);
};

// The title of the document of sheets that begins with `sheet`:
// "かけ算 問題No.12".
std::string DocumentTitle(const TSheet& sheet);

// Draws the pages of `sheets` in `order` onto `output`, each sheet with the
// sentence and grid of its settings, titled DocumentTitle of the first, and
// makes it ready (Finish); `beforeCommit` runs then, before the document is
// put out (Commit). `goOn` is asked after each page with the pages done;
// false drops the document and raises EAbort. Whatever raises drops the
// document, and is raised again.
void PutOut(const std::vector<TSheet>& sheets, TAnswerOrder order, TSheetOutput& output,
            const std::function<bool(int done)>& goOn = {}, const std::function<void()>& beforeCommit = {});

// One page of `sheet`, its problem sheet or its answer sheet, as a document
// of its own; as PutOut.
void PutOutPage(const TSheet& sheet, bool answers, TSheetOutput& output, const std::function<void()>& beforeCommit = {});
