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

#include <sys/stat.h>
#include <unistd.h>

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
        TPdfFileOutput output(path, *PaperNamed(paper.toStdString()));
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
        WriteWholeFile(kept, "old");
        struct TCase {
            QString Path, Says;
        } cases[] = {
            {folder.filePath("missing/sheet.pdf"), "がありません。ファイルは保存されていません"},
            {folder.path(), "はフォルダです"},
            {"/proc/tavelin-test.pdf", "保存されていません"},
        };
        for (const TCase& c : cases) {
            const QString message = Refusal([&] { WriteWholeFile(c.Path, "new"); });
            QVERIFY2(message.contains(c.Says), qPrintable(c.Path + ": " + message));
        }
        QVERIFY(!QFile::exists(folder.filePath("missing")));
        WriteWholeFile(kept, "new");
        QFile file(kept);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("new"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"kept.pdf"});
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
        WriteWholeFile(path, "the old settings");
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
        WriteWholeFile(kept, "sheets");
        KeepFileSafe(kept.toStdString());
        const QString readOnly = folder.filePath("key.csv");
        WriteWholeFile(readOnly, "last week");
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
            const QString message = Refusal([&] { WriteWholeFile(c.Path, "new"); });
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
        WriteWholeFile(pdf, "old pdf");
        TWholeFile first(pdf), second(csv);
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
        TWholeFile again(pdf), beside(csv);
        again.Prepare("new pdf");
        beside.Prepare("new csv");
        CommitTogether({&again, &beside});
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"set.csv", "set.pdf"}));
        QVERIFY(Refusal([&] { CheckFilesApart(pdf, folder.filePath("./set.pdf")); }).contains("同じファイル"));
    }

    // Only a plain file of a settings file's size is read: a pipe would wait
    // for ever, a device would never end.
    void settingsAreReadOnlyFromPlainFiles()
    {
        QTemporaryDir folder;
        const QString fifo = folder.filePath("pipe"), big = folder.filePath("big.json");
        QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        WriteWholeFile(big, QByteArray(1024 * 1024 + 1, ' '));
        const struct {
            QString Path, Says;
        } cases[] = {
            {fifo, "ふつうのファイルではない"},
            {"/dev/zero", "ふつうのファイルではない"},
            {big, "大きすぎます（1 MB まで）"},
            {folder.filePath("none.json"), "ファイルやフォルダがありません"},
        };
        for (const auto& c : cases) {
            const QString message = Refusal([&] { ReadSettingsFile(c.Path); });
            QVERIFY2(message.contains(c.Says), qPrintable(c.Path + ": " + message));
        }
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

    void settingsFileRoundTrip()
    {
        TWorksheetSettings settings;
        settings.u1l = "7";
        settings.u3h = "$";
        settings.AnsHigh = "$10";
        settings.QstSentence = "\"ていねいに\" \\ 書こう\t";
        settings.PrnNum = "-3";
        settings.Kuriagari = kmTensSum2;
        settings.QNumPattern = 1;
        settings.Waku = 1;
        settings.Operation = TOperation::Subtraction;
        settings.CarryMarks = true;
        const QByteArray text = SettingsFileText(settings);
        QVERIFY(text.startsWith("{\n  \"format\": \"tavelin-settings\",\n  \"version\": 2,\n  \"operation\": \"subtraction\",\n  \"u1l\": \"7\""));
        const TSettingsFile file = ParseSettingsFile(text);
        QCOMPARE(file.Named.size(), TextFields().size() + ChoiceFields().size() + FlagFields().size() + 1);
        TWorksheetSettings back;
        ApplyNamed(file, back);
        QCOMPARE(back.Operation, TOperation::Subtraction);
        QVERIFY(back.CarryMarks);
        for (const TTextField& field : TextFields()) QCOMPARE(back.*field.Member, settings.*field.Member);
        for (const TChoiceField& field : ChoiceFields()) QCOMPARE(back.*field.Member, settings.*field.Member);
    }

    void settingsFileNamesOnlyWhatItHolds()
    {
        const TSettingsFile file = ParseSettingsFile(
            R"({"format": "tavelin-settings", "version": 1, "u2h": 5, "AnsHigh": 99999, "rgWaku": 1, "comment": "x"})");
        // A first-version file is a multiplication without marks.
        QCOMPARE(file.Named, (std::set<std::string>{"u2h", "AnsHigh", "rgWaku", "operation", "CarryMarks"}));
        TWorksheetSettings target;
        target.PrnNum = "12";
        ApplyNamed(file, target);
        QCOMPARE(target.u2h, std::string("5"));
        QCOMPARE(target.AnsHigh, std::string("99999"));
        QCOMPARE(target.Waku, 1);
        QCOMPARE(target.PrnNum, std::string("12"));
    }

    void settingsFileRefusals_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("says");
        const QByteArray head = R"({"format": "tavelin-settings", "version": 1, )";
        QTest::newRow("broken JSON") << QByteArray("{\n\"format\": \"tavelin-settings\",\n\"u1l\" \"1\"\n}") << "3 行目";
        QTest::newRow("not an object") << QByteArray("[1, 2]") << "ひとつのまとまりではありません";
        QTest::newRow("another format") << QByteArray(R"({"format": "other", "version": 1})") << "設定ファイルではありません";
        QTest::newRow("no format") << QByteArray(R"({"version": 1})") << "設定ファイルではありません";
        QTest::newRow("newer version") << QByteArray(R"({"format": "tavelin-settings", "version": 3})") << "version 3";
        QTest::newRow("no version") << QByteArray(R"({"format": "tavelin-settings"})") << "「version」";
        QTest::newRow("digit too long") << head + R"("u1l": "12"})" << "「u1l」の値「12」は長すぎます（1 文字まで）";
        QTest::newRow("answer too long") << head + R"("AnsLow": "1234567890"})" << "「AnsLow」";
        QTest::newRow("text as true") << head + R"("QstSentence": true})" << "「QstSentence」の値が文字列ではありません";
        QTest::newRow("choice too big") << head + R"("rgKuriagari": 6})" << "「rgKuriagari」の値 6 は範囲外です（0～5）";
        QTest::newRow("choice negative") << head + R"("QNumPattern": -1})" << "「QNumPattern」";
        QTest::newRow("choice as text") << head + R"("rgWaku": "1"})" << "「rgWaku」の値が整数ではありません";
        QTest::newRow("choice fraction") << head + R"("rgWaku": 0.5})" << "「rgWaku」の値が整数ではありません";
        QTest::newRow("operation unknown") << head + R"("operation": "plus"})" << "「operation」";
        QTest::newRow("operation as number") << head + R"("operation": 1})" << "「operation」";
        QTest::newRow("marks as number") << head + R"("CarryMarks": 1})" << "「CarryMarks」";
        QTest::newRow("three-digit divisor") << head + R"("operation": "division", "d3h": "1"})" << "「d3h」";
        QTest::newRow("remainder choice") << head + R"("rgAmari": 3})" << "「rgAmari」";
        // Out of any range: checked before it becomes a number.
        QTest::newRow("huge choice") << head + R"("rgKuriagari": 1e300})" << "「rgKuriagari」の値 1e+300 は範囲外です";
        QTest::newRow("huge version") << QByteArray(R"({"format": "tavelin-settings", "version": 1e300})") << "新しい版";
        QTest::newRow("choice above int") << head + R"("rgWaku": 3000000000})" << "「rgWaku」の値 3000000000 は範囲外です";
        QTest::newRow("sentence too long for its box")
            << head + "\"QstSentence\": \"" + QByteArray(200000, 'a') + "\"}" << "「QstSentence」の値「aaaaaaaaaaaaaaaaaaaa…」は長すぎます（32767 文字まで）";
        QTest::newRow("JSON in words") << QByteArray("{\"format\" \"tavelin-settings\"}") << "名前のあとに「:」がありません";
        QTest::newRow("not UTF-8") << head + "\"QstSentence\": \"\xff\"}" << "UTF-8";
    }

    void settingsFileRefusals()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, says);
        const QString message = Refusal([&] { ParseSettingsFile(text); });
        QVERIFY2(message.contains(says), qPrintable(message));
    }

    void everyPresetFillsAClassSetOfItsKind()
    {
        // The name says the digit counts ("3けた＋3けた", "2けた・3けた×1けた",
        // "何十×1けた") and the pattern, in the words of its unit.
        const std::pair<const char*, int32_t> patterns[] = {
            {"なし", 1},          {"一の位から", 2},     {"一の位で", 2},          {"十の位", 3},
            {"2回", 4},           {"百の位へ", 4},       {"またくり上がり", 5},    {"1でまたくり上がる", 5},
            {"0をこえる", 5},     {"はじめの位から商が立つ", 1}, {"はじめの位に商が立たない", 2},
            {"商に0が立つ", 3},   {"仮商の修正なし", 4}, {"仮商の修正あり", 5},
        };
        const std::pair<const char*, int32_t> remainders[] = {{"あまりなし", 1}, {"あまりあり", 2}};
        const QRegularExpression numbers("^(?:0のある)?(?:(\\d)けた(?:・(\\d)けた)?|(何十))([×＋−÷])(?:(\\d)けた|(何十))");
        QVERIFY(Presets().size() >= 8 + 8 + 12);
        std::set<std::string> names;
        for (const TPreset& preset : Presets()) {
            const QString name = QString::fromStdString(preset.Name);
            QVERIFY2(names.insert(preset.Name).second, qPrintable(name));
            const auto match = numbers.match(name);
            QVERIFY2(match.hasMatch(), qPrintable(name));
            int32_t pattern = 0, remainder = 0;
            QString words = name;
            for (const auto& [said, r] : remainders)
                if (words.contains(QString::fromUtf8(said))) remainder = r, words.remove(QString::fromUtf8(said));
            for (const auto& [said, p] : patterns)
                if (words.contains(QString::fromUtf8(said))) pattern = p;
            const TWorksheetSettings& s = preset.Settings.Values;
            QVERIFY2(s.Kuriagari == pattern && s.Amari == remainder, qPrintable(name));
            QCOMPARE(QString::fromUtf8(RulesOf(s.Operation).Sign), match.captured(4));
            // Every digit box, the answer range, the pattern, the count, the
            // remainder and the operation; never the sentence or the number.
            QCOMPARE(preset.Settings.Named.size(), 16u + 2 + 2 + 1 + 1 + (s.PartialSumCarry ? 1 : 0));
            QVERIFY(!preset.Settings.Named.count("QstSentence") && !preset.Settings.Named.count("PrnNum"));
            const std::set<int> firstDigits = match.captured(3).isEmpty()
                                                  ? std::set<int>{match.captured(1).toInt(), match.captured(2).isEmpty() ? match.captured(1).toInt() : match.captured(2).toInt()}
                                                  : std::set<int>{2};
            const int secondDigits = match.captured(6).isEmpty() ? match.captured(5).toInt() : 2;
            const bool mayEndInZero = name.contains("何十") || name.contains("0");

            // A class set of 35 sheets: no short sheet, no two alike, and at
            // least 60 different problems.
            RandomState = 20261207u;
            const TClassSet set = MakeClassSet(s, 35, 1);
            QVERIFY2(set.ShortSheets.empty(), qPrintable(name));
            std::set<std::vector<std::pair<int32_t, int32_t>>> sheets;
            std::set<std::pair<int32_t, int32_t>> problems;
            int endingInZero = 0, all = 0;
            for (const TSheet& sheet : set.Sheets) {
                std::vector<std::pair<int32_t, int32_t>> pairs;
                for (const TSheetProblem& p : sheet.Problems) {
                    const QString text = name + ": " + QString::number(p.First) + ", " + QString::number(p.Second);
                    QVERIFY2(firstDigits.count(static_cast<int>(std::to_string(p.First).size())), qPrintable(text));
                    QCOMPARE(static_cast<int>(std::to_string(p.Second).size()), secondDigits);
                    const bool meets = s.Operation == TOperation::Multiplication ? MeetsMode(pattern, p.First, p.Second)
                                       : s.Operation == TOperation::Addition ? MeetsAdditionPattern(pattern, p.First, p.Second)
                                       : s.Operation == TOperation::Subtraction
                                           ? MeetsSubtractionPattern(pattern, p.First, p.Second)
                                           : MeetsDivisionPattern(pattern, remainder, p.First, p.Second);
                    QVERIFY2(meets, qPrintable(text));
                    if (name.contains("部分積のたし算でくり上がる"))  // the two partial products, added
                        QVERIFY2(!MeetsAdditionPattern(1, p.First * (p.Second % 10), p.First * (p.Second / 10) * 10),
                                 qPrintable(text));
                    pairs.emplace_back(p.First, p.Second);
                    problems.emplace(p.First, p.Second);
                    endingInZero += p.First % 10 == 0;
                    ++all;
                }
                sheets.insert(pairs);
            }
            QCOMPARE(sheets.size(), set.Sheets.size());
            QVERIFY2(problems.size() >= 60, qPrintable(name + QStringLiteral(": %1").arg(problems.size())));
            QVERIFY2(mayEndInZero || endingInZero * 10 <= all, qPrintable(name));
        }
        QVERIFY(FindPreset(Presets().back().Name) == &Presets().back());
        QVERIFY(FindPreset("ない") == nullptr);
        // Textbook units of every operation, the multiplication's new ones among them.
        std::map<TOperation, int> counts;
        for (const TPreset& preset : Presets()) ++counts[preset.Settings.Values.Operation];
        QVERIFY(counts[TOperation::Multiplication] >= 12 && counts[TOperation::Addition] >= 8 &&
                counts[TOperation::Subtraction] >= 8 && counts[TOperation::Division] >= 8);
        for (const char* name : {"何十×1けた", "0のある3けた×1けた", "2けた×2けた（部分積のたし算でくり上がる）",
                                 "2けた＋2けた（くり上がりなし）", "3けた＋3けた（くり上がり2回）", "3けた−3けた（0をこえるくり下がり）",
                                 "2けた÷1けた（あまりなし）", "3けた÷1けた（商に0が立つ）", "3けた÷2けた（仮商の修正あり）"})
            QVERIFY2(FindPreset(name), name);
    }

    // What a teacher notices in a preset's sheets.
    void presetsDrawWhatTheirUnitTeaches()
    {
        struct TCase {
            const char* Preset;
            std::function<bool(const TSheetProblem&)> Unwanted;
            int MostPerCent;
        } cases[] = {
            // A 筆算 unit of 2けた÷1けた: two-digit quotients, not 九九 facts.
            {"2けた÷1けた（あまりなし）", [](const TSheetProblem& p) { return p.Answer < 10; }, 0},
            {"2けた÷1けた（あまりあり）", [](const TSheetProblem& p) { return p.Answer < 10; }, 0},
            // No 22−22=0, and few one-digit answers.
            {"2けた−2けた（くり下がりなし）", [](const TSheetProblem& p) { return p.Answer < 10; }, 10},
            // Every pair that carries when its partial products are added,
            // not only 91–99 × 14–48.
            {"2けた×2けた（部分積のたし算でくり上がる）", [](const TSheetProblem& p) { return p.First >= 90; }, 30},
        };
        for (const TCase& c : cases) {
            const TPreset* preset = FindPreset(c.Preset);
            QVERIFY2(preset, c.Preset);
            RandomState = 7u;
            const TClassSet set = MakeClassSet(preset->Settings.Values, 30, 1);
            int unwanted = 0, all = 0;
            for (const TSheet& sheet : set.Sheets)
                for (const TSheetProblem& p : sheet.Problems) {
                    unwanted += c.Unwanted(p) ? 1 : 0;
                    ++all;
                    QVERIFY2(p.Answer != 0, c.Preset);
                    if (preset->Settings.Values.PartialSumCarry) QVERIFY(PartialProductsCarry(p.First, p.Second));
                }
            QVERIFY2(unwanted * 100 <= c.MostPerCent * all, qPrintable(QStringLiteral("%1: %2 of %3").arg(c.Preset).arg(unwanted).arg(all)));
        }
        // The partial products of 38 × 27: 266 and 76(0) add with carries; 21 × 13: 63 and 21(0) do not.
        QVERIFY(PartialProductsCarry(38, 27));
        QVERIFY(!PartialProductsCarry(21, 13));
        QVERIFY(!PartialProductsCarry(99, 9));
    }

    void classSetPageOrder_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("pages");  // sheet index, "a" for its answer sheet
        QTest::newRow("problems only") << static_cast<int>(TAnswerOrder::None) << "0 1 2";
        QTest::newRow("answers after") << static_cast<int>(TAnswerOrder::After) << "0 1 2 0a 1a 2a";
        QTest::newRow("each with its answers") << static_cast<int>(TAnswerOrder::Each) << "0 0a 1 1a 2 2a";
    }

    void classSetPageOrder()
    {
        QFETCH(int, order);
        QFETCH(QString, pages);
        QStringList got;
        for (const auto& [index, answers] : PageOrder(3, static_cast<TAnswerOrder>(order)))
            got << QString::number(index) + (answers ? "a" : "");
        QCOMPARE(got.join(' '), pages);
    }

    void classSetSheetsAreFreshRunsWithConsecutiveNumbers()
    {
        TWorksheetSettings settings = Presets().front().Settings.Values;
        ProblemTable.Clear();
        QuestionCount = 3;
        PrintNumber = 5;
        const TClassSet set = MakeClassSet(settings, 4, 2147483646);
        QCOMPARE(set.Sheets.size(), 4u);
        const std::vector<int32_t> numbers = {2147483646, 2147483647, -2147483647 - 1, -2147483647};
        for (size_t i = 0; i < 4; ++i) {
            QCOMPARE(set.Sheets[i].Number, numbers[i]);
            QCOMPARE(set.Sheets[i].Problems.size(), 16u);
        }
        QVERIFY(set.Sheets[0].Problems[0].First != set.Sheets[1].Problems[0].First ||
                set.Sheets[0].Problems[1].First != set.Sheets[1].Problems[1].First);
        QVERIFY(set.ShortSheets.empty());
        // The window's table, count and number are as they were.
        QCOMPARE(QuestionCount, 3);
        QCOMPARE(PrintNumber, 5);
        QVERIFY(ProblemTable[1].MultiplicandText.empty());
    }

    void classSetKeepsShortSheetsAndStopsOnTooFewProblems()
    {
        // Multiplicand 0 to 9, multiplier 1: ten problems where sixteen are asked.
        TWorksheetSettings settings;
        settings.u1h = "9";
        settings.d1l = settings.d1h = "1";
        settings.AnsHigh = "99";
        settings.QNumPattern = 1;
        const TClassSet set = MakeClassSet(settings, 2, 1);
        QCOMPARE(set.Sheets.size(), 2u);
        QCOMPARE(set.ShortSheets, (std::vector<int32_t>{1, 2}));
        QCOMPARE(set.Sheets[0].Problems.size(), 10u);

        settings.u1h = "2";  // three problems: too few for a sheet
        try {
            MakeClassSet(settings, 5, 1);
            QFAIL("made");
        } catch (const EShortfall& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("今の条件では、指定された問題数が確保できません。"));
        }
        int asked = 0;
        QVERIFY_THROWS_EXCEPTION(EAbort, MakeClassSet(Presets().front().Settings.Values, 5, 1,
                                                      [&](int) { return ++asked < 2; }));
        QCOMPARE(asked, 2);
    }

    void csvHasTheProblemsOnThePage()
    {
        TSheet sheet;
        sheet.Settings.Operation = TOperation::Subtraction;
        sheet.Number = 12;
        for (int32_t k = 0; k < 5; ++k) sheet.Problems.push_back(RulesOf(TOperation::Subtraction).Solve(302 + k, 158));
        TSheet product = sheet;
        product.Settings.Operation = TOperation::Multiplication;
        product.Number = -3;
        product.Problems = {RulesOf(TOperation::Multiplication).Solve(123, 45)};
        for (int k = 0; k < 3; ++k) product.Problems.push_back(product.Problems.front());
        const QStringList lines = QString::fromUtf8(SheetsCsv({sheet, product})).split('\n');
        // Only whole rows of four are on a page: the fifth problem is not.
        QCOMPARE(lines, (QStringList{"sheet,problem,operation,first,second,answer,remainder",
                                     "12,1,subtraction,302,158,144,", "12,2,subtraction,303,158,145,",
                                     "12,3,subtraction,304,158,146,", "12,4,subtraction,305,158,147,",
                                     "-3,1,multiplication,123,45,5535,", "-3,2,multiplication,123,45,5535,",
                                     "-3,3,multiplication,123,45,5535,", "-3,4,multiplication,123,45,5535,", ""}));
    }

    void recordedSheetIsDrawnExactlyAsRecorded()
    {
        THistorySheet recorded;
        recorded.Number = 12;
        recorded.Problems = {{123, 45}, {7, 8}, {12, 3456}, {9, 9}, {0, 5}};
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
        QVERIFY(!texts.count("5"));  // the fifth problem is not on a row of four
        QCOMPARE(ProblemTable[1].MultiplicandText, before);
        QCOMPARE(QuestionCount, 16);
        QCOMPARE(ShowAnswers, 0);

        TSheet sheet = reopened.Sheet;
        sheet.Settings.u3h = "9";
        sheet.Settings.Kuriagari = kmOnesCarry;
        const THistorySheet again = HistorySheetOf(sheet, true, "/tmp/x.pdf");
        // Only what is on the page is recorded: the fifth problem is not.
        QCOMPARE(again.Problems, std::vector<THistorySheet::TProblemPair>(recorded.Problems.begin(), recorded.Problems.begin() + 4));
        QCOMPARE(again.Summary, std::string("かけ算 3けた×1けた・一位あり十位なし・4問"));
        QVERIFY(ParseSettingsFile(QByteArray::fromStdString(again.Settings)).Values.PrnNum == "12");
    }
};

QTEST_MAIN(SheetsTest)
#include "sheets_test.moc"
