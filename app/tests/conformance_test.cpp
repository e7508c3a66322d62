// The conformance table (testing/conformance/requests.json) through the
// command line and the window: for every request both give the same CSV
// bytes (so the same sheet numbers) or the same message, and name a pupil's
// procedure alike. The page runs the same table (web/tests/browser).
#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <nlohmann/json.hpp>

#include <fstream>

#include "app/class_set_dialog.h"
#include "app/history_log.h"
#include "app/history_window.h"
#include "sheets/presets.h"
#include "sheets/sheet_csv.h"
#include "test_main.h"
#include "window_fixture.h"
#include "worksheet/operations.h"

using nlohmann::json;

namespace {

// What a front end gave for a request: the CSV, or the message that refused it.
struct TAnswer {
    QByteArray Csv;
    QString Message;
    QString Procedure;  // what it said of a pupil's answers
};

QString Text(const json& value, const char* key, const char* otherwise = "")
{
    return QString::fromStdString(value.value(key, std::string(otherwise)));
}

// The requests of the table, every preset with each of its seeds first.
std::vector<json> Requests()
{
    std::ifstream file(CONFORMANCE_TABLE);
    const json table = json::parse(file);
    std::vector<json> requests;
    for (const TPreset& preset : Presets())
        for (const json& seed : table["everyPreset"]["seeds"])
            requests.push_back({{"name", preset.Name + " " + seed.get<std::string>()}, {"preset", preset.Name},
                                {"seed", seed}, {"sheets", table["everyPreset"]["sheets"]}});
    for (const json& request : table["requests"]) requests.push_back(request);
    return requests;
}

// A request's settings file, written into `folder` as request.json.
void WriteSettingsFile(const json& request, const QString& folder)
{
    std::string text = request.value("fileText", std::string());
    if (text.empty()) {
        json file = {{"format", "tavelin-settings"}, {"version", 3}};
        file.update(request["file"]);
        text = file.dump();
    }
    std::ofstream(QFile::encodeName(folder + "/request.json").toStdString()) << text;
}

// A pupil's answers to the sheet of `csv`: right, or with the first `wrong` one more.
QStringList PupilAnswers(const QByteArray& csv, const json& request)
{
    QStringList answers;
    const int wrong = request.value("answers", "") == "right-but" ? request.value("wrong", 0) : 0;
    for (const QByteArray& line : csv.split('\n').mid(1)) {
        const QList<QByteArray> cells = line.trimmed().split(',');
        if (cells.size() < 7) continue;
        const qint64 answer = cells[5].toLongLong() + (answers.size() < wrong ? 1 : 0);
        const QByteArray remainder = cells[6].trimmed();
        answers << QString::number(answer) + (!remainder.isEmpty() && remainder != "0" ? QStringLiteral("あまり") + remainder : QString());
    }
    return answers;
}

}  // namespace

class ConformanceTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    TWindowFixture window;
    TRecordingDialogs& dialogs = window.Dialogs;

    QString Path(const QString& name) { return folder.filePath(name); }

    QProcessEnvironment Environment(const char* history)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", Path(history));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        return environment;
    }

    QByteArray RunProgram(const QStringList& arguments, int* status = nullptr, QString* err = nullptr)
    {
        QProcess run;
        run.setWorkingDirectory(folder.path());
        run.setProcessEnvironment(Environment("cli-data"));
        run.start(TAVELIN_PROGRAM, arguments);
        run.waitForFinished(60000);
        if (status) *status = run.exitCode();
        if (err) *err = QString::fromUtf8(run.readAllStandardError()).trimmed();
        return run.readAllStandardOutput();
    }

    TAnswer ByCommandLine(const json& request)
    {
        QFile::remove(Path("cli.csv"));
        QStringList arguments{"--pdf", "cli.pdf", "--csv", "cli.csv", "--seed", Text(request, "seed")};
        if (request.contains("diagnostic")) arguments << "--diagnostic" << Text(request, "diagnostic");
        else arguments << "--sheets" << Text(request, "sheets", "1");
        if (request.contains("preset")) arguments << "--preset" << Text(request, "preset");
        if (request.contains("file") || request.contains("fileText")) {
            WriteSettingsFile(request, folder.path());
            arguments << "--settings" << "request.json";
        }
        int status = 0;
        TAnswer answer;
        RunProgram(arguments, &status, &answer.Message);
        if (status != 0) return answer;
        answer.Message.clear();
        QFile csv(Path("cli.csv"));
        if (csv.open(QIODevice::ReadOnly)) answer.Csv = csv.readAll();
        if (request.contains("answers")) {
            const QByteArray listed = RunProgram({"--history", "--limit", "1"});
            const QStringList arguments = QStringList{"--diagnose", QString::fromUtf8(listed.split('\t').first())} + PupilAnswers(answer.Csv, request);
            answer.Procedure = QString::fromUtf8(RunProgram(arguments).split('\n').first().split('\t').value(1));
        }
        return answer;
    }

    // The message boxes the window showed, but the information ones, with
    // the folder of the files left out as the command line names them.
    QString Boxes()
    {
        QStringList texts;
        for (const auto& box : dialogs.Boxes)
            if (box.Icon != TDialogs::TIcon::Information) texts << QString(box.Text).replace(folder.path() + "/", QString());
        return texts.join('\n');
    }

    TAnswer ByWindow(const json& request)
    {
        TForm1& form = *window.Form;
        dialogs.Clear();
        form.Action("actResetSettings")->trigger();
        if (request.contains("preset")) {
            const std::string name = request["preset"];
            for (size_t k = 0; k < Presets().size(); ++k)
                if (Presets()[k].Name == name) form.PresetClick(k);
        }
        if (request.contains("file") || request.contains("fileText")) {
            WriteSettingsFile(request, folder.path());
            dialogs.FileAnswer = Path("request.json");
            form.Action("actOpenSettings")->trigger();
        }
        dialogs.TextTyped = Text(request, "seed");
        if (Boxes().isEmpty()) form.Action("actSeed")->trigger();
        TAnswer answer;
        if (!Boxes().isEmpty()) return {{}, Boxes(), {}};
        if (request.contains("diagnostic")) {
            const TOperationRules* rules = OperationWithKey(request["diagnostic"]);
            dialogs.ChoiceAnswer = static_cast<int>(rules - &Operations().front());
            form.Action("actDiagnostic")->trigger();
            if (!form.ShownSheet()) return {{}, Boxes(), {}};
            answer.Csv = QByteArray::fromStdString(SheetsCsv({*form.ShownSheet()}));
            if (request.contains("answers")) {
                // Recorded as it is saved, then read in the 履歴 window.
                dialogs.FileAnswer = Path("window.pdf");
                form.Action("actSavePdfWithAnswers")->trigger();
                form.Action("actHistory")->trigger();
                form.HistoryWindow()->SelectRow(0);
                dialogs.AnswersTyped = {PupilAnswers(answer.Csv, request)};
                form.HistoryWindow()->EnterAnswersClick();
                answer.Procedure = dialogs.Boxes.empty() ? QString() : dialogs.Boxes.back().Text;
                form.HistoryWindow()->close();
            }
            return answer;
        }
        QFile::remove(Path("window.csv"));
        dialogs.FileAnswer = Path("window.pdf");
        TClassSetRequest set{Text(request, "sheets", "1").toInt(), false, TAnswerOrder::After, TPaper::A4};
        set.Csv = true;
        dialogs.ClassSetAnswer = set;
        form.Action("actClassSet")->trigger();
        if (!Boxes().isEmpty()) return {{}, Boxes(), {}};
        QFile csv(Path("window.csv"));
        if (csv.open(QIODevice::ReadOnly)) answer.Csv = csv.readAll();
        return answer;
    }

private slots:
    void initTestCase()
    {
        window.InstallSeams();
        qputenv("XDG_DATA_HOME", Path("window-data").toUtf8());
        HistoryLog().Reset();
        QVERIFY(window.Open());
    }

    void cleanupTestCase()
    {
        window.Close();
        window.RemoveSeams();
        HistoryLog().Reset();
    }

    void theWindowAnswersAsTheCommandLine()
    {
        for (const json& request : Requests()) {
            const QByteArray name = QByteArray::fromStdString(request["name"]);
            const TAnswer cli = ByCommandLine(request), shown = ByWindow(request);
            if (request.contains("message")) QCOMPARE(cli.Message, Text(request, "message"));
            QVERIFY2(cli.Message == shown.Message, name + ": " + cli.Message.toUtf8() + " | " + shown.Message.toUtf8());
            QVERIFY2(cli.Csv == shown.Csv, name + ": the CSVs differ");
            QVERIFY2(request.contains("message") || !cli.Csv.isEmpty(), name + ": no CSV");
            if (request.contains("procedure")) {
                QVERIFY2(cli.Procedure == Text(request, "procedure"), name + ": " + cli.Procedure.toUtf8());
                QVERIFY2(shown.Procedure.contains(Text(request, "procedure")), name + ": " + shown.Procedure.toUtf8());
            }
            if (request.contains("sameAs")) {
                json same = request;
                same["seed"] = request["sameAs"];
                QVERIFY2(ByCommandLine(same).Csv == cli.Csv, name + ": another sheet than its seed's");
            }
        }
    }
};

TAVELIN_TEST_MAIN(ConformanceTest)
#include "conformance_test.moc"
