// Sheets as files: the PDF of a sheet, files written whole, settings files
// and the built-in presets.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include <functional>
#include <map>
#include <set>

#include "pdf_reading.h"
#include "recording_canvas.h"
#include "render/qt_fonts.h"
#include "sample_sheet.h"
#include "sheets/class_set.h"
#include "sheets/presets.h"
#include "sheets/recorded_sheet.h"
#include "sheets/settings_file.h"
#include "sheets/sheet_csv.h"
#include "sheets/sheet_pdf.h"
#include "sheets/sheet_recorder.h"
#include "sheets/whole_file.h"
#include "test_support.h"
#include "errors/errors.h"
#include "worksheet/generator.h"
#include "worksheet/multiplication.h"
#include "worksheet/operations.h"
#include "worksheet/random.h"
#include "worksheet/problems.h"
#include "worksheet/settings_fields.h"

namespace {

// A path as the file layer takes it: bytes.
std::string Bytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString Refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EFileError& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("(accepted)");
}

}  // namespace

// An output and a recorder that log what is asked of them, failing where told.
struct TLoggedOutput : TSheetOutput {
    std::vector<std::string>& Log;
    std::string FailAt;
    TRecordingCanvas Page;
    TLoggedOutput(std::vector<std::string>& log, std::string failAt) : Log(log), FailAt(std::move(failAt)) {}
    void Step(const std::string& step)
    {
        if (step == FailAt) throw EFileError("disk full");
        Log.push_back(step);
    }
    TPageArea Begin(const std::string&) override { return Step("begin"), TPageArea{2400, 3400}; }
    TCanvas& NewPage() override { return Page; }
    void Finish() override { Step("finish"); }
    void Commit() override { Step("commit"); }
    void Drop() override { Log.push_back("drop"); }
    std::string Destination() const override { return "/tmp/x.pdf"; }
};

struct TLoggedRecorder : TSheetRecorder {
    std::vector<std::string>& Log;
    bool Fails = false;
    explicit TLoggedRecorder(std::vector<std::string>& log, bool fails = false) : Log(log), Fails(fails) {}
    std::vector<int64_t> Record(const std::vector<TSheet>&, bool, const std::string&) override
    {
        if (Fails) throw ERecordFailed("busy");
        Log.push_back("record");
        return {7};
    }
    void Forget(const std::vector<int64_t>& ids) override
    {
        Log.push_back("forget " + std::to_string(ids.empty() ? 0 : ids.front()));
    }
};

class SheetsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterFontSubstitutes(); }

    void sheetPdfIsLaidOutForItsPaper_data()
    {
        QTest::addColumn<QString>("paper");
        QTest::addColumn<QSizeF>("points");
        QTest::newRow("A4") << "A4" << QSizeF(595, 842);
        QTest::newRow("B5 (JIS)") << "B5" << QSizeF(516, 729);
        QTest::newRow("B4 (JIS)") << "B4" << QSizeF(729, 1032);
        QTest::newRow("A3") << "A3" << QSizeF(842, 1191);
    }

    void sheetPdfIsLaidOutForItsPaper()
    {
        QFETCH(QString, paper);
        QFETCH(QSizeF, points);
        TSheet sheet = SampleSheet();
        sheet.Number = 7;
        QTemporaryDir folder;
        const QString path = folder.filePath("sheet.pdf");
        TPdfFileOutput output(Bytes(path), *PaperNamed(paper.toStdString()));
        PutOut({sheet}, TAnswerOrder::After, output);

        QCOMPARE(PdfPageCount(path), 2);
        const QSizeF size = PdfPageSize(path);
        QVERIFY(qAbs(size.width() - points.width()) < 1.5);
        QVERIFY(qAbs(size.height() - points.height()) < 1.5);

        const std::string product = std::to_string(sheet.Problems[0].Answer);
        const QStringList problems = PdfWords(path, 1), answers = PdfWords(path, 2);
        QVERIFY(problems.contains("問題No.7"));
        QVERIFY(problems.contains(QString::number(sheet.Problems[0].First)));
        QVERIFY(!problems.contains(QString::fromStdString(product)));
        QVERIFY(answers.contains("問題No.7"));
        QVERIFY(answers.contains(QString::fromStdString(product)));

        // Inside a margin of 10 mm on every side (10 mm is 28 points).
        const TInk ink = PdfInk(path, 72);
        QVERIFY2(ink.Box.left() >= 28 && ink.Box.top() >= 28 && ink.Box.right() < ink.Page.width() - 28 &&
                     ink.Box.bottom() < ink.Page.height() - 28,
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(ink.Box.x()).arg(ink.Box.y()).arg(ink.Box.width()).arg(ink.Box.height())));

        // Every font embedded, and only the glyphs it uses: the IPA fonts
        // themselves are megabytes large.
        const QStringList fonts = PdfFonts(path);
        QCOMPARE(fonts.size(), 2);  // IPAGothic and IPAMincho
        for (const QString& font : fonts)
            QVERIFY2(font.contains(QRegularExpression("^IPA\\w+ .* yes\\s+\\w+\\s+yes ")), qPrintable(font));
        QVERIFY(QFileInfo(path).size() < 200 * 1024);
    }

    void filesAreWrittenWholeOrNotAtAll()
    {
        QTemporaryDir folder;
        const QString kept = folder.filePath("kept.pdf");
        WriteWholeFile(Bytes(kept), "old");
        struct TCase {
            QString Path, Says;
        } cases[] = {
            {folder.filePath("missing/sheet.pdf"), "がありません。ファイルは保存されていません"},
            {folder.path(), "はフォルダです"},
            {"/proc/tavelin-test.pdf", "保存されていません"},
        };
        for (const TCase& c : cases) {
            const QString message = Refusal([&] { WriteWholeFile(Bytes(c.Path), "new"); });
            QVERIFY2(message.contains(c.Says), qPrintable(c.Path + ": " + message));
        }
        QVERIFY(!QFile::exists(folder.filePath("missing")));
        WriteWholeFile(Bytes(kept), "new");
        QFile file(kept);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("new"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"kept.pdf"});
    }

    // A teacher's folder holds her own hidden backups and other programs'
    // files: writing a sheet there removes only temporaries of this program
    // whose writer is gone, never one still being written.
    void onlyOurOwnAbandonedTemporariesAreRemoved()
    {
        QTemporaryDir folder;
        // A process number that is surely free: a child that has ended.
        const pid_t gone = fork();
        if (gone == 0) _exit(0);
        waitpid(gone, nullptr, 0);
        QProcess alive;
        alive.start("sleep", {"30"});
        QVERIFY(alive.waitForStarted());
        const QString dead = QString::number(gone), running = QString::number(alive.processId());
        const QStringList theirs{".thesis.pdf.backup", ".data.csv.OLD123", ".config.json.abcdef", ".my.pdf.ZZZZZZ",
                                 ".x.pdf.a1B2c3", ".tavelin-" + dead + "-abc12", ".tavelin-" + dead + "-abc123x",
                                 ".tavelin-" + running + "-run123", ".tavelin-" + dead + "-held12"};
        // Put there as other programs put them (not through this program's writing).
        for (const QString& name : theirs) std::ofstream(Bytes(folder.filePath(name))) << "keep me";
        std::ofstream(Bytes(folder.filePath(".tavelin-" + dead + "-Gone12"))) << "left by a killed run";
        // One whose writer runs in another process namespace: it holds the lock.
        const int held = open(QFile::encodeName(folder.filePath(".tavelin-" + dead + "-held12")).constData(), O_RDONLY);
        QVERIFY(flock(held, LOCK_EX) == 0);
        // Files older than this run, as the user's own backups are.
        for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden)) {
            const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
            utimensat(AT_FDCWD, QFile::encodeName(folder.filePath(name)).constData(), old, 0);
        }
        WriteWholeFile(Bytes(folder.filePath("x.pdf")), "sheet");
        close(held);
        alive.kill();
        alive.waitForFinished();
        QStringList expected = theirs;
        expected << "x.pdf";
        expected.sort();
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    }

    // A run still writing keeps its temporaries while another program
    // writes into the same folder.
    void twoRunsInOneFolderBothSucceed()
    {
        QTemporaryDir folder;
        TWholeFile first(Bytes(folder.filePath("set.pdf")));
        first.Prepare("a class set being written");
        QTest::qSleep(20);
        QProcess second;
        second.start(WHOLE_FILE_PROBE, {folder.filePath("other.pdf"), "100"});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        first.Commit();
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"other.pdf", "set.pdf"}));
    }

    // Names are bytes: a name in another encoding is written under that
    // very name (and said with its bytes escaped), and a name as long as the
    // file system takes is taken.
    void namesAreKeptAsBytes()
    {
        QTemporaryDir folder;
        const std::string place = Bytes(folder.path()) + "/";
        WriteWholeFile(place + "\xEF\xBF\xBD.pdf", "an unrelated file");  // "�.pdf"
        const std::string latin1 = place + "caf\xE9.pdf", other = place + "\xFF\xFE.pdf";
        WriteWholeFile(latin1, "latin-1");
        WriteWholeFile(other, "bytes");
        CheckFilesApart(latin1, other);
        const std::string longest = place + std::string(251, 'a') + ".pdf";
        WriteWholeFile(longest, "255 bytes");
        std::set<std::string> names;
        DIR* directory = opendir(place.c_str());
        while (const dirent* entry = readdir(directory))
            if (entry->d_name[0] != '.') names.insert(entry->d_name);
        closedir(directory);
        QCOMPARE(names, (std::set<std::string>{"\xEF\xBF\xBD.pdf", "caf\xE9.pdf", "\xFF\xFE.pdf", std::string(251, 'a') + ".pdf"}));
        std::ifstream unrelated(place + "\xEF\xBF\xBD.pdf");
        std::string kept;
        std::getline(unrelated, kept);
        QCOMPARE(kept, std::string("an unrelated file"));
        const QString message = Refusal([&] { WriteWholeFile(place + "no\xE9/x.pdf", "x"); });
        QVERIFY2(message.contains("no\\xE9"), qPrintable(message));
        QVERIFY(Refusal([&] { WriteWholeFile(place + std::string(252, 'a') + ".pdf", "x"); }).contains("名前が長すぎます"));
    }

    // A full disk, or a file grown to the size limit: the old file stays
    // whole, the message says why, nothing half-written is left.
    void filesUnderALimitAreLeftWhole_data()
    {
        QTest::addColumn<QString>("limit");  // how the probe is run
        QTest::addColumn<QString>("says");
        QTest::newRow("file size limit (EFBIG)") << "ulimit -f 8" << "大きすぎて書けません";
        QTest::newRow("full disk (ENOSPC)") << "tmpfs" << "ディスクがいっぱいです";
    }

    void filesUnderALimitAreLeftWhole()
    {
        QFETCH(QString, limit);
        QFETCH(QString, says);
        QTemporaryDir folder;
        QString place = folder.path();
        if (limit == "tmpfs") {
            // A small disk of its own, where root may make one.
            place = folder.filePath("small");
            QDir().mkpath(place);
            if (geteuid() != 0 || RunProgram("sh", {"-c", "mount -t tmpfs -o size=64k tmpfs '" + place + "' && echo ok"}).trimmed() != "ok")
                QSKIP("a small disk of its own needs root");
            limit = "true";
        }
        const QString path = place + "/day1.json";
        WriteWholeFile(Bytes(path), "the old settings");
        QProcess probe;
        probe.start("sh", {"-c", "trap '' XFSZ; " + limit + "; exec \"$0\" \"$1\" 200000", WHOLE_FILE_PROBE, path});
        QVERIFY(probe.waitForFinished(30000));
        const QString error = QString::fromUtf8(probe.readAllStandardError());
        QFile old(path);
        const bool opened = old.open(QIODevice::ReadOnly);
        const QByteArray content = old.readAll();
        const QStringList left = QDir(place).entryList(QDir::Files | QDir::Hidden);
        if (place != folder.path()) RunProgram("umount", {place});
        QCOMPARE(probe.exitCode(), 1);
        QVERIFY2(error.contains(says) && error.contains("保存されていません"), qPrintable(error));
        QVERIFY(opened);
        QCOMPARE(content, QByteArray("the old settings"));
        QCOMPARE(left, QStringList{"day1.json"});
    }

    // No file is ever written where it must not go.
    void noFileIsWrittenOverWhatItMustNotReplace()
    {
        QTemporaryDir folder;
        const QString fifo = folder.filePath("pipe"), kept = folder.filePath("history.sqlite3");
        QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        WriteWholeFile(Bytes(kept), "sheets");
        KeepFileSafe(Bytes(kept));
        const QString readOnly = folder.filePath("key.csv");
        WriteWholeFile(Bytes(readOnly), "last week");
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const struct {
            QString Path, Says;
        } cases[] = {
            {"", "ファイルの名前がありません"},
            {readOnly, "書き込み禁止のファイルなので、置き換えません"},
            {"/dev/null", "「/dev/null」はふつうのファイルではありません"},
            {fifo, "はふつうのファイルではありません"},
            {folder.path(), "はフォルダです"},
            {kept, "このプログラムが使っているファイル"},
        };
        for (const auto& c : cases) {
            const QString message = Refusal([&] { WriteWholeFile(Bytes(c.Path), "new"); });
            QVERIFY2(message.contains(c.Says) && message.endsWith("ファイルは保存されていません"), qPrintable(c.Path + ": " + message));
        }
        QFile file(kept);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("sheets"));
    }

    // Files that go out together: all in place, or none, and the old ones
    // back where one could not be.
    void filesCommittedTogether()
    {
        QTemporaryDir folder;
        const QString pdf = folder.filePath("set.pdf"), csv = folder.filePath("set.csv");
        WriteWholeFile(Bytes(pdf), "old pdf");
        TWholeFile first(Bytes(pdf)), second(Bytes(csv));
        first.Prepare("new pdf");
        second.Prepare("new csv");
        // What stands at the CSV's place by then cannot be replaced.
        QVERIFY(QDir().mkdir(csv));
        QVERIFY(Refusal([&] { CommitTogether({&first, &second}); }).contains("set.csv"));
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old pdf"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"set.pdf"});

        QVERIFY(QDir().rmdir(csv));
        TWholeFile again(Bytes(pdf)), beside(Bytes(csv));
        again.Prepare("new pdf");
        beside.Prepare("new csv");
        CommitTogether({&again, &beside});
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"set.csv", "set.pdf"}));
        QVERIFY(Refusal([&] { CheckFilesApart(Bytes(pdf), Bytes(folder.filePath("./set.pdf"))); }).contains("同じファイル"));
    }

    // A sheet is recorded once its file is ready and before it is put in
    // place, and the record is taken back when it could not be.
    void recordComesBeforeTheFileIsPutInPlace_data()
    {
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<QString>("log");
        QTest::newRow("put out") << "" << "begin finish record commit";
        QTest::newRow("not put in place") << "commit" << "begin finish record drop forget 7";
        QTest::newRow("not written") << "finish" << "begin drop forget 0";
        // A history that cannot take the record: nothing goes out.
        QTest::newRow("not recorded") << "record" << "begin finish drop forget 0";
    }

    void recordComesBeforeTheFileIsPutInPlace()
    {
        QFETCH(QString, failAt);
        QFETCH(QString, log);
        std::vector<std::string> steps;
        TLoggedOutput output(steps, failAt.toStdString());
        TLoggedRecorder recorder(steps, failAt == "record");
        try {
            DeliverSheets({SampleSheet()}, TAnswerOrder::After, output, recorder);
        } catch (const EFileError&) {
        } catch (const ERecordFailed&) {
        }
        QStringList got;
        for (const std::string& step : steps) got << QString::fromStdString(step);
        QCOMPARE(got.join(' '), log);
    }

    void recordedSheetIsDrawnExactlyAsRecorded()
    {
        THistorySheet recorded;
        recorded.Number = 12;
        recorded.Settings = SettingsFileText({});
        recorded.Problems = {{123, 45, 5535}, {7, 8, 56}, {12, 3456, 41472}, {9, 9, 81}};
        FillSampleSheet();
        const std::string before = ProblemTable[1].MultiplicandText;
        TRecordingCanvas page;
        const TReopenedSheet reopened = ReopenSheet(recorded);
        DrawSheetPage(page, 2400, 3400, reopened.View, reopened.Sheet, true);
        std::multiset<std::string> texts;
        for (const TCanvasOp& op : page.OfKind(TCanvasOp::TextOp)) texts.insert(op.Text);
        // Multiplicands and products stand alone; a multiplier follows its sign.
        for (const char* expected : {"問題No.12", "123", "12", "5535", "41472", "81", " 3456"})
            QVERIFY2(texts.count(expected), expected);
        QCOMPARE(ProblemTable[1].MultiplicandText, before);
        QCOMPARE(QuestionCount, 16);
        QCOMPARE(ShowAnswers, 0);

        TSheet sheet = reopened.Sheet;
        sheet.Settings.u3h = "9";
        sheet.Settings.Kuriagari = kmOnesCarry;
        const THistorySheet again = HistorySheetOf(sheet, true, "/tmp/x.pdf");
        QCOMPARE(again.Problems, recorded.Problems);
        QCOMPARE(again.Summary, std::string("かけ算 3けた×1けた・一位あり十位なし・4問"));
        QVERIFY(ParseSettingsFile(again.Settings).Values.PrnNum == "12");
    }

    // The operation is the record's own: never the settings' nor the
    // defaults'.
    void reopenedSheetsKeepTheirOperation()
    {
        THistorySheet recorded;
        recorded.Number = 3;
        recorded.Operation = "division";
        recorded.Settings = SettingsFileText({});  // says multiplication
        recorded.Problems = {{621, 3, 207}, {84, 4, 21}, {96, 8, 12}, {75, 5, 15}};
        const TReopenedSheet reopened = ReopenSheet(recorded);
        QCOMPARE(reopened.Sheet.Settings.Operation, TOperation::Division);
        QCOMPARE(reopened.Sheet.Problems[0].Answer, 207);
    }

    // A reprint is exact or refused: a record this program cannot draw as it
    // was made (a later version's, a hand-edited or damaged one) is refused,
    // naming the sheet, never drawn otherwise.
    void recordsThatCannotBeDrawnAsMadeAreRefused_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("settings");  // "" for the defaults' text
        QTest::addColumn<QList<int>>("problems");  // first, second, answer, remainder …
        QTest::addColumn<QString>("says");
        const QList<int> four{621, 3, 207, 0, 84, 4, 21, 0, 96, 8, 12, 0, 75, 5, 15, 0};
        const QString large6 = QString::fromStdString(SettingsFileText([] {
            TWorksheetSettings large;
            large.Operation = TOperation::Division;
            large.CellMM = 10;
            large.Problems = 6;
            return large;
        }()));
        QTest::newRow("an operation it does not know") << "fractions" << "" << four << "読めない計算";
        QTest::newRow("settings of a later version") << "division" << R"({"format":"tavelin-settings","version":99})" << four
                                                     << "設定が読めません";
        QTest::newRow("settings that are no settings") << "division" << "not a settings text" << four << "設定が読めません";
        QTest::newRow("a divisor of 0") << "division" << "" << QList<int>{84, 0, 0, 0} + four.mid(4) << "1問目（84÷0）";
        QTest::newRow("the largest divisor") << "division" << "" << QList<int>{84, 2147483647, 0, 84} + four.mid(4)
                                             << "1問目（84÷2147483647）";
        QTest::newRow("a negative number") << "division" << "" << four.mid(0, 12) + QList<int>{-75, 5, -15, 0} << "4問目";
        QTest::newRow("an answer that is not the record's") << "division" << "" << QList<int>{621, 3, 27, 0} + four.mid(4)
                                                            << "答えが記録とちがいます";
        QTest::newRow("five problems in rows of four") << "division" << "" << four + QList<int>{8, 2, 4, 0} << "問題の数（5問）";
        QTest::newRow("no problems") << "division" << "" << QList<int>{} << "問題の数（0問）";
        QTest::newRow("seven problems in 大きなマス of six") << "division" << large6 << four + four.mid(0, 12)
                                                           << "大きなマス 6問";
    }

    void recordsThatCannotBeDrawnAsMadeAreRefused()
    {
        QFETCH(QString, operation);
        QFETCH(QString, settings);
        QFETCH(QList<int>, problems);
        QFETCH(QString, says);
        THistorySheet recorded;
        recorded.Number = 41;
        recorded.Operation = operation.toStdString();
        recorded.Settings = settings.isEmpty() ? SettingsFileText({}) : settings.toStdString();
        for (int k = 0; k + 3 < problems.size(); k += 4)
            recorded.Problems.push_back({problems[k], problems[k + 1], problems[k + 2], problems[k + 3]});
        try {
            ReopenSheet(recorded);
            QFAIL("drawn");
        } catch (const EUnreadableRecord& e) {
            const QString message = QString::fromUtf8(e.what());
            QVERIFY2(message.contains("No.41") && message.contains(says) && message.contains("印刷し直せません"), qPrintable(message));
        }
    }
};

QTEST_MAIN(SheetsTest)
#include "sheets_test.moc"
