// The commands as a teacher meets them, side by side: Preview of a 16-problem
// sheet (generate and draw in the window), and one Print job to the printer
// (handed to the spooler, and until the scheduler reports it completed).
// Printing needs CUPS_SERVER to name a scheduler with a default printer
// (scripts/bench starts one with a cups-pdf printer).
#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <QWindow>

#include <cstdio>

#include "app/application.h"
#include "app/controls.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/printer.h"
#include "app/qt_printer.h"
#include "cups_queue.h"
#include "worksheet/problems.h"
#include "worksheet/random.h"

namespace {

TForm1* form = nullptr;

void SetSixteenProblemSheet()
{
    const char* const settings[][2] = {{"u1h", "9"}, {"u2h", "9"}, {"u3l", "1"}, {"u3h", "9"}, {"d1l", "2"},
                                       {"d1h", "9"}, {"d2l", "1"}, {"d2h", "9"}, {"AnsLow", "1000"},
                                       {"AnsHigh", "99999"}};
    for (const auto& [name, text] : settings)
        static_cast<QLineEdit*>(form->Control(name))->setText(QString::fromUtf8(text));
    form->QNumPattern->SetItemIndex(1);
}

void BM_Preview(benchmark::State& state)
{
    for (auto _ : state) {
        RandomState = 20261207u;
        form->btnPreviewClick();
    }
    state.counters["problems"] = QuestionCount;
}

bool PrinterReady(benchmark::State& state)
{
    try {
        Printer().SetPortrait();
        return true;
    } catch (const std::exception& e) {
        state.SkipWithError((std::string("no printer: ") + e.what()).c_str());
        return false;
    }
}

void BM_PrintJobSpooled(benchmark::State& state)
{
    if (!PrinterReady(state)) return;
    for (auto _ : state) form->btnPrintClick();
}

void BM_PrintJobCompleted(benchmark::State& state)
{
    if (!PrinterReady(state)) return;
    for (auto _ : state) {
        const size_t before = QueuedJobs().size();
        form->btnPrintClick();
        if (WaitForCompletedJobs(before + 1).size() != before + 1) state.SkipWithError("the job did not complete");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    TQtPrinter printer([](QWidget*, QPrinter&) { return false; });
    InstallPrinter(&printer);
    TForm1 window;
    form = &window;
    window.show();
    // The Preview draws only into a box that is on the screen.
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) QCoreApplication::processEvents();
    SetSixteenProblemSheet();

    benchmark::RegisterBenchmark("Preview/16_problems", BM_Preview)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Print/one_job_spooled", BM_PrintJobSpooled)->Unit(benchmark::kMillisecond)->Iterations(20);
    benchmark::RegisterBenchmark("Print/one_job_completed", BM_PrintJobCompleted)->Unit(benchmark::kMillisecond)->Iterations(10);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    InstallPrinter(nullptr);
    return 0;
}
