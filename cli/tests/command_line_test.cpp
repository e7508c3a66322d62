// The command line: options, exit statuses, messages, the PDFs it writes and
// the history it records.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSet>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>

#include <fstream>
#include <sstream>

#include "cli/command_line.h"
#include "history/history.h"
#include "render/qt_fonts.h"
#include "pdf_reading.h"
#include "sheets/presets.h"
#include "sheets/whole_file.h"
#include "worksheet/decimal.h"
#include "worksheet/wrong_procedures.h"
#include "worksheet/operations.h"

namespace {

// A path as the file layer takes it: bytes.
std::string Bytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

struct TRun {
    int Status;
    QString Out, Err;
};

TRun Run(const QStringList& arguments)
{
    std::vector<std::string> args;
    for (const QString& a : arguments) args.push_back(a.toStdString());
    std::ostringstream out, err;
    const int status = RunCommandLine(args, out, err);
    return {status, QString::fromStdString(out.str()), QString::fromStdString(err.str())};
}

QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start("pdftotext", {"-raw", pdf, "-"});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int Pages(const QString& pdf)
{
    QProcess process;
    process.start("pdfinfo", {pdf});
    process.waitForFinished(60000);
    return QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromUtf8(process.readAllStandardOutput())).captured(1).toInt();
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

