// The main window on a fake printer and recording dialogs, shown and active:
// what the tests that drive the window through its menu start from.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "app/fmain.h"
#include "app/printer.h"
#include "fake_printer.h"
#include "recording_dialogs.h"
#include "worksheet/problems.h"

struct TWindowFixture {
    TRecordingDialogs Dialogs;
    std::unique_ptr<TFakePrinter> Printer;
    std::unique_ptr<TForm1> Form;

    // For initTestCase and cleanupTestCase.
    void InstallSeams() { InstallDialogs(&Dialogs); }
    void RemoveSeams()
    {
        InstallDialogs(nullptr);
        InstallPrinter(nullptr);
    }

    // A new window on a new printer, the table and the dialogs cleared;
    // false when the window did not become active.
    bool Open()
    {
        Dialogs.Clear();
        ProblemTable.Clear();
        ShowAnswers = 0;
        Printer = std::make_unique<TFakePrinter>();
        InstallPrinter(Printer.get());
        Form = std::make_unique<TForm1>();
        Form->show();
        QApplication::setActiveWindow(Form.get());
        return QTest::qWaitForWindowActive(Form.get());
    }

    void Close()
    {
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
