#include "sheets/sheet_pdf.h"

#include "sheets/pdf_pages.h"
#include "sheets/whole_file.h"

TPdfOutput::TPdfOutput(TPaper paper)
    : pages_(std::make_unique<TPdfPages>(PaperLayout(paper), kPdfResolution)), paper_(paper)
{
}

TPdfOutput::~TPdfOutput() = default;

TPageArea TPdfOutput::Begin(const std::string& title)
{
    pages_->SetTitle(QString::fromStdString(title));
    // Laid out inside the sheet's margins already.
    return {pages_->Width(), pages_->Height(), kPdfResolution / 25.4, 0, PaperName(paper_)};
}

TCanvas& TPdfOutput::NewPage()
{
    return pages_->NewPage();
}

void TPdfOutput::Finish()
{
    pdf_ = pages_->ToPdf();
}

void TPdfOutput::Drop()
{
    pdf_.clear();
}

TPdfFileOutput::TPdfFileOutput(const std::string& path, TPaper paper) : TPdfOutput(paper), path_(path), file_(path)
{
    CheckFileToWrite(path);
}

void TPdfFileOutput::Finish()
{
    TPdfOutput::Finish();
    file_.Prepare(std::string_view(Pdf().constData(), static_cast<size_t>(Pdf().size())));
    for (TAttached& attached : attached_) attached.File->Prepare(attached.Bytes);
}

void TPdfFileOutput::Commit()
{
    std::vector<TWholeFile*> files{&file_};
    for (TAttached& attached : attached_) files.push_back(attached.File.get());
    CommitTogether(files);
}

void TPdfFileOutput::Drop()
{
    TPdfOutput::Drop();
    file_.Discard();
    for (TAttached& attached : attached_) attached.File->Discard();
}

void TPdfFileOutput::Attach(const std::string& path, const std::string& bytes)
{
    CheckCsvBeside(path_, path);
    attached_.push_back({std::make_unique<TWholeFile>(path), bytes});
}

void CheckCsvBeside(const std::string& pdfPath, const std::string& csvPath)
{
    CheckFileToWrite(csvPath);
    CheckFilesApart(pdfPath, csvPath);
}

std::string TPdfFileOutput::Destination() const
{
    return AbsolutePath(path_);
}

QByteArray SheetsPdf(const std::vector<TSheet>& sheets, TAnswerOrder order, TPaper paper,
                     const std::function<bool(int done)>& goOn)
{
    TPdfOutput output(paper);
    PutOut(sheets, order, output, goOn);
    return output.Pdf();
}
