// The commands of the menu bar that the buttons do not have: PDF, print
// preview, settings files, presets and help.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>

#include "app/application.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/help_texts.h"
#include "app/history_log.h"
#include "app/history_window.h"
#include "app/printer.h"
#include "sheets/presets.h"
#include "sheets/settings_file.h"
#include "sheets/sheet_pdf.h"
#include "sheets/whole_file.h"
#include "worksheet/problems.h"
#include "worksheet/settings_fields.h"
#include "worksheet/text_to_int.h"

namespace {

const QString kSettingsFilter = QStringLiteral("設定ファイル (*.json);;すべてのファイル (*)");

QString StartFolder(const QString& lastFolder)
{
    if (!lastFolder.isEmpty()) return lastFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace

QString TForm1::AskFileToWrite(const QString& caption, const QString& fileName, const QString& filter,
                               const QString& suffix)
{
    QString path = Dialogs().SaveFileName(this, caption, QDir(StartFolder(lastFolder_)).filePath(fileName), filter);
    if (path.isEmpty()) throw EAbort();
    if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + suffix;
    if (QFileInfo::exists(path) &&
        !Dialogs().Confirm(this, ApplicationTitle(),
                           QStringLiteral("ファイル「%1」はすでにあります。\n置き換えますか？").arg(path)))
        throw EAbort();
    lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void TForm1::SavePdfClick(bool withAnswers)
{
    PrintNumber = TextToInt(PrnNum->text().toStdString());
    const int32_t number = PrintNumber;
    const QString path = AskFileToWrite(withAnswers ? QStringLiteral("PDFに保存（答えつき）") : QStringLiteral("PDFに保存（問題）"),
                                        QStringLiteral("かけ算-No%1.pdf").arg(number),
                                        QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
    WriteWholeFile(path, SheetPdf(pdfPaper_, PageView(), withAnswers));
    // A saved sheet counts as a printed one.
    const TMadeSheet sheet = CurrentSheet();
    AdvanceSheetNumber(number);
    RecordSheet(sheet, withAnswers, path.toStdString());
}

void TForm1::SaveMadeSheetPdf(const TMadeSheet& sheet, const TPageView& view)
{
    const QString path = AskFileToWrite(QStringLiteral("PDFに保存"), QStringLiteral("かけ算-No%1.pdf").arg(sheet.Number),
                                        QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
    WriteWholeFile(path, MadeSheetsPdf({sheet}, TAnswerOrder::After, pdfPaper_, view));
}

void TForm1::PrintPreviewClick()
{
    PrintNumber = TextToInt(PrnNum->text().toStdString());
    TPrinter& printer = Printer();
    printer.SetPortrait();
    if (Dialogs().PrintPreview(this, printer.Device(), [this](QPrinter& target) { PaintSheetsOn(target); }))
        PrintSheets(true);
}

void TForm1::OpenSettingsClick()
{
    const QString path = Dialogs().OpenFileName(this, QStringLiteral("設定を開く"), StartFolder(lastFolder_), kSettingsFilter);
    if (path.isEmpty()) return;
    // Read whole before anything changes: a refused file changes nothing.
    const TSettingsFile file = ReadSettingsFile(path);
    lastFolder_ = QFileInfo(path).absolutePath();
    SetSettings(file);
}

void TForm1::SaveSettingsClick()
{
    const QString path = AskFileToWrite(QStringLiteral("設定を保存"), QStringLiteral("かけ算の設定.json"), kSettingsFilter,
                                        QStringLiteral("json"));
    WriteWholeFile(path, SettingsFileText(Settings()));
}

void TForm1::ResetSettingsClick()
{
    TSettingsFile startUp;
    for (const TTextField& field : TextFields()) startUp.Named.insert(field.Name);
    for (const TChoiceField& field : ChoiceFields()) startUp.Named.insert(field.Name);
    SetSettings(startUp);
}

void TForm1::PresetClick(size_t index)
{
    SetSettings(Presets().at(index).Settings);
}

void TForm1::HistoryClick()
{
    if (!historyWindow_) {
        THistory* history = HistoryLog().Get(this);
        if (!history) {
            if (!HistoryLog().WhyOff().isEmpty())
                Dialogs().MessageBox(this, ApplicationTitle(), HistoryLog().WhyOff(), TDialogs::TIcon::Warning);
            return;
        }
        historyWindow_ = new THistoryWindow(*this, *history);
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
