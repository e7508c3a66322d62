// Pictures of reading a class's answers for the README:
//   reading_shots <folder>
// writes reading-review.png (the question for an answer the reader could
// not decide), reading-results.png (the class's table) and
// reading-marked.jpg (a page handed back marked), from a simulated photo of
// a pupil's sheet.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <random>

#include "answer_scans.h"
#include "app/application.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/printer.h"
#include "app/qt_printer.h"
#include "reader/class_results.h"
#include "reader/page_reading.h"
#include "requests/requests.h"
#include "scans/marked_pdf.h"
#include "scans/scan_files.h"
#include "sheets/presets.h"
#include "worksheet/wrong_procedures.h"

namespace {

// The program's own dialogs, but for the files chosen.
struct TChosenFiles : TDialogs {
    TDialogs& Qt;
    QStringList Files;
    TChosenFiles(TDialogs& qt, QStringList files) : Qt(qt), Files(std::move(files)) {}
    void Beep() override {}
    void MessageBox(QWidget* o, const QString& c, const QString& t, TIcon i) override { Qt.MessageBox(o, c, t, i); }
    bool Confirm(QWidget* o, const QString& c, const QString& t) override { return Qt.Confirm(o, c, t); }
    bool PrinterSetup(QWidget*, QPrinter&) override { return false; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QStringList OpenFileNames(QWidget*, const QString&, const QString&, const QString&) override { return Files; }
    bool AskReadAnswer(QWidget* o, const QImage& p, const QString& l, QString& t) override { return Qt.AskReadAnswer(o, p, l, t); }
    void ShowClassResults(QWidget* o, const QString& c, const QStringList& h, const std::vector<QStringList>& r,
                          const QString& f, const std::vector<std::pair<QString, std::function<void()>>>& a) override
    {
        Qt.ShowClassResults(o, c, h, r, f, a);
    }
    bool PrintPreview(QWidget*, QPrinter&, const std::function<void(QPrinter&)>&) override { return false; }
    void ShowDocument(QWidget*, const QString&, const QString&) override {}
    bool AskClassSet(QWidget*, TClassSetRequest&) override { return false; }
    int ChooseItem(QWidget*, const QString&, const QString&, const QStringList&, int) override { return -1; }
    bool AskAnswers(QWidget*, const QString&, const QStringList&, QStringList&) override { return false; }
    bool AskText(QWidget*, const QString&, const QString&, QString&) override { return false; }
    std::unique_ptr<TProgress> StartProgress(QWidget* o, const QString& t, int n) override { return Qt.StartProgress(o, t, n); }
};

// A hand that writes most digits plainly and every fifth in outline, which
// the reader asks about.
THand MixedHand()
{
    return [plain = FaceHand("Humor Sans"), outline = FaceHand("femkeklaver"), n = 0](int digit, std::mt19937& random) mutable {
        return ++n % 5 == 0 ? outline(digit, random) : plain(digit, random);
    };
}

bool Save(const QImage& image, const QString& path, int quality = -1)
{
    const bool ok = image.save(path, nullptr, quality);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    TApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");

    TWorksheetSettings settings;
    ApplyNamed(PresetFor(*FindPreset("3けた−3けた（くり下がり2回）"), "A4"), settings);
    const TSheet sheet = MakeClassSetOf(settings, 1, 12, 2026u).Sheets.front();
    std::vector<std::optional<TWrittenAnswer>> answers;
    for (size_t k = 0; k < sheet.Problems.size(); ++k) {
        const TSheetProblem& p = sheet.Problems[k];
        const std::vector<TWrittenAnswer> every = EveryAnswer(sheet.Settings.Operation, p.First, p.Second);
        answers.push_back(k % 4 == 3 && every.size() > 1 && every[1].Value >= 0 ? every[1] : every[0]);
    }
    std::mt19937 random(12);
    const QImage photo = FilledScan(sheet, answers, 14, MixedHand(), {200, 1.5, 1.0, false, true, 8, 6, 85}, random);
    const QString photoPath = data.filePath("photo.jpg");
    bool ok = photo.save(photoPath);

    // The window's 答案を読み取る, its dialogs photographed as they open.
    TQtPrinter printer([](QWidget*, QPrinter&) { return false; });
    InstallPrinter(&printer);
    TForm1 form;
    form.show();
    TChosenFiles dialogs(Dialogs(), {photoPath});
    InstallDialogs(&dialogs);
    bool reviewShot = false, resultsShot = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        if (dialog->windowTitle() == QStringLiteral("読み取れなかった答え") && !reviewShot) {
            reviewShot = true;
            ok &= Save(dialog->grab().toImage(), folder + "/reading-review.png");
            dialog->reject();
        } else if (dialog->windowTitle() == QStringLiteral("読み取りの結果") && !resultsShot) {
            resultsShot = true;
            ok &= Save(dialog->grab().toImage(), folder + "/reading-results.png");
            dialog->reject();
        }
    });
    watch.start(300);
    form.ReadAnswersClick();
    watch.stop();
    InstallDialogs(nullptr);
    ok &= reviewShot && resultsShot;
    form.close();

    // The page handed back marked.
    const std::vector<TScanPage> pages = LoadScanPages({QFile::encodeName(photoPath).toStdString()});
    std::string failure;
    const TReadPage read = ReadPage(GreyOfScan(pages.front().Image(failure)));
    const TMarkedSheet marked = MarkSheet(read, "photo.jpg");
    const QByteArray pdf = MarkedPdf(pages, {&marked}, {&read});
    QFile file(data.filePath("marked.pdf"));
    ok &= file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size();
    file.close();
    // In colour, as the teacher's viewer shows it.
    QProcess render;
    render.start("pdftoppm", {"-png", "-r", "40", "-singlefile", file.fileName(), data.filePath("marked")});
    ok &= render.waitForFinished(60000) && render.exitCode() == 0;
    ok &= Save(QImage(data.filePath("marked.png")), folder + "/reading-marked.jpg", 80);
    InstallPrinter(nullptr);
    return ok ? 0 : 1;
}