    QString Path(const QString& name) { return folder.filePath(name); }

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", Path("data").toUtf8());
        RegisterFontSubstitutes();
        QFile settings(Path("day1.json"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(R"({"format": "tavelin-settings", "version": 2, "u1h": "9", "d1l": "2", "d1h": "9", "AnsHigh": "99"})");
        settings.close();
        QFile broken(Path("broken.json"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(R"({"format" "tavelin-settings"})");
        QVERIFY(QFile::link(Path("loop"), Path("loop")));
        const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(Path("socket"));
        std::memcpy(address.sun_path, socketPath.constData(), static_cast<size_t>(socketPath.size()));
        QVERIFY(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
        QFile huge(Path("huge.json"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        huge.write(R"({"format": "tavelin-settings", "version": 2, "PrnNum": 1e300})");
        QFile protectedPdf(Path("protected.pdf"));
        QVERIFY(protectedPdf.open(QIODevice::WriteOnly));
        protectedPdf.write("old");
        protectedPdf.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    void badOptionsAreRefusedWithStatusOne_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown") << QStringList{"--bogus"} << "「--bogus」というオプションはありません";
        QTest::newRow("nothing to do") << QStringList{"--paper", "A4"} << "のどれかが必要です";
        QTest::newRow("missing value") << QStringList{"--pdf"} << "「--pdf」には値が必要です";
        QTest::newRow("too many sheets") << QStringList{"--pdf", "x.pdf", "--sheets", "100"} << "1～99 の整数ではありません";
        QTest::newRow("sheets not a number") << QStringList{"--pdf", "x.pdf", "--sheets=ten"} << "「ten」は 1～99";
        QTest::newRow("answers") << QStringList{"--pdf", "x.pdf", "--answers", "both"} << "none、after、each";
        QTest::newRow("paper") << QStringList{"--pdf", "x.pdf", "--paper", "Letter"} << "A4、B5、B4、A3";
        QTest::newRow("settings and preset") << QStringList{"--pdf", "x.pdf", "--settings", "a.json", "--preset", "x"}
                                             << "一緒には使えません";
        QTest::newRow("no such preset") << QStringList{"--pdf", "x.pdf", "--preset", "ない"} << "プリセット「ない」はありません";
        QTest::newRow("missing settings file") << QStringList{"--pdf", "x.pdf", "--settings", "/nonexistent.json"}
                                               << "を開けません";
        QTest::newRow("bad number") << QStringList{"--pdf", "x.pdf", "--number", "1e3"}
                                    << "オプション「--number」の値「1e3」は整数ではありません。";
        QTest::newRow("twice") << QStringList{"--pdf", "a.pdf", "--pdf", "b.pdf"} << "二度あります";
        QTest::newRow("limit with pdf") << QStringList{"--pdf", "x.pdf", "--limit", "3"} << "一緒には使えません";
        QTest::newRow("history-pdf without file") << QStringList{"--history-pdf", "1"} << "ファイル名が必要です";
        QTest::newRow("each for a recorded sheet") << QStringList{"--history-pdf", "1", "x.pdf", "--answers", "each"}
                                                   << "none、after のどれでも";
        QTest::newRow("number names its option") << QStringList{"--pdf", "x.pdf", "--number", "abc"}
                                                 << "オプション「--number」の値「abc」は整数ではありません。";
        QTest::newRow("id names its option") << QStringList{"--history-pdf", "abc", "x.pdf"}
                                             << "オプション「--history-pdf」の値「abc」は 1 以上の整数ではありません。";
        // Decimal digits only: no hexadecimal count of sheets.
        for (const char* hex : {"x10", "$10", "0x10"})
            QTest::newRow(hex) << QStringList{"--pdf", "x.pdf", "--sheets", hex} << "は 1～99 の整数ではありません。";
        QTest::newRow("problems") << QStringList{"--pdf", "x.pdf", "--problems", "10"} << "「--problems」の値「10」は";
        QTest::newRow("six in 標準") << QStringList{"--pdf", "x.pdf", "--problems", "6", "--cell", "0"}
                                     << "6 問は、大きなマス（--cell）のときだけです";
        QTest::newRow("cell too small") << QStringList{"--pdf", "x.pdf", "--cell", "5"} << "「--cell」の値「5」は 0 か 7～20";
        QTest::newRow("cells that do not fit")
            << QStringList{"--pdf", Path("x.pdf"), "--preset", "2けた＋2けた（くり上がりなし）", "--cell", "20", "--problems", "16"}
            << "大きなマス 20 mm では、A4 の用紙に 16 問がのりません。16 問なら 11 mm まで";
        QTest::newRow("grid") << QStringList{"--pdf", "x.pdf", "--grid", "maybe"} << "yes、no のどれでもありません";
        QTest::newRow("marks take no value") << QStringList{"--pdf", "x.pdf", "--marks=yes"} << "「--marks」は値をとりません";
        QTest::newRow("number in a settings file") << QStringList{"--pdf", "x.pdf", "--settings", Path("huge.json")}
                                                   << "huge.json」: 設定「PrnNum」の値 1e+300 は整数ではありません。";
        QTest::newRow("a number first") << QStringList{"1", "--history-pdf", "h.pdf"} << "「1」というオプションはありません";
        QTest::newRow("system errors in Japanese") << QStringList{"--pdf", "x.pdf", "--settings", "/nonexistent.json"}
                                                   << "（ファイルやフォルダがありません）";
        QTest::newRow("JSON errors in Japanese") << QStringList{"--pdf", "x.pdf", "--settings", Path("broken.json")}
                                                 << "1 行目が読めません（名前のあとに「:」がありません）";
        // Never written where a PDF must not go.
        const QStringList preset{"--preset", Presets()[0].Name.c_str()};
        QTest::newRow("empty name") << QStringList{"--pdf="} + preset << "ファイルの名前がありません";
        QTest::newRow("a device") << QStringList{"--pdf", "/dev/null"} + preset << "「/dev/null」はふつうのファイルではありません";
        QTest::newRow("its settings file") << QStringList{"--pdf", Path("day1.json"), "--settings", Path("day1.json")}
                                           << "このプログラムが使っているファイル";
        QTest::newRow("the history") << QStringList{"--pdf", QString::fromStdString(DefaultHistoryPath())} + preset
                                     << "このプログラムが使っているファイル";
        QTest::newRow("unwritable file") << QStringList{"--pdf", "/nonexistent/x.pdf", "--preset", Presets()[0].Name.c_str()}
                                         << "フォルダ「/nonexistent」がありません";
        QTest::newRow("write-protected file") << QStringList{"--pdf", Path("protected.pdf")} + preset << "書き込み禁止のファイル";
        // The CSV's place is checked as the PDF's is, before anything is made.
        QTest::newRow("csv on the pdf") << QStringList{"--pdf", Path("same.x"), "--csv", Path("same.x")} + preset
                                        << "同じファイル「" + Path("same.x") + "」は使えません";
        QTest::newRow("csv without a name") << QStringList{"--pdf", Path("x.pdf"), "--csv="} + preset << "ファイルの名前がありません";
        QTest::newRow("csv empty") << QStringList{"--pdf", Path("x.pdf"), "--csv", ""} + preset << "ファイルの名前がありません";
        QTest::newRow("csv a device") << QStringList{"--pdf", Path("x.pdf"), "--csv", "/dev/null"} + preset
                                      << "「/dev/null」はふつうのファイルではありません";
        QTest::newRow("diagnostic of what") << QStringList{"--pdf", Path("x.pdf"), "--diagnostic", "fractions"}
                                            << "「fractions」は subtraction、addition、multiplication、division、decimal-addition、";
        QTest::newRow("diagnostic of eight") << QStringList{"--pdf", Path("x.pdf"), "--diagnostic", "addition", "--problems", "8"}
                                             << "「--diagnostic」と「--problems」は一緒には使えません";
        QTest::newRow("diagnostic in cells too large") << QStringList{"--pdf", Path("x.pdf"), "--diagnostic", "division", "--cell", "20"}
                                                       << "大きなマス 20 mm では、A4 の用紙に診断プリントの 12 問がのりません（診断プリントの問題は減らせません）。";
        QTest::newRow("a decimal remainder with 出席番号")
            << QStringList{"--pdf", Path("x.pdf"), "--preset", "5年 小数÷小数（商は一の位まで・あまりあり）", "--cell", "12", "--roll-numbers"}
            << "あまりや概数の答えはマスの外に書くので読み取れません";
        QTest::newRow("a decimal diagnostic sheet with reading marks")
            << QStringList{"--pdf", Path("x.pdf"), "--diagnostic", "decimal-division", "--cell", "12", "--reading-marks", "yes"}
            << "「--reading-marks」と「--roll-numbers」をはずしてください";
        QTest::newRow("reading marks maybe") << QStringList{"--pdf", Path("x.pdf"), "--reading-marks", "maybe"}
                                             << "「--reading-marks」の値「maybe」は yes、no のどれでもありません";
        QTest::newRow("diagnostic without pdf") << QStringList{"--diagnostic", "addition"} << "のどれかが必要です";
        QTest::newRow("diagnose nothing") << QStringList{"--diagnose"} << "履歴の番号と 12 問の答えが必要です";
        // The system's troubles in Japanese with their cause, never in English.
        QTest::newRow("a link that loops") << QStringList{"--pdf", Path("loop/x.pdf")} + preset << "リンクのたどり先が多すぎます";
        QTest::newRow("a socket for settings") << QStringList{"--pdf", "x.pdf", "--settings", Path("socket")}
                                               << "を開けません（その装置がありません）";
    }

    void badOptionsAreRefusedWithStatusOne()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const TRun run = Run(arguments);
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.contains(message), qPrintable(run.Err));
        QVERIFY(run.Out.isEmpty());
        QVERIFY2(!run.Err.contains(QRegularExpression("[A-Za-z]{4,} [a-z]{2,} ")), qPrintable(run.Err));  // no English sentence
        // Nothing is written.
        for (const char* name : {"x.pdf", "same.x"}) QVERIFY(!QFile::exists(Path(name)));
        QCOMPARE(QFileInfo(Path("protected.pdf")).size(), 3);
    }

    void shortfallStopsTheSetWithStatusTwo()
    {
        // The default settings give one problem: 0 × 0.
        const TRun run = Run({"--pdf", Path("short.pdf"), "--sheets", "3"});
        QCOMPARE(run.Status, 2);
        QCOMPARE(run.Err, QStringLiteral("今の条件では、指定された問題数が確保できません。\n"));
        QVERIFY(!QFile::exists(Path("short.pdf")));
        // A diagnostic sheet of a multiplication whose digits give one problem.
        const TRun diagnostic = Run({"--pdf", Path("short.pdf"), "--diagnostic", "multiplication", "--settings", Path("broken.json")});
        QCOMPARE(diagnostic.Status, 1);
        QFile zero(Path("zero.json"));
        QVERIFY(zero.open(QIODevice::WriteOnly));
        zero.write(R"({"format": "tavelin-settings", "version": 2, "operation": "multiplication"})");
        zero.close();
        const TRun few = Run({"--pdf", Path("short.pdf"), "--diagnostic", "multiplication", "--settings", Path("zero.json")});
        QCOMPARE(few.Status, 2);
        QCOMPARE(few.Err, QStringLiteral("今の条件では、指定された問題数が確保できません。\n"));
        QVERIFY(!QFile::exists(Path("short.pdf")));
    }

    void classSetIsOnePdfRecordedInTheHistory()
    {
        const qint64 before = THistory(DefaultHistoryPath()).Count();
        const QString pdf = Path("クラス.pdf");
        const TRun run = Run({"--pdf", pdf, "--preset", "2けた×1けた（十の位でくり上がり）", "--sheets", "3",
                              "--answers", "each", "--number", "16", "--paper", "B5"});
        QCOMPARE(run.Status, 0);
        QVERIFY2(run.Out.contains("3枚（No.16～No.18）"), qPrintable(run.Out + run.Err));
        QCOMPARE(Pages(pdf), 6);
        const QString text = PdfText(pdf);
        QCOMPARE(text.count("問題No.16"), 2);
        QVERIFY(text.indexOf("問題No.16") < text.indexOf("問題No.17"));

        THistory history(DefaultHistoryPath());
        QCOMPARE(history.Count(), before + 3);
        const auto newest = history.List(1).front();
        QCOMPARE(newest.Number, 18);
        QVERIFY(newest.WithAnswers);
        QCOMPARE(QString::fromStdString(newest.Destination), QFileInfo(pdf).absoluteFilePath());

        // Listed newest first, and drawn again exactly.
        const TRun listed = Run({"--history", "--limit", "2"});
        QCOMPARE(listed.Status, 0);
        const QStringList lines = listed.Out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        // Where it went, and whether its answers went with it.
        QVERIFY2(lines[0].contains(QRegularExpression(
                     QStringLiteral("^\\d+\\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d\\tNo\\.18\\tかけ算 2けた×1けた・一位なし十位あり・16問\\t答えつき\\t") +
                     QRegularExpression::escape(QFileInfo(pdf).absoluteFilePath()) + "$")),
                 qPrintable(lines[0]));
        const QString again = Path("again.pdf");
        QCOMPARE(Run({"--history-pdf", QString::number(newest.Id), again, "--answers", "after"}).Status, 0);
        QCOMPARE(Pages(again), 2);
        const QString recorded = text.section("問題No.18", 1, 1);
        QCOMPARE(PdfText(again).section("問題No.18", 1, 1).left(60), recorded.left(60));
        QCOMPARE(Run({"--history-pdf", "999999", again}).Status, 1);
    }

    void subtractionSetWithItsAnswersAsCsv()
    {
        const QString pdf = Path("ひき算.pdf"), csv = Path("答え.csv");
        const TRun run = Run({"--pdf", pdf, "--preset", "3けた−3けた（0をこえるくり下がり）", "--sheets", "2", "--answers",
                              "after", "--csv", csv});
        QCOMPARE(run.Status, 0);
        QCOMPARE(Pages(pdf), 4);
        QVERIFY(PdfText(pdf).contains("ひき算"));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        // The preset's twelve problems, in 大きなマス of 10 mm.
        QCOMPARE(lines.size(), 1 + 2 * 12);
        QCOMPARE(lines[0], QStringLiteral("sheet,problem,operation,first,second,answer,remainder"));
        for (const QString& line : lines.mid(1)) {
            const QStringList f = line.split(',');
            QCOMPARE(f.size(), 7);
            QCOMPARE(f[2], QStringLiteral("subtraction"));
            QCOMPARE(f[3].toInt() - f[4].toInt(), f[5].toInt());
            QVERIFY(f[3].mid(f[3].size() - 2, 1) == "0");  // a 0 in the tens lends
            QVERIFY(f[6].isEmpty());
        }
        const int64_t id = THistory(DefaultHistoryPath()).List(1).front().Id;
        QVERIFY(QString::fromStdString(THistory(DefaultHistoryPath()).List(1).front().Summary).startsWith("ひき算 3けた−3けた"));
        const QString again = Path("again.csv");
        QCOMPARE(Run({"--history-pdf", QString::number(id), Path("again.pdf"), "--csv", again}).Status, 0);
        QFile reprinted(again);
        QVERIFY(reprinted.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(reprinted.readAll()).split('\n', Qt::SkipEmptyParts), QStringList{lines[0]} + lines.mid(13));
    }

    // A preset of decimals: its CSV with points and the remainder's point
    // where the dividend's stood; the history's reprint the same problems.
    void decimalsWithTheirPoints()
    {
        const QString pdf = Path("小数.pdf"), csv = Path("小数.csv");
        const TRun run = Run({"--pdf", pdf, "--preset", "5年 小数÷小数（商は一の位まで・あまりあり）", "--answers", "after", "--csv", csv});
        QCOMPARE(run.Status, 0);
        QVERIFY(PdfText(pdf).contains("小数のわり算"));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 12);
        for (const QString& line : lines.mid(1)) {
            const QStringList f = line.split(',');
            QCOMPARE(f[2], QStringLiteral("decimal-division"));
            // 7.4 ÷ 0.3 = 24 あまり 0.2: in tenths, 74 = 3 × 24 + 2.
            const int dividend = qRound(f[3].toDouble() * 10), divisor = qRound(f[4].toDouble() * 10);
            QVERIFY(f[4].startsWith("0.") && !f[5].contains('.') && f[6].startsWith("0."));
            QCOMPARE(divisor * f[5].toInt() + qRound(f[6].toDouble() * 10), dividend);
        }
        const int64_t id = THistory(DefaultHistoryPath()).List(1).front().Id;
        const QString again = Path("小数again.csv");
        QCOMPARE(Run({"--history-pdf", QString::number(id), Path("小数again.pdf"), "--csv", again}).Status, 0);
        QFile reprinted(again);
        QVERIFY(reprinted.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(reprinted.readAll()).split('\n', Qt::SkipEmptyParts), lines);

        // A diagnostic sheet of decimals, its key naming the remainder's point
        // taken from the moved point; a pupil's answers read back by id.
        const QString diagnostic = Path("小数診断.pdf");
        QCOMPARE(Run({"--pdf", diagnostic, "--diagnostic", "decimal-division", "--answers", "after", "--seed", "3"}).Status, 0);
        QVERIFY(PdfText(diagnostic).contains("あまりの小数点を、移した小数点にそろえる"));
        const THistorySheet recorded = THistory(DefaultHistoryPath()).List(1).front();
        QVERIFY(recorded.Diagnostic && recorded.Operation == "decimal-division");
        QStringList answers{"--diagnose", QString::number(recorded.Id)};
        const THistorySheet kept = *THistory(DefaultHistoryPath()).Find(recorded.Id);
        for (const THistorySheet::TProblem& p : kept.Problems)
            answers << QString::fromStdString(DecimalText(p.Answer, p.AnswerPlaces) +
                                              (p.Remainder ? "あまり" + DecimalText(p.Remainder, p.RemainderPlaces) : ""));
        const TRun read = Run(answers);
        QCOMPARE(read.Status, 0);
        QVERIFY2(read.Out.startsWith("correct\t"), qPrintable(read.Out));
    }

    // Diagnostic sheets: a set of different sheets, each with its key, in the
    // history as diagnostic sheets; a pupil's answers read back by id.
    void diagnosticSheetsAndTheirReading()
    {
        const QString pdf = Path("診断.pdf"), csv = Path("診断.csv");
        const TRun run = Run({"--pdf", pdf, "--diagnostic", "subtraction", "--sheets", "2", "--answers", "after",
                              "--seed", "7", "--number", "30", "--csv", csv});
        QCOMPARE(run.Status, 0);
        QVERIFY2(run.Out.contains("診断プリント 2枚（No.30～No.31） --seed 7"), qPrintable(run.Out + run.Err));
        QVERIFY2(run.Err.isEmpty(), qPrintable(run.Err));
        QCOMPARE(Pages(pdf), 4);
        const QString text = PdfText(pdf);
        QCOMPARE(text.count("ひき算（診断）"), 4);
        QCOMPARE(text.count("記号の意味"), 2);
        QCOMPARE(text.count("正答 "), 24);

        THistory history(DefaultHistoryPath());
        const std::vector<THistorySheet> listed = history.List(2);
        QVERIFY(listed[0].Diagnostic && listed[1].Diagnostic);
        QCOMPARE(QString::fromStdString(listed[0].Summary), QStringLiteral("診断プリント・ひき算・12問"));
        const THistorySheet sheet = *history.Find(listed[0].Id);
        QVERIFY(sheet.Problems != history.Find(listed[1].Id)->Problems);
        // Every key names the right answer of its problem, and a reprint has its key again.
        for (const auto& p : sheet.Problems) QVERIFY(text.contains(QStringLiteral("正答 %1").arg(p.Answer)));
        QCOMPARE(Run({"--history-pdf", QString::number(sheet.Id), Path("再.pdf"), "--answers", "after"}).Status, 0);
        QCOMPARE(PdfText(Path("再.pdf")).count("記号の意味"), 1);

        // A pupil who never lowers the digit lent from, one answer left
        // blank, one slipped.
        QStringList answers{"--diagnose", QString::number(sheet.Id)};
        for (const auto& p : sheet.Problems) {
            int64_t written = 0, place = 1;
            for (int a = p.First, b = p.Second; a > 0; a /= 10, b /= 10, place *= 10)
                written += place * (a % 10 < b % 10 ? a % 10 + 10 - b % 10 : a % 10 - b % 10);
            answers << QString::number(written);
        }
        answers[2] = "-";
        answers[3] = "１";  // full-width, read as 1
        const TRun read = Run(answers);
        QCOMPARE(read.Status, 0);
        const QStringList lines = read.Out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 13);
        QCOMPARE(lines[0], QStringLiteral("borrow-no-decrement\tくり下げた10を使うが、となりの位の数字を1へらしていない\t10"));
        QVERIFY2(lines[1].startsWith(QStringLiteral("1\t%1−%2\t-\t-\t-").arg(sheet.Problems[0].First).arg(sheet.Problems[0].Second)),
                 qPrintable(lines[1]));
        QVERIFY2(lines[2].endsWith("\t1\t×\t-"), qPrintable(lines[2]));
        QVERIFY2(lines[3].contains("\t○\t") && lines[3].contains("borrow-no-decrement"), qPrintable(lines[3]));

        // Refused: a drill sheet, too few answers, a remainder in a subtraction.
        const int64_t drill = [&] {
            for (const THistorySheet& s : history.List(100))
                if (!s.Diagnostic) return s.Id;
            return int64_t{0};
        }();
        const struct {
            QStringList Arguments;
            QString Message;
        } refusals[] = {
            {{"--diagnose", QString::number(drill), "1"}, "は診断プリントではありません"},
            {{"--diagnose", "999999", "1"}, "番号 999999 のプリントはありません"},
            {{"--diagnose", QString::number(sheet.Id), "1", "2"}, "12 問の答えが必要です（2 個ありました）"},
            {answers + QStringList{"5"}, "12 問の答えが必要です（13 個ありました）"},
            {answers.mid(0, 3) + QStringList{"5あまり1"} + answers.mid(4), "にあまりがありますが、ひき算にあまりはありません"},
        };
        for (const auto& r : refusals) {
            const TRun refused = Run(r.Arguments);
            QCOMPARE(refused.Status, 1);
            QVERIFY2(refused.Err.contains(r.Message), qPrintable(refused.Err));
        }

        // Ranges that cannot tell the procedures apart: said, and the best sheet made.
        const TRun narrow = Run({"--pdf", Path("狭い.pdf"), "--diagnostic", "multiplication", "--settings", Path("day1.json")});
        QCOMPARE(narrow.Status, 0);
        QVERIFY2(narrow.Err.contains("見分けられる問題がそろいません") && narrow.Err.contains("・「正しい計算」、「") && narrow.Err.count("\n・") <= 3, qPrintable(narrow.Err));
    }

    // The program file under faults: a full disk (a file size limit here), a
    // full output, a history damaged further in.
    void theProgramFileUnderFaults()
    {
        const QString pdf = Path("limited.pdf");
        const qint64 before = THistory(DefaultHistoryPath()).Count();
        QProcess limited;
        limited.start("sh", {"-c", "trap '' XFSZ; ulimit -f 16; exec \"$0\" --pdf \"$1\" --preset \"$2\"", TAVELIN_PROGRAM,
                             pdf, QString::fromStdString(Presets()[0].Name)});
        QVERIFY(limited.waitForFinished(60000));
        QCOMPARE(limited.exitCode(), 1);
        QVERIFY2(QString::fromUtf8(limited.readAllStandardError()).contains("大きすぎて書けません"), "no reason");
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(THistory(DefaultHistoryPath()).Count(), before);  // nothing recorded

#ifndef __SANITIZE_ADDRESS__
        // Out of memory half-way through a class set: said in Japanese, status
        // 1, nothing half-written (the sanitizer's own reservations do not
        // run under a memory limit).
        QProcess starved;
        starved.start("sh", {"-c", "ulimit -v 110000; exec \"$0\" --pdf \"$1\" --preset \"$2\" --sheets 99 --answers after",
                             TAVELIN_PROGRAM, Path("starved.pdf"), QString::fromStdString(Presets()[0].Name)});
        QVERIFY(starved.waitForFinished(60000));
        const QString starvedErr = QString::fromUtf8(starved.readAllStandardError());
        QVERIFY2(starved.exitStatus() == QProcess::NormalExit && starved.exitCode() == 1 && starvedErr.contains("メモリが足りません"),
                 qPrintable(starvedErr));
        QVERIFY(!QFile::exists(Path("starved.pdf")));
#endif

        for (const QStringList& arguments : {QStringList{"--help"}, QStringList{"--list-presets"}, QStringList{"--history"}}) {
            QProcess full;
            full.setStandardOutputFile("/dev/full");
            full.start(TAVELIN_PROGRAM, arguments);
            QVERIFY(full.waitForFinished(60000));
            QCOMPARE(full.exitCode(), 1);
            QVERIFY(QString::fromUtf8(full.readAllStandardError()).contains("結果を書き出せませんでした（ディスクがいっぱいです）"));
        }

        // A PDF says what it holds.
        QCOMPARE(Run({"--pdf", Path("titled.pdf"), "--settings", Path("day1.json"), "--number", "12"}).Status, 0);
        QVERIFY(RunProgram("pdfinfo", {Path("titled.pdf")}).contains(QRegularExpression("Title:\\s+かけ算 問題No.12\n")));

        // Damage that shows only when the history is read is told too.
        {
            THistory history(DefaultHistoryPath());
            std::vector<THistorySheet> sheets(60);
            for (THistorySheet& sheet : sheets) sheet.Problems.resize(16);
            history.Record(sheets);
        }
        QFile file(QString::fromStdString(DefaultHistoryPath()));
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(4096);
        file.write(QByteArray(16384, '\x5a'));
        file.close();
        const TRun listed = Run({"--history"});
        QVERIFY2(listed.Err.contains(".damaged-"), qPrintable(listed.Err));
    }

    // A history that cannot take the sheet when it is opened stops the sheet
    // as one that fails later does: nothing goes out unrecorded. Only a
    // folder that cannot be written lets it out (tested in the window). An
    // old history is brought up to date, which is said.
    void historyTroublesAtOpeningStopTheSheet_data()
    {
        QTest::addColumn<QString>("sql");  // what stands at the history's place
        QTest::addColumn<bool>("heldByAnother");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const QString v1 = "CREATE TABLE sheets (id INTEGER PRIMARY KEY, recorded_at INTEGER NOT NULL, number INTEGER NOT NULL, "
                           "settings TEXT NOT NULL, summary TEXT NOT NULL, with_answers INTEGER NOT NULL, destination TEXT NOT NULL); "
                           "CREATE TABLE sheet_problems (sheet_id INTEGER, position INTEGER, multiplicand INTEGER, multiplier INTEGER); "
                           "PRAGMA user_version = 1;";
        QTest::newRow("an old history, brought up to date") << v1 << false << 0 << QString(kUpgradingWords);
        QTest::newRow("an upgrade that fails") << v1 + "CREATE TABLE problems (x);" << false << 1 << "知っている形ではありません";
        QTest::newRow("a newer version") << "CREATE TABLE sheets (id); PRAGMA user_version = 42;" << false << 1 << "新しい版";
        QTest::newRow("another program's database") << "CREATE TABLE notes (text);" << false << 1 << "履歴のファイルではありません";
        QTest::newRow("held by another program at opening") << v1 << true << 1 << "ほかのプログラムが履歴に書き込んでいて";
    }

    void historyTroublesAtOpeningStopTheSheet()
    {
        QFETCH(QString, sql);
        QFETCH(bool, heldByAnother);
        QFETCH(int, status);
        QFETCH(QString, says);
        QTemporaryDir data;
        QDir().mkpath(data.filePath("Tavelin"));
        const QByteArray history = QFile::encodeName(data.filePath("Tavelin/history.sqlite3"));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(history.constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        if (heldByAnother) QCOMPARE(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        else sqlite3_close(db);
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", data.path());
        run.setProcessEnvironment(environment);
        const QString pdf = data.filePath("sheet.pdf");
        run.start(TAVELIN_PROGRAM, {"--pdf", pdf, "--preset", QString::fromStdString(Presets()[0].Name)});
        QVERIFY(run.waitForFinished(60000));
        if (heldByAnother) sqlite3_close(db);
        const QString err = QString::fromUtf8(run.readAllStandardError());
        QVERIFY2(run.exitCode() == status && err.contains(says), qPrintable(err));
        QCOMPARE(QFile::exists(pdf), status == 0);
        QVERIFY2(!err.contains("コード") && !err.contains("履歴は記録されません"), qPrintable(err));
    }

    void listsAndHelp()
    {
        const TRun presets = Run({"--list-presets"});
        QCOMPARE(presets.Status, 0);
        QCOMPARE(presets.Out.count('\n'), static_cast<int>(Presets().size()));
        // The operation, a tab, and the name --preset takes.
        QVERIFY(presets.Out.contains("\nたし算\t3けた＋3けた（くり上がり2回）\n"));
        const TRun help = Run({"--help"});
        QCOMPARE(help.Status, 0);
        for (const char* option : {"--pdf", "--settings", "--preset", "--sheets", "--answers", "--number", "--paper",
                                   "--list-presets", "--history", "--limit", "--history-pdf", "--csv", "--version", "例:"})
            QVERIFY2(help.Out.contains(option), option);
        QVERIFY(Run({"--version"}).Out.startsWith("Tavelin "));
    }

    // A PDF and its CSV are one delivery: killed at any moment, a run leaves
    // both new files (and their record) or both old ones; a later run
    // clears what the killed ones left.
    void pdfAndCsvComeOutTogether()
    {
        QTemporaryDir place;
        const QString pdf = place.filePath("set.pdf"), csv = place.filePath("set.csv");
        auto content = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
        };
        const QStringList arguments{"--pdf", pdf, "--csv", csv, "--preset", "3けた−3けた（0をこえるくり下がり）",
                                    "--sheets", "40", "--answers", "after", "--number", "500"};
        int made = 0;
        for (int killAfterMs = 0; killAfterMs <= 100; killAfterMs += 4) {
            WriteWholeFile(Bytes(pdf), "old");
            WriteWholeFile(Bytes(csv), "old");
            const qint64 before = THistory(DefaultHistoryPath()).Count(500);
            QProcess run;
            run.start(TAVELIN_PROGRAM, arguments);
            QVERIFY(run.waitForStarted());
            QTest::qSleep(killAfterMs);
            run.kill();
            run.waitForFinished();
            const bool newPdf = content(pdf) != "old", newCsv = content(csv) != "old";
            QCOMPARE(newCsv, newPdf);
            made += newPdf ? 1 : 0;
            if (newPdf) QCOMPARE(THistory(DefaultHistoryPath()).Count(500), before + 1);
        }
        qInfo("%d of 26 killed runs had put their files out", made);
        // A later run of the program into the same folder removes what those left.
        QProcess later;
        later.start(TAVELIN_PROGRAM, arguments);
        QVERIFY(later.waitForFinished(60000));
        QCOMPARE(later.exitCode(), 0);
        QCOMPARE(QDir(place.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"set.csv", "set.pdf"}));

        // A limit that stops the PDF leaves the old CSV as it was.
        WriteWholeFile(Bytes(csv), "last week");
        QProcess limited;
        limited.start("sh", {"-c", "trap '' XFSZ; ulimit -f 16; exec \"$0\" \"$@\"", TAVELIN_PROGRAM, "--pdf", place.filePath("big.pdf"),
                             "--csv", csv, "--preset", "3けた−3けた（0をこえるくり下がり）", "--sheets", "30"});
        QVERIFY(limited.waitForFinished(60000));
        QCOMPARE(limited.exitCode(), 1);
        QCOMPARE(content(csv), QByteArray("last week"));
        QVERIFY(!QFile::exists(place.filePath("big.pdf")));
        // Another program's hidden files are left alone.
        WriteWholeFile(Bytes(place.filePath(".profile.abcdef")), "theirs");
    }

    // File names are bytes from the command line to the disk: names in
    // another encoding are written and read under those very names, never
    // as "�", and said with their bytes escaped.
    void namesGivenAreKeptAsBytes()
    {
        QTemporaryDir place;
        const std::string at = Bytes(place.path()) + "/";
        std::ofstream(at + "\xEF\xBF\xBD.pdf") << "an unrelated file";
        std::ofstream(at + "set\xE9.json") << R"({"format": "tavelin-settings", "version": 3, "operation": "addition",
            "u1h": "9", "u2l": "1", "u2h": "9", "d1h": "9", "d2l": "1", "d2h": "9", "AnsHigh": "999"})";
        auto run = [&](const QString& script) {
            QProcess program;
            program.setWorkingDirectory(place.path());
            program.start("sh", {"-c", script, TAVELIN_PROGRAM});
            program.waitForFinished(60000);
            return TRun{program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
                        QString::fromUtf8(program.readAllStandardError())};
        };
        const TRun made = run(R"sh(exec "$0" --pdf "$(printf 'caf\351.pdf')" --csv "$(printf '\377\376.csv')" )sh"
                              R"sh(--settings "$(printf 'set\351.json')" --seed 5)sh");
        QVERIFY2(made.Status == 0, qPrintable(made.Err));
        std::ifstream unrelated(at + "\xEF\xBF\xBD.pdf"), csv(at + "\xFF\xFE.csv"), pdf(at + "caf\xE9.pdf");
        std::string line;
        std::getline(unrelated, line);
        QCOMPARE(line, std::string("an unrelated file"));
        std::getline(csv, line);
        QCOMPARE(line, std::string("sheet,problem,operation,first,second,answer,remainder"));
        QVERIFY(pdf.good());
        const TRun missing = run(R"sh(exec "$0" --pdf x.pdf --settings "$(printf 'gone\351.json')")sh");
        QCOMPARE(missing.Status, 1);
        QVERIFY2(missing.Err.contains("gone\\xE9.json") && missing.Err.contains("ありません"), qPrintable(missing.Err));
    }

