// 答案を読み取る: the class's pages read, the answers the reader could not
// decide asked one by one, the class's table shown, its CSV and the marked
// pages saved.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "app/application.h"
#include "app/dialogs.h"
#include "app/file_names.h"
#include "app/fmain.h"
#include "app/history_log.h"
#include "errors/errors.h"
#include "reader/class_results.h"
#include "reader/page_reading.h"
#include "scans/class_reading.h"
#include "scans/reading_record.h"
#include "scans/scan_files.h"
#include "sheets/whole_file.h"
#include "sheets/paper.h"
#include "worksheet/lcg.h"
#include "sheets/sheet_pdf.h"
#include "requests/requests.h"

void TForm1::ReadAnswersClick()
{
    RefuseWhilePrinting();
    const QStringList files = Dialogs().OpenFileNames(
        this, QStringLiteral("答案を読み取る"), StartFolder(lastFolder_),
        QStringLiteral("答案の PDF・画像 (*.pdf *.PDF *.png *.PNG *.jpg *.JPG *.jpeg *.JPEG);;すべてのファイル (*)"));
    if (files.isEmpty()) return;
    lastFolder_ = QFileInfo(files.front()).absolutePath();
    std::vector<std::string> paths;
    for (const QString& file : files) paths.push_back(PathBytes(file));
    std::vector<TScanPage> pages = LoadScanPages(paths);
    // Each page named by its file's name, as the teacher chose it.
    for (TScanPage& page : pages) {
        size_t longest = 0;
        QString name;
        for (qsizetype f = 0; f < files.size(); ++f) {
            const std::string& path = paths[static_cast<size_t>(f)];
            if (path.size() > longest && page.Source.compare(0, path.size(), path) == 0)
                longest = path.size(), name = QFileInfo(files[f]).fileName();
        }
        if (longest > 0) page.Source = name.toStdString() + page.Source.substr(longest);
    }

    // Every page read, the progress shown.
    TClassReading reading;
    {
        const std::unique_ptr<TProgress> progress =
            Dialogs().StartProgress(this, QStringLiteral("答案を読み取っています…"), static_cast<int>(pages.size()));
        bool cancelled = false;
        reading = ReadClassPages(std::move(pages), [&](size_t i) { return !(cancelled = !progress->Step(static_cast<int>(i))); });
        if (cancelled) throw EAbort();
        progress->Step(static_cast<int>(reading.Pages.size()));
    }
    std::vector<TMarkedSheet>& sheets = reading.Sheets;
    QStringList unread, notes;
    for (const std::string& line : reading.Unread) unread << QString::fromStdString(line);
    for (const std::string& line : reading.Notes) notes << QString::fromStdString(line);
    if (!unread.isEmpty())
        Dialogs().MessageBox(this, ApplicationTitle(),
                             QStringLiteral("読み取れないページがありました（採点には入りません。ほかのページは読みました）。\n") +
                                 (unread + notes).join('\n'),
                             TDialogs::TIcon::Warning);
    if (sheets.empty()) {
        if (unread.isEmpty())
            Dialogs().MessageBox(this, ApplicationTitle(),
                                 QStringLiteral("読み取れたプリントがありませんでした。\n") + notes.join('\n'),
                                 TDialogs::TIcon::Warning);
        return;
    }

    // The answers the reader could not decide, one by one.
    bool asking = true;
    for (size_t i = 0; i < reading.Pages.size() && asking; ++i) {
        if (!reading.SheetOfPage(i)) continue;
        TMarkedSheet& sheet = *reading.SheetOfPage(i);
        for (size_t k = 0; k < sheet.Answers.size() && asking; ++k) {
            if (sheet.Answers[k].Decided != TDecided::Asked) continue;
            QString text = sheet.Answers[k].Best ? QString::fromStdString(WrittenText(*sheet.Answers[k].Best)) : QString();
            const QImage picture = k < reading.Read[i].Pictures.size() ? ImageOfGrey(reading.Read[i].Pictures[k]) : QImage();
            const QString label = QString::fromStdString(AskedLabel(sheet, k));
            for (;;) {
                if (!Dialogs().AskReadAnswer(this, picture, label, text)) {
                    asking = false;
                    break;
                }
                try {
                    TypeAnswerText(sheet, k, text.toStdString());
                    break;
                } catch (const ERefused& e) {
                    Dialogs().MessageBox(this, ApplicationTitle(), QString::fromUtf8(e.what()), TDialogs::TIcon::Warning);
                }
            }
        }
    }

    // The review ended: the class's answers go into the history.
    if (THistory* history = HistoryLog().History())
        if (const std::string failure = RecordReadings(*history, sheets); !failure.empty())
            Dialogs().MessageBox(this, ApplicationTitle(), QString::fromStdString(failure), TDialogs::TIcon::Warning);

    // The class's table, and what can be saved from it.
    const TClassTable table = ClassTableOf(sheets);
    QStringList header;
    for (const std::string& h : table.Header) header << QString::fromStdString(h);
    std::vector<QStringList> rows;
    for (const auto& row : table.Rows) {
        QStringList cells;
        for (const std::string& c : row) cells << QString::fromStdString(c);
        rows.push_back(cells);
    }
    QString footer = QString::fromStdString(ReadingSummary(sheets, reading.Pages.size()));
    if (unread.isEmpty() && !notes.isEmpty()) footer += QStringLiteral("\n") + notes.join('\n');
    for (const auto& [name, count] : table.Procedures)
        footer += QStringLiteral("\n%1: %2人").arg(QString::fromStdString(name)).arg(count);
    auto saveCsv = [&] {
        RunGuarded([&] {
            const QString path = AskFileToWrite(QStringLiteral("結果を CSV に保存"), QStringLiteral("結果.csv"),
                                                QStringLiteral("CSV (*.csv)"), QStringLiteral("csv"));
            TWholeFile csv(PathBytes(path));
            csv.Prepare(ResultsCsv(sheets));
            csv.Commit();
        });
    };
    auto saveMarked = [&] {
        RunGuarded([&] {
            const QString path = AskFileToWrite(QStringLiteral("採点済みの PDF を保存"), QStringLiteral("採点済み.pdf"),
                                                QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
            const QByteArray pdf = MarkedPdfOf(reading);
            if (pdf.isEmpty()) throw EFileError("採点済みの PDF を作れませんでした");
            TWholeFile file(PathBytes(path));
            file.Prepare(std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())));
            file.Commit();
        });
    };
    auto makeNext = [&] {
        RunGuarded([&] {
            // Each pupil's next sheet, with its answer sheet, as one PDF.
            const QString path = AskFileToWrite(QStringLiteral("一人ひとりのプリントを作る"), QStringLiteral("次のプリント.pdf"),
                                                QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
            const uint64_t seed = FreshSeed();
            const std::vector<TSheet> next = MakeFollowUpsOf(PupilWorkOf(sheets), NextSheetNumber(sheets), seed, PaperName(pdfPaper_));
            TPdfFileOutput output(PathBytes(path), pdfPaper_);
            DeliverSheets(next, TAnswerOrder::After, output, HistoryLog());
            QString done = QStringLiteral("一人ひとりのプリントを %1枚作りました（No.%2～No.%3、乱数のもと %4）。")
                               .arg(next.size())
                               .arg(next.front().Number)
                               .arg(next.back().Number)
                               .arg(seed);
            if (const std::string note = FollowUpsNote(next); !note.empty()) done += QStringLiteral("\n") + QString::fromStdString(note);
            Dialogs().MessageBox(this, ApplicationTitle(), done, TDialogs::TIcon::Information);
        });
    };
    Dialogs().ShowClassResults(this, QStringLiteral("読み取りの結果"), header, rows, footer,
                               {{QStringLiteral("結果を CSV に保存(&C)…"), saveCsv},
                                {QStringLiteral("採点済みの PDF を保存(&P)…"), saveMarked},
                                {QStringLiteral("一人ひとりのプリントを作る(&N)…"), makeNext}});
}
