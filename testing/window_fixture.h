// The main window on an installed printer and recording dialogs: what every
// window test starts from. The printer is the fake one that records what
// the commands ask of it, or the program's own over CUPS for the tests that
// print for real.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>
#include <type_traits>

#include "app/fmain.h"
#include "app/printer.h"
#include "app/qt_printer.h"
#include "fake_printer.h"
#include "recording_dialogs.h"
#include "worksheet/problems.h"

template <typename TPrinterKind>
struct TWindowFixtureOf {
    TRecordingDialogs Dialogs;
    std::unique_ptr<TPrinterKind> Printer;
    std::unique_ptr<TForm1> Form;

    // For initTestCase and cleanupTestCase.
    void InstallSeams() { InstallDialogs(&Dialogs); }
    void RemoveSeams()
    {
        InstallDialogs(nullptr);
        InstallPrinter(nullptr);
    }

    // A new window on a new printer, with the dialogs, the table and
    // ShowAnswers cleared; `beforeWindow` runs just before the window is
    // made. With `active`, waits for the window to become active: false when
    // it did not.
    bool Open(bool active = true, const std::function<void()>& beforeWindow = {})
    {
        Dialogs.Clear();
        ProblemTable.Clear();
        ShowAnswers = 0;
        if constexpr (std::is_same_v<TPrinterKind, TQtPrinter>)
            Printer = std::make_unique<TQtPrinter>(
                [](QWidget* owner, QPrinter& printer) { return ::Dialogs().PrinterSetup(owner, printer); });
        else
            Printer = std::make_unique<TPrinterKind>();
        InstallPrinter(Printer.get());
        if (beforeWindow) beforeWindow();
        Form = std::make_unique<TForm1>();
        if constexpr (std::is_same_v<TPrinterKind, TQtPrinter>)
            Printer->SetBusyHandler([form = Form.get()](bool busy) { form->ShowPrinting(busy); });
        Form->show();
        if (!active) return true;
        QApplication::setActiveWindow(Form.get());
        return QTest::qWaitForWindowActive(Form.get());
    }

    void Close()
    {
        if constexpr (std::is_same_v<TPrinterKind, TQtPrinter>)
            if (Printer) Printer->SetBusyHandler(nullptr);
        Form.reset();
        InstallPrinter(nullptr);
        Printer.reset();
    }

    QLineEdit* Edit(const char* name) const { return static_cast<QLineEdit*>(Form->Control(name)); }

    // Two-digit by one-digit problems: plenty for every sheet.
    void WideSettings()
    {
        const char* wide[][2] = {{"u1l", "0"}, {"u1h", "9"}, {"u2l", "1"}, {"u2h", "9"}, {"d1l", "2"}, {"d1h", "9"}};
        for (const auto& [box, text] : wide) Edit(box)->setText(text);
        Edit("AnsHigh")->setText("99999");
    }
};

// The window on the fake printer.
using TWindowFixture = TWindowFixtureOf<TFakePrinter>;
// The window on the program's own printer, printing for real.
using TPrintingWindowFixture = TWindowFixtureOf<TQtPrinter>;