    // What the options set: the problem count, the grid, the marks, and
    // preset names typed as an input method types them.
    void optionsOverTheSettings()
    {
        const QString csv = Path("twelve.csv");
        const TRun run = Run({"--pdf", Path("twelve.pdf"), "--preset", "３けた－３けた（０をこえるくり下がり）", "--problems",
                              "12", "--grid", "no", "--marks", "--answers", "after", "--csv", csv});
        QCOMPARE(run.Status, 0);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count('\n'), 1 + 12);
        const THistorySheet recorded = *THistory(DefaultHistoryPath()).Find(THistory(DefaultHistoryPath()).List(1).front().Id);
        for (const char* setting : {"\"QNumPattern\": 0", "\"rgWaku\": 1", "\"CarryMarks\": true"})
            QVERIFY2(QString::fromStdString(recorded.Settings).contains(setting), setting);

        // Numbers that go past the largest one are said to.
        const TRun wrapped = Run({"--pdf", Path("wrapped.pdf"), "--preset", QString::fromStdString(Presets()[0].Name),
                                  "--number", "2147483647", "--sheets", "2"});
        QCOMPARE(wrapped.Status, 0);
        QVERIFY2(wrapped.Err.contains("-2147483648 から続けました。"), qPrintable(wrapped.Err));
    }

    // The same seed makes the same set, and the history keeps it.
    void aSeedMakesTheSameSetAgain()
    {
        QStringList csvs;
        for (const char* name : {"seed1", "seed2"}) {
            const QString csv = Path(QString(name) + ".csv");
            const TRun run = Run({"--pdf", Path(QString(name) + ".pdf"), "--preset", "3けた−3けた（0をこえるくり下がり）",
                                  "--sheets", "3", "--number", "40", "--seed", "18446744073709551615", "--csv", csv});
            QCOMPARE(run.Status, 0);
            QVERIFY2(run.Out.trimmed().endsWith("--seed 18446744073709551615"), qPrintable(run.Out));
            QFile file(csv);
            QVERIFY(file.open(QIODevice::ReadOnly));
            csvs << QString::fromUtf8(file.readAll());
        }
        QCOMPARE(csvs[0], csvs[1]);
        QCOMPARE(PdfText(Path("seed1.pdf")), PdfText(Path("seed2.pdf")));
        THistory history(DefaultHistoryPath());
        QCOMPARE(history.Find(history.List(1).front().Id)->Seed, std::optional<uint64_t>(18446744073709551615ull));
        QCOMPARE(Run({"--pdf", Path("seed3.pdf"), "--seed", "-1"}).Status, 2);  // -1 is the same seed; the default settings fall short
        QVERIFY(Run({"--pdf", Path("seed3.pdf"), "--seed", "1e9"}).Err.contains("乱数のもと「1e9」は、0～18446744073709551615 の整数ではありません。"));
    }

    // One sheet a line, whatever its file is called; a history in a place
    // that cannot be written is still listed.
    void historyLinesStayLines()
    {
        const QString odd = Path("tab\there\nand.pdf");
        QCOMPARE(Run({"--pdf", odd, "--preset", QString::fromStdString(Presets()[0].Name)}).Status, 0);
        const TRun listed = Run({"--history", "--limit", "1"});
        QCOMPARE(listed.Out.count('\n'), 1);
        QVERIFY2(listed.Out.trimmed().endsWith("tab\\there\\nand.pdf"), qPrintable(listed.Out));
        QCOMPARE(listed.Out.split('\t').size(), 6);
    }

    // Without a screen, or with its standard output closed, the program
    // says so in Japanese and ends with status 1, never with Qt's abort.
    void noScreenAndNoOutputAreSaidInWords()
    {
        for (const char* display : {"", ":987"}) {
            QProcess window;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
            if (*display) environment.insert("DISPLAY", display);
            window.setProcessEnvironment(environment);
            window.start(TAVELIN_PROGRAM, {});
            QVERIFY(window.waitForFinished(60000));
            QCOMPARE(window.exitStatus(), QProcess::NormalExit);
            QCOMPARE(window.exitCode(), 1);
            const QString said = QString::fromUtf8(window.readAllStandardError());
            QVERIFY2(said.contains("ウィンドウを開けません") && said.contains(display), qPrintable(said));
        }
        QProcess closed;
        closed.start("sh", {"-c", "exec \"$0\" --help >&-", TAVELIN_PROGRAM});
        QVERIFY(closed.waitForFinished(60000));
        QCOMPARE(closed.exitCode(), 1);
        QVERIFY2(QString::fromUtf8(closed.readAllStandardError()).contains("結果を書き出せませんでした（標準出力が閉じています）。"),
                 "no reason");
    }

    void classAnswersAreReadFromTheCopiersPdf()
    {
        // Three sheets of 大きなマス with 出席番号, handed back unwritten, and a
        // sheet of 標準 among them: the one that is no sheet of the reader's is
        // listed with its page, the others read and marked.
        const QString preset = "2けた×1けた（十の位でくり上がり）";
        QCOMPARE(Run({"--pdf", Path("class.pdf"), "--preset", preset, "--cell", "17", "--problems", "6", "--sheets", "3", "--number", "5",
                      "--roll-numbers"}).Status, 0);
        QCOMPARE(Run({"--pdf", Path("plain.pdf"), "--preset", preset, "--cell", "0"}).Status, 0);
        const TRun run = Run({"--read", Path("class.pdf"), Path("plain.pdf"), "--results", Path("results.csv"), "--marked",
                              Path("marked.pdf")});
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.contains("plain.pdf 1ページ: "), qPrintable(run.Err));
        QVERIFY2(run.Out.contains("3枚を読みました（4ページ中）"), qPrintable(run.Out));
        QFile csv(Path("results.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), "shusseki,sheet,problem,answer,correct,decided,procedure,operation,seed");
        QCOMPARE(lines.size(), 1 + 3 * 6);
        for (int i = 1; i < lines.size(); ++i) {
            const int sheet = (i - 1) / 6;
            QVERIFY2(lines[i].startsWith(QStringLiteral("%1,%2,%3,,0,read,,multiplication,").arg(sheet + 1).arg(5 + sheet).arg((i - 1) % 6 + 1)),
                     qPrintable(lines[i]));
        }
        QCOMPARE(Pages(Path("marked.pdf")), 4);
        // The answers are in the history, each with the sheet it was read from.
        const std::vector<THistoryReading> kept = THistory(DefaultHistoryPath()).Readings(10);
        QCOMPARE(kept.size(), size_t(3));
        for (size_t i = 0; i < kept.size(); ++i) {
            QVERIFY(kept[i].SheetId);
            QCOMPARE(kept[i].Roll, std::optional<int32_t>(static_cast<int32_t>(3 - i)));
            QCOMPARE(kept[i].Answers.size(), size_t(6));
            QCOMPARE(QString::fromStdString(kept[i].Answers[0].Decided), "read");
        }

        const TRun missing = Run({"--read", Path("none.pdf"), "--results", Path("r2.csv")});
        QCOMPARE(missing.Status, 1);
        QVERIFY2(missing.Err.contains("none.pdf"), qPrintable(missing.Err));
        QVERIFY(!QFileInfo::exists(Path("r2.csv")));
        QVERIFY(Run({"--read", Path("class.pdf")}).Err.contains("「--results」"));
    }

    void decimalClassSetsCarryTheirMarksAndAreRead()
    {
        // A class set of decimals with 出席番号 and its answer pages: every
        // problem sheet read with its operation, the answer pages passed over.
        const QString pdf = Path("decimal-class.pdf");
        QCOMPARE(Run({"--pdf", pdf, "--preset", "5年 小数×小数（1/10の位どうし）", "--cell", "12", "--problems", "6", "--sheets", "2",
                      "--number", "3", "--roll-numbers", "--answers", "each"}).Status, 0);
        const TRun run = Run({"--read", pdf, "--results", Path("decimal-results.csv")});
        QCOMPARE(run.Status, 0);
        QVERIFY2(run.Out.contains("2枚を読みました（4ページ中）"), qPrintable(run.Out));
        QVERIFY2(run.Err.contains("答えのページ 2 枚は読みませんでした"), qPrintable(run.Err));
        QFile csv(Path("decimal-results.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 2 * 6);
        for (int i = 1; i < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith(QStringLiteral("%1,%2,%3,,0,read,,decimal-multiplication,").arg((i - 1) / 6 + 1).arg(3 + (i - 1) / 6).arg((i - 1) % 6 + 1)),
                     qPrintable(lines[i]));
    }

    void eachPupilsNextSheetIsMadeFromTheClassReading()
    {
        // Three pupils' sheets read, their answers typed by the teacher: the
        // first's every one the subtraction of the smaller digit from the
        // larger, the second's all right, the third's left blank.
        QVERIFY(QDir().mkpath(Path("follow")));
        auto at = [&](const QString& name) { return Path("follow/" + name); };
        QCOMPARE(Run({"--pdf", at("class.pdf"), "--preset", "3けた−3けた（くり下がり2回）", "--cell", "14", "--problems", "6",
                      "--sheets", "3", "--number", "1", "--roll-numbers", "--csv", at("class.csv")}).Status, 0);
        QFile problems(at("class.csv"));
        QVERIFY(problems.open(QIODevice::ReadOnly));
        const std::vector<TWrongProcedure>& catalogue = WrongProcedures(TOperation::Subtraction);
        const size_t smaller = static_cast<size_t>(
            std::find_if(catalogue.begin(), catalogue.end(), [](const TWrongProcedure& p) { return std::string(p.Id) == "smaller-from-larger"; }) -
            catalogue.begin() + 1);
        QString typed = "shusseki,sheet,problem,answer\n";
        for (const QString& line : QString::fromUtf8(problems.readAll()).split('\n', Qt::SkipEmptyParts).mid(1)) {
            const QStringList f = line.split(',');
            const std::vector<TWrittenAnswer> every = EveryAnswer(TOperation::Subtraction, f[3].toInt(), f[4].toInt());
            if (f[0] == "1") typed += QStringLiteral("1,1,%1,%2\n").arg(f[1]).arg(every[smaller].Value);
            if (f[0] == "2") typed += QStringLiteral("2,2,%1,%2\n").arg(f[1], f[5]);
        }
        QFile typedFile(at("typed.csv"));
        QVERIFY(typedFile.open(QIODevice::WriteOnly));
        typedFile.write(typed.toUtf8());
        typedFile.close();
        QCOMPARE(Run({"--read", at("class.pdf"), "--results", at("results.csv"), "--typed", at("typed.csv")}).Status, 0);

        const TRun run = Run({"--pdf", at("next.pdf"), "--follow-up", "latest", "--answers", "after", "--csv", at("next.csv"), "--seed", "5"});
        QCOMPARE(run.Status, 0);
        QVERIFY2(run.Out.contains("一人ひとりのプリント 3枚（No.4～No.6） --seed 5"), qPrintable(run.Out));
        QVERIFY2(run.Err.contains("決められなかった 1 人には、診断プリントをもう一度"), qPrintable(run.Err));
        QCOMPARE(Pages(at("next.pdf")), 6);
        QFile csv(at("next.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), "sheet,problem,operation,first,second,answer,remainder,shusseki,purpose");
        QMap<QString, QStringList> purposes;  // sheet: its problems' purposes
        for (const QString& line : lines.mid(1)) {
            const QStringList f = line.split(',');
            purposes[f[0]].push_back(f[8]);
            QCOMPARE(f[7], QString::number(f[0].toInt() - 3));  // each pupil's 出席番号
            // The first pupil's procedure goes wrong where the sheet says it does.
            if (f[0] != "4") continue;
            const std::vector<TWrittenAnswer> every = EveryAnswer(TOperation::Subtraction, f[3].toInt(), f[4].toInt());
            const bool wrong = !(every[smaller] == every[0]);
            if (f[8] == "example" || f[8] == "find-mistake" || f[8] == "targeted") QVERIFY2(wrong, qPrintable(line));
            if (f[8] == "contrast") QVERIFY2(!wrong, qPrintable(line));
        }
        QCOMPARE(purposes["4"].mid(0, 2), (QStringList{"example", "find-mistake"}));
        QCOMPARE(purposes["4"].count("targeted"), 6);
        QCOMPARE(purposes["4"].count("contrast"), 2);
        QCOMPARE(purposes["5"].count("review"), 2);  // the next pattern, and two of the unit
        QCOMPARE(purposes["5"].count("targeted"), purposes["5"].size() - 2);
        QCOMPARE(purposes["6"], QStringList(purposes["6"].size(), ""));  // the diagnostic sheet again
        QCOMPARE(purposes["6"].size(), 12);

        // The sheets carry their codes: read back, the worked example and the
        // mistake to find are shown, not answered.
        const TRun again = Run({"--read", at("next.pdf"), "--results", at("next-results.csv")});
        QVERIFY2(again.Out.contains("3枚を読みました"), qPrintable(again.Out));
        QFile results(at("next-results.csv"));
        QVERIFY(results.open(QIODevice::ReadOnly));
        const QStringList read = QString::fromUtf8(results.readAll()).split('\n', Qt::SkipEmptyParts);
        QVERIFY2(read[1].startsWith("1,4,1,,,shown,") && read[2].startsWith("1,4,2,,,shown,"), qPrintable(read.join('\n')));
        QVERIFY2(read[3].startsWith("1,4,3,,0,read,"), qPrintable(read[3]));

        // Round the loop again: the first pupil mended their borrowing and
        // got every answer right, the second still takes the smaller digit
        // from the larger on the next pattern: the first goes on to the
        // next pattern, the second gets that procedure's follow-up.
        QString typedAgain = "shusseki,sheet,problem,answer\n";
        for (const QString& line : lines.mid(1)) {
            const QStringList f = line.split(',');
            if (f[8] == "example" || f[8] == "find-mistake" || f[0] == "6") continue;
            const std::vector<TWrittenAnswer> every = EveryAnswer(TOperation::Subtraction, f[3].toInt(), f[4].toInt());
            typedAgain += QStringLiteral("%1,%2,%3,%4\n").arg(f[7], f[0], f[1]).arg(f[0] == "4" ? every[0].Value : every[smaller].Value);
        }
        QFile typedAgainFile(at("typed-again.csv"));
        QVERIFY(typedAgainFile.open(QIODevice::WriteOnly));
        typedAgainFile.write(typedAgain.toUtf8());
        typedAgainFile.close();
        // (The diagnostic sheet's key, drawn in 標準, carries no code: its page is named as unread.)
        QVERIFY(Run({"--read", at("next.pdf"), "--results", at("again.csv"), "--typed", at("typed-again.csv")}).Out.contains("3枚を読みました"));
        QCOMPARE(Run({"--pdf", at("third.pdf"), "--follow-up", "latest", "--csv", at("third.csv"), "--seed", "6"}).Status, 0);
        QFile third(at("third.csv"));
        QVERIFY(third.open(QIODevice::ReadOnly));
        QMap<QString, QStringList> thirdPurposes;  // 出席番号: the purposes of their sheet
        for (const QString& line : QString::fromUtf8(third.readAll()).split('\n', Qt::SkipEmptyParts).mid(1))
            thirdPurposes[line.split(',')[7]].push_back(line.split(',')[8]);
        QCOMPARE(thirdPurposes["1"].count("example"), 0);  // the next pattern
        QCOMPARE(thirdPurposes["1"].count("review"), 2);
        QCOMPARE(thirdPurposes["2"].mid(0, 2), (QStringList{"example", "find-mistake"}));

        // Refused: a reading the history does not have, options of a class set.
        QVERIFY(Run({"--pdf", at("x.pdf"), "--follow-up", "999"}).Err.contains("履歴に読み取り 999 はありません"));
        QVERIFY(Run({"--pdf", at("x.pdf"), "--follow-up", "latest", "--sheets", "3"}).Err.contains("「--follow-up」と「--sheets」は一緒には使えません"));
        QVERIFY(!QFileInfo::exists(at("x.pdf")));
    }

    void aClassStackIsReadWholeNothingLostNothingCountedTwice()
    {
        // Two class sets with their answer pages, one of them scanned twice,
        // a file that is no picture and the white back of a duplex scan.
        QVERIFY(QDir().mkpath(Path("stack")));
        auto at = [&](const QString& name) { return Path("stack/" + name); };
        QCOMPARE(Run({"--pdf", at("mul.pdf"), "--preset", "2けた×1けた（十の位でくり上がり）", "--cell", "17", "--problems", "6",
                      "--sheets", "3", "--number", "1", "--roll-numbers", "--answers", "each"}).Status, 0);
        QCOMPARE(Run({"--pdf", at("sub.pdf"), "--preset", "3けた−3けた（くり下がり2回）", "--cell", "14", "--problems", "6",
                      "--sheets", "2", "--number", "1", "--roll-numbers"}).Status, 0);
        QFile(at("zero.png")).open(QIODevice::WriteOnly);
        QImage white(827, 1169, QImage::Format_RGB32);
        white.fill(Qt::white);
        QVERIFY(white.save(at("white.png")));
        const std::vector<THistoryReading> earlier = THistory(DefaultHistoryPath()).Readings(1000);
        const int before = static_cast<int>(earlier.size());
        // Earlier tests' readings, some already replaced by a later one.
        const int currentBefore = static_cast<int>(std::count_if(earlier.begin(), earlier.end(), [](const THistoryReading& r) { return !r.ReplacedBy; }));

        // The earlier results stay whenever nothing could be read.
        QFile old(at("results.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("earlier\n") == 8);
        old.close();
        const TRun nothing = Run({"--read", at("white.png"), at("zero.png"), "--results", at("results.csv"), "--marked", at("m.pdf")});
        QCOMPARE(nothing.Status, 1);
        QVERIFY2(nothing.Err.contains("白紙のページ 1 枚") && nothing.Err.contains("zero.png"), qPrintable(nothing.Err));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("earlier\n"));
        old.close();
        QVERIFY(!QFileInfo::exists(at("m.pdf")));
        QCOMPARE(static_cast<int>(THistory(DefaultHistoryPath()).Readings(1000).size()), before);

        // Outputs that are an input, the history or each other are refused
        // before any page is read.
        const struct {
            QStringList Arguments;
        } refused[] = {
            {{"--read", at("mul.pdf"), "--results", at("mul.pdf")}},
            {{"--read", at("mul.pdf"), "--results", at("r.csv"), "--marked", at("r.csv")}},
            {{"--read", at("mul.pdf"), "--results", at("r.csv"), "--pupils", QString::fromStdString(DefaultHistoryPath())}},
        };
        for (const auto& r : refused) {
            const TRun run = Run(r.Arguments);
            QVERIFY2(run.Status == 1 && !run.Err.isEmpty(), qPrintable(r.Arguments.join(' ')));
            QVERIFY(!QFileInfo::exists(at("r.csv")));
        }
        QCOMPARE(static_cast<int>(THistory(DefaultHistoryPath()).Readings(1000).size()), before);

        // The whole stack.
        const TRun run = Run({"--read", at("mul.pdf"), at("zero.png"), at("sub.pdf"), at("white.png"), at("mul.pdf"), "--results",
                              at("results.csv"), "--marked", at("marked.pdf"), "--pupils", at("pupils.csv")});
        QCOMPARE(run.Status, 1);  // zero.png
        QVERIFY2(run.Err.contains("zero.png"), qPrintable(run.Err));
        QVERIFY2(run.Err.contains("答えのページ 6 枚は読みませんでした"), qPrintable(run.Err));
        QVERIFY2(run.Err.contains("白紙のページ 1 枚は読みませんでした"), qPrintable(run.Err));
        QCOMPARE(run.Err.count("一度だけ数えました"), 3);
        QVERIFY2(run.Err.contains("2 組のプリントがあります: かけ算 No.1〜3（3枚）、ひき算 No.1〜2（2枚）"), qPrintable(run.Err));
        QCOMPARE(run.Err.count("ほかのページと別の組のプリントです（ひき算 No.1〜2）"), 2);
        QVERIFY2(run.Out.contains("5枚を読みました"), qPrintable(run.Out));
        QFile csv(at("results.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), "shusseki,sheet,problem,answer,correct,decided,procedure,operation,seed");
        QCOMPARE(lines.size(), 1 + 5 * 6);
        QSet<QString> keys;
        for (int i = 1; i < lines.size(); ++i) {
            const QStringList f = lines[i].split(',');
            QCOMPARE(f.size(), 9);
            QVERIFY(f[7] == "multiplication" || f[7] == "subtraction");
            keys.insert(f[7] + f[0] + "/" + f[2]);
        }
        QCOMPARE(keys.size(), 5 * 6);  // no pupil's answer twice
        QFile pupils(at("pupils.csv"));
        QVERIFY(pupils.open(QIODevice::ReadOnly));
        const QStringList rows = QString::fromUtf8(pupils.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.first(), "shusseki,sheet,operation,right,wrong,asked,procedure");
        QCOMPARE(rows.mid(1), QStringList({"1,1,multiplication,0,6,0,", "2,2,multiplication,0,6,0,", "3,3,multiplication,0,6,0,",
                                           "1,1,subtraction,0,6,0,", "2,2,subtraction,0,6,0,"}));
        QCOMPARE(Pages(at("marked.pdf")), 2 * 3 * 2 + 2 + 1);
        const std::vector<THistoryReading> first = THistory(DefaultHistoryPath()).Readings(1000);
        QCOMPARE(static_cast<int>(first.size()), before + 5);

        // Read again later with the teacher's typed answers: each pupil's
        // sheet replaces its earlier reading, never a second result.
        QFile typed(at("typed.csv"));
        QVERIFY(typed.open(QIODevice::WriteOnly));
        typed.write("shusseki,sheet,problem,answer\n2,2,1,99\n7,2,1,5\n");
        typed.close();
        const TRun again = Run({"--read", at("sub.pdf"), "--results", at("again.csv"), "--typed", at("typed.csv")});
        QCOMPARE(again.Status, 1);  // the line for 出席番号 7
        QVERIFY2(again.Err.contains("typed.csv 3行目") && !again.Err.contains("2行目"), qPrintable(again.Err));
        QFile againCsv(at("again.csv"));
        QVERIFY(againCsv.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(againCsv.readAll()).contains("\n2,2,1,99,0,typed,"));
        const std::vector<THistoryReading> kept = THistory(DefaultHistoryPath()).Readings(1000);
        QCOMPARE(static_cast<int>(kept.size()), before + 7);
        int current = 0;
        for (const THistoryReading& r : kept) current += r.ReplacedBy ? 0 : 1;
        QCOMPARE(current, currentBefore + 5);
        QCOMPARE(kept[0].Batch, kept[1].Batch);
        QVERIFY(kept[2].ReplacedBy);
        const TRun listed = Run({"--readings", "--limit", "2"});
        QCOMPARE(listed.Status, 0);
        const QStringList batches = listed.Out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(batches.size(), 2);
        QVERIFY2(batches[0].contains("\tひき算 No.1〜2\t2人\t決めていない答え 0"), qPrintable(listed.Out));
        QVERIFY2(batches[1].contains("かけ算 No.1〜3、ひき算 No.1〜2\t5人"), qPrintable(listed.Out));
    }

    void theTeachersTypedAnswersFinishADiagnosticSheet()
    {
        // A diagnostic sheet handed back blank reads as undecided; with the
        // teacher's answers typed (here the right ones, from the sheet's
        // CSV) its procedure is named on the command line.
        QVERIFY(QDir().mkpath(Path("typed")));
        auto at = [&](const QString& name) { return Path("typed/" + name); };
        QCOMPARE(Run({"--pdf", at("d.pdf"), "--diagnostic", "subtraction", "--cell", "8", "--roll-numbers", "--number", "3", "--csv",
                      at("d.csv")}).Status, 0);
        QFile problems(at("d.csv"));
        QVERIFY(problems.open(QIODevice::ReadOnly));
        QByteArray typed = "shusseki,sheet,problem,answer\n";
        for (const QString& line : QString::fromUtf8(problems.readAll()).split('\n', Qt::SkipEmptyParts).mid(1)) {
            const QStringList f = line.split(',');
            typed += QStringLiteral("1,3,%1,%2\n").arg(f[1], f[5]).toUtf8();
        }
        QFile file(at("typed.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(typed) == typed.size());
        file.close();
        const struct {
            QStringList More;
            QString Pupil;
        } cases[] = {
            {{}, "1,3,subtraction,0,12,0,判定できません"},
            {{"--typed", at("typed.csv")}, "1,3,subtraction,12,0,0,正しくできています"},
        };
        for (const auto& c : cases) {
            const TRun run = Run(QStringList{"--read", at("d.pdf"), "--results", at("r.csv"), "--pupils", at("p.csv")} + c.More);
            QCOMPARE(run.Status, 0);
            QFile pupils(at("p.csv"));
            QVERIFY(pupils.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(pupils.readAll()).split('\n', Qt::SkipEmptyParts).value(1), c.Pupil);
        }
    }

    void photosAreTakenAsTheyAreShown()
    {
        // A portrait photo stored sideways with its EXIF orientation, and a
        // transparent PNG: both read, and the marked page upright.
        QVERIFY(QDir().mkpath(Path("photos")));
        auto at = [&](const QString& name) { return Path("photos/" + name); };
        QCOMPARE(Run({"--pdf", at("two.pdf"), "--preset", "2けた×1けた（十の位でくり上がり）", "--cell", "17", "--problems", "6",
                      "--roll-numbers", "--sheets", "2"}).Status, 0);
        auto pageImage = [&](int number) {
            QProcess render;
            const QString name = at(QStringLiteral("page%1").arg(number));
            render.start("pdftoppm", {"-r", "150", "-png", "-singlefile", "-f", QString::number(number), "-l", QString::number(number),
                                      at("two.pdf"), name});
            render.waitForFinished(60000);
            return QImage(name + ".png");
        };
        const QImage page = pageImage(1);
        QVERIFY(!page.isNull());
        QImageWriter sideways(at("sideways.jpg"));
        sideways.setTransformation(QImageIOHandler::TransformationRotate90);
        QVERIFY(sideways.write(page.transformed(QTransform().rotate(-90))));
        QImage clear = pageImage(2).convertToFormat(QImage::Format_ARGB32);
        // Ink on nothing: black, as opaque as the page is dark.
        for (int y = 0; y < clear.height(); ++y)
            for (int x = 0; x < clear.width(); ++x) clear.setPixel(x, y, qRgba(0, 0, 0, 255 - qGray(clear.pixel(x, y))));
        QVERIFY(clear.save(at("clear.png")));
        const TRun run = Run({"--read", at("sideways.jpg"), at("clear.png"), "--results", at("r.csv"), "--marked", at("m.pdf")});
        QVERIFY2(run.Out.contains("2枚を読みました"), qPrintable(run.Out + run.Err));
        QProcess info;
        info.start("pdfinfo", {"-f", "1", "-l", "2", at("m.pdf")});
        QVERIFY(info.waitForFinished(60000));
        const QString said = QString::fromUtf8(info.readAllStandardOutput());
        const QRegularExpression size("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+)");
        int pages = 0;
        for (auto match = size.globalMatch(said); match.hasNext(); ++pages) {
            const auto m = match.next();
            QVERIFY2(m.captured(1).toDouble() < m.captured(2).toDouble(), qPrintable(said));
        }
        QCOMPARE(pages, 2);
    }

    void theLibrariesEnglishNeverReachesTheTeacher()
    {
        // A PDF cut short, a PNG whose picture data is damaged, a file that
        // is no picture: each named with its cause in Japanese, and nothing
        // the PDF or image libraries print.
        QVERIFY(QDir().mkpath(Path("damaged")));
        auto at = [&](const QString& name) { return Path("damaged/" + name); };
        QCOMPARE(Run({"--pdf", at("whole.pdf"), "--preset", "2けた×1けた（十の位でくり上がり）", "--cell", "17", "--problems", "6"}).Status, 0);
        QFile whole(at("whole.pdf"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        QFile cut(at("cut.pdf"));
        QVERIFY(cut.open(QIODevice::WriteOnly) && cut.write(bytes.left(bytes.size() / 3)) > 0);
        cut.close();
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QVERIFY(picture.save(at("good.png")));
        QFile png(at("good.png"));
        QVERIFY(png.open(QIODevice::ReadOnly));
        QByteArray damaged = png.readAll();
        const qsizetype data = damaged.indexOf("IDAT");
        QVERIFY(data > 0);
        for (qsizetype i = data + 6; i < damaged.size() - 16; i += 3) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
        QFile bad(at("bad.png"));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(damaged) == damaged.size());
        bad.close();
        QFile text(at("notes.jpg"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a picture\n") > 0);
        text.close();

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", Path("data"));
        program.setProcessEnvironment(environment);
        program.start(TAVELIN_PROGRAM, {"--read", at("cut.pdf"), at("bad.png"), at("notes.jpg"), "--results", at("r.csv")});
        QVERIFY(program.waitForFinished(120000));
        QCOMPARE(program.exitCode(), 1);
        const QString said = QString::fromUtf8(program.readAllStandardError());
        for (const char* name : {"bad.png", "notes.jpg"}) QVERIFY2(said.contains(name), qPrintable(said));
        QVERIFY2(!said.contains(QRegularExpression("(?i)error|libpng|poppler|trailer|memory|warning")), qPrintable(said));
        QCOMPARE(said.count('\n'), 4);  // a line a file, and that nothing was written
        QVERIFY(!QFileInfo::exists(at("r.csv")));
    }

    void theProgramFileNeedsNoDisplay()
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
        program.setProcessEnvironment(environment);
        program.start(TAVELIN_PROGRAM, {"--pdf", Path("one.pdf"), "--preset", QString::fromStdString(Presets()[0].Name)});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardError(), QByteArray());
        QCOMPARE(Pages(Path("one.pdf")), 1);
    }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
