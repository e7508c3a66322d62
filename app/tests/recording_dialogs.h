// A TDialogs that records what would have been shown and answers at once.
#pragma once

#include <QString>

#include <functional>
#include <vector>

#include "app/dialogs.h"

struct TRecordingDialogs : TDialogs {
    struct TBox {
        QWidget* Owner;
        QString Caption, Text;
        TIcon Icon;
    };

    std::vector<TBox> Boxes;
    int Beeps = 0;
    int PrinterSetups = 0;
    // The questions asked, and the answer every question gets.
    std::vector<QString> Questions;
    bool ConfirmAnswer = true;
    // Runs while a box is "open" (before MessageBox returns).
    std::function<void(const TBox&)> WhileBoxOpen;
    // Answers the printer-setup dialog; may change the printer. OK by default.
    std::function<bool(QPrinter&)> AnswerPrinterSetup;

    void Beep() override { ++Beeps; }

    void MessageBox(QWidget* owner, const QString& caption, const QString& text, TIcon icon) override
    {
        Boxes.push_back({owner, caption, text, icon});
        if (WhileBoxOpen) WhileBoxOpen(Boxes.back());
    }

    bool Confirm(QWidget*, const QString&, const QString& text) override
    {
        Questions.push_back(text);
        return ConfirmAnswer;
    }

    bool PrinterSetup(QWidget*, QPrinter& printer) override
    {
        ++PrinterSetups;
        return AnswerPrinterSetup ? AnswerPrinterSetup(printer) : true;
    }

    void Clear()
    {
        Boxes.clear();
        Beeps = 0;
        PrinterSetups = 0;
        Questions.clear();
        ConfirmAnswer = true;
        WhileBoxOpen = nullptr;
        AnswerPrinterSetup = nullptr;
    }
};
