// Sheets as PDF documents, laid out for a paper exactly as for a printer of
// that paper.
#pragma once

#include <QByteArray>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sheets/paper.h"
#include "sheets/sheet_output.h"
#include "sheets/whole_file.h"

class TPdfPages;

// Dots per inch of the drawing on a PDF page.
constexpr int kPdfResolution = 1200;

// A PDF on `paper`, made in memory.
class TPdfOutput : public TSheetOutput {
public:
    explicit TPdfOutput(TPaper paper);
    ~TPdfOutput() override;

    TPageArea Begin(const std::string& title) override;
    TCanvas& NewPage() override;
    // Makes the document; Pdf() has it afterwards.
    void Finish() override;
    void Commit() override {}
    void Drop() override;
    std::string Destination() const override { return {}; }

    const QByteArray& Pdf() const { return pdf_; }

private:
    std::unique_ptr<TPdfPages> pages_;
    TPaper paper_;
    QByteArray pdf_;
};

// A PDF file on `paper`, written whole (TWholeFile): beside its place when it
// is finished, into its place when it is put out, together with the files
// attached to it (CommitTogether). Raises EFileError, and leaves the old
// files, for a file that could not be written; refuses at once a place that
// is no place for it (CheckFileToWrite, and CheckFilesApart for an attached
// file).
class TPdfFileOutput : public TPdfOutput {
public:
    TPdfFileOutput(const std::string& path, TPaper paper);
    void Finish() override;
    void Commit() override;
    void Drop() override;
    // The file's absolute path.
    std::string Destination() const override;
    void Attach(const std::string& path, const std::string& bytes) override;

private:
    struct TAttached {
        std::unique_ptr<TWholeFile> File;
        std::string Bytes;
    };
    std::string path_;
    TWholeFile file_;
    std::vector<TAttached> attached_;
};

// Refuses, before anything is made, a CSV that cannot go beside the PDF at
// `pdfPath`: CheckFileToWrite and CheckFilesApart.
void CheckCsvBeside(const std::string& pdfPath, const std::string& csvPath);

// The pages of `sheets` in the order asked, as a PDF on `paper`. `goOn` is
// asked after each page; false stops and raises EAbort.
QByteArray SheetsPdf(const std::vector<TSheet>& sheets, TAnswerOrder order, TPaper paper,
                     const std::function<bool(int done)>& goOn = {});
