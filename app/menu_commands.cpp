// The commands of the menu bar that the buttons do not have: PDF, print
// preview, settings files, presets and help.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>

#include "app/application.h"
#include "app/file_names.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/help_texts.h"
#include "app/history_log.h"
#include "app/history_window.h"
#include "app/printer.h"
#include "app/spoken_names.h"
#include "errors/errors.h"
#include "sheets/file_names.h"
#include "sheets/presets.h"
#include "sheets/recorded_sheet.h"
#include "sheets/settings_file.h"
#include "sheets/sheet_pdf.h"
#include "sheets/sheet_recorder.h"
#include "sheets/whole_file.h"
#include "worksheet/operations.h"
#include "worksheet/settings_fields.h"

namespace {

const QString kSettingsFilter = QStringLiteral("設定ファイル (*.json);;すべてのファイル (*)");

// "かけ算-No7.pdf": the file name a dialog proposes for a sheet's PDF.
QString PdfFileName(const TSheet& sheet)
{
    return QString::fromStdString(ProposedFileName({sheet}, "pdf"));
}

}  // namespace

QString StartFolder(const QString& lastFolder)
{
    if (!lastFolder.isEmpty()) return lastFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString TForm1::AskFileToWrite(const QString& caption, const QString& fileName, const QString& filter,
                               const QString& suffix)
{
    QString path = Dialogs().SaveFileName(this, caption, QDir(StartFolder(lastFolder_)).filePath(fileName), filter);
    if (path.isEmpty()) throw EAbort();
    if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + suffix;
    AskBeforeReplacing(this, path);
    lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void TForm1::SavePdfClick(bool withAnswers)
{
    RefuseWhilePrinting();
    const QString box = PrnNum->text();
    const TSheet sheet = SheetToMake();
    const int32_t number = sheet.Number;
    const QString path = AskFileToWrite(withAnswers ? QStringLiteral("PDFに保存（答えつき）") : QStringLiteral("PDFに保存（問題）"),
                                        PdfFileName(sheet), QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
    // A saved sheet counts as a printed one.
    TPdfFileOutput output(PathBytes(path), pdfPaper_);
    DeliverSheets({sheet}, withAnswers ? TAnswerOrder::After : TAnswerOrder::None, output, HistoryLog());
    AdvanceSheetNumber(number, box);
}

void TForm1::PrintPreviewClick()
{
    RefuseWhilePrinting();
    const TSheet sheet = SheetToMake();
    TPrinter& printer = Printer();
    printer.SetPortrait();
    if (Dialogs().PrintPreview(this, printer.Device(), [&](QPrinter& target) { PaintSheetsOn(target, sheet); }))
        PrintSheets(true);
}

void TForm1::OpenSettingsClick()
{
    const QString path = Dialogs().OpenFileName(this, QStringLiteral("設定を開く"), StartFolder(lastFolder_), kSettingsFilter);
    if (path.isEmpty()) return;
    // Read whole before anything changes: a refused file changes nothing.
    const TSettingsFile file = ReadSettingsFile(PathBytes(path));
    lastFolder_ = QFileInfo(path).absolutePath();
    SetSettings(file);
}

void TForm1::SaveSettingsClick()
{
    // A box that holds no number would make a file that cannot be opened again.
    const TWorksheetSettings settings = Settings();
    for (const TTextField& field : TextFields())
        if (!HoldsText(field, settings.*field.Member))
            throw EFileError("「" + SpokenBoxName(field.Name, operation_).toStdString() + "」の「" + settings.*field.Member +
                             "」は整数ではないので、設定を保存できません");
    const QString path = AskFileToWrite(QStringLiteral("設定を保存"),
                                        QStringLiteral("%1の設定.json").arg(QString::fromUtf8(RulesOf(operation_).Name)),
                                        kSettingsFilter, QStringLiteral("json"));
    WriteWholeFile(PathBytes(path), SettingsFileText(settings));
}

void TForm1::ResetSettingsClick()
{
    TSettingsFile startUp;
    for (const TTextField& field : TextFields()) startUp.Named.insert(field.Name);
    for (const TChoiceField& field : ChoiceFields()) startUp.Named.insert(field.Name);
    startUp.Values.Problems = 12;
    for (const char* layout : {kCellKey, kProblemsKey, kDigitFontKey}) startUp.Named.insert(layout);
    SetSettings(startUp);
}

void TForm1::PresetClick(size_t index)
{
    // Its layout as its grade's cells fit the paper of saved PDFs.
    SetSettings(PresetFor(Presets().at(index), PaperName(pdfPaper_)));
    // The old sheet is not the preset's: nothing to print until a Preview.
    ClearPreview();
}

void TForm1::HistoryClick()
{
    if (!historyWindow_) {
        THistory* history = HistoryLog().History();
        if (!history) {
            // A history that cannot be opened now was told already.
            if (HistoryLog().IsOff())
                Dialogs().MessageBox(this, ApplicationTitle(), QString::fromStdString(HistoryLog().WhyOff()),
                                     TDialogs::TIcon::Warning);
            return;
        }
        THistoryActions actions;
        actions.SavePdf = [this](const TReopenedSheet& reopened) {
            const QString path = AskFileToWrite(QStringLiteral("PDFに保存"), PdfFileName(reopened.Sheet),
                                                QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
            TPdfFileOutput output(PathBytes(path), pdfPaper_);
            PutOut({reopened.Sheet}, TAnswerOrder::After, output);
        };
        actions.UseSettings = [this](const TSettingsFile& settings) { SetSettings(settings); };
        historyWindow_ = new THistoryWindow(this, *history, std::move(actions));
    } else {
        historyWindow_->Model().Reload();
        historyWindow_->SelectRow(0);
    }
    historyWindow_->show();
    historyWindow_->raise();
    historyWindow_->activateWindow();
}

void TForm1::HelpClick()
{
    Dialogs().ShowDocument(this, QStringLiteral("使い方"), HelpHtml());
}

void TForm1::AboutClick()
{
    Dialogs().ShowDocument(this, QStringLiteral("このプログラムについて"), AboutHtml());
}
