// A TDialogs that records what would have been shown and answers at once.
#pragma once

#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/class_set_dialog.h"
#include "app/dialogs.h"

struct TRecordingDialogs : TDialogs {
    struct TBox {
        QWidget* Owner;
        QString Caption, Text;
        TIcon Icon;
        int ProgressOpen = 0;  // progress bars still showing when the box opened
    };

    std::vector<TBox> Boxes;
    int Beeps = 0;
    int PrinterSetups = 0;
    // The questions asked, and the answer every question gets.
    std::vector<QString> Questions;
    bool ConfirmAnswer = true;
    // The file dialogs: what they were proposed, and the path they answer
    // (empty: cancelled).
    std::vector<QString> FileProposals;
    QString FileAnswer;
    // Print previews: their pages are drawn into this PDF file when it is
    // set; PreviewPrints is the answer (print from the preview or not).
    int Previews = 0;
    QString PreviewPdf;
    bool PreviewPrints = false;
    // Documents shown (help, about): caption and text.
    std::vector<std::pair<QString, QString>> Documents;
    // The class-set dialog's answer: the request it returns, or none for
    // Cancel.
    std::optional<TClassSetRequest> ClassSetAnswer;
    // Progress bars: the steps reported, and the step at which Cancel is
    // pressed (0: never).
    std::vector<int> ProgressSteps;
    int CancelAtStep = 0;
    int ProgressOpen = 0;
    // Choices asked (their items), and the index every one answers (-1: Cancel).
    std::vector<QStringList> Choices;
    int ChoiceAnswer = 0;
    // Answer boxes asked (their problems, and what they were filled with),
    // and the texts they answer, in turn (none left: Cancel).
    std::vector<std::pair<QStringList, QStringList>> AnswerRequests;
    std::vector<QStringList> AnswersTyped;
    // Runs while a box is "open" (before MessageBox returns).
    std::function<void(const TBox&)> WhileBoxOpen;
    // Answers the printer-setup dialog; may change the printer. OK by default.
    std::function<bool(QPrinter&)> AnswerPrinterSetup;

    void Beep() override { ++Beeps; }

    void MessageBox(QWidget* owner, const QString& caption, const QString& text, TIcon icon) override
    {
        Boxes.push_back({owner, caption, text, icon, ProgressOpen});
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

    QString SaveFileName(QWidget*, const QString&, const QString& proposed, const QString&) override
    {
        FileProposals.push_back(proposed);
        return FileAnswer;
    }

    QString OpenFileName(QWidget*, const QString&, const QString& folder, const QString&) override
    {
        FileProposals.push_back(folder);
        return FileAnswer;
    }

    // Files chosen to read (none: cancelled).
    QStringList FilesAnswer;
    QStringList OpenFileNames(QWidget*, const QString&, const QString& folder, const QString&) override
    {
        FileProposals.push_back(folder);
        return FilesAnswer;
    }

    // Undecided answers asked (their label and the reading offered), and what
    // the tests type into them in turn (none left: the teacher stops).
    std::vector<std::pair<QString, QString>> ReadAnswerRequests;
    std::vector<QString> ReadAnswersTyped;
    bool AskReadAnswer(QWidget*, const QImage&, const QString& label, QString& text) override
    {
        ReadAnswerRequests.emplace_back(label, text);
        if (ReadAnswerRequests.size() > ReadAnswersTyped.size()) return false;
        text = ReadAnswersTyped[ReadAnswerRequests.size() - 1];
        return true;
    }

    // Results shown: header, rows and footer; the captions of the actions
    // run while it is "open", in turn.
    struct TResults {
        QStringList Header;
        std::vector<QStringList> Rows;
        QString Footer;
        QStringList Actions;
    };
    std::vector<TResults> Results;
    QStringList ResultActionsToRun;
    void ShowClassResults(QWidget*, const QString&, const QStringList& header, const std::vector<QStringList>& rows,
                          const QString& footer, const std::vector<std::pair<QString, std::function<void()>>>& actions) override
    {
        TResults shown{header, rows, footer, {}};
        for (const auto& action : actions) shown.Actions << action.first;
        Results.push_back(shown);
        for (const QString& wanted : ResultActionsToRun)
            for (const auto& [name, run] : actions)
                if (name == wanted) run();
    }

    bool PrintPreview(QWidget*, QPrinter& printer, const std::function<void(QPrinter&)>& paintPages) override
    {
        ++Previews;
        if (!PreviewPdf.isEmpty()) {
            QPrinter file(QPrinter::HighResolution);
            file.setOutputFormat(QPrinter::PdfFormat);
            file.setOutputFileName(PreviewPdf);
            file.setPageLayout(printer.pageLayout());
            paintPages(file);
        }
        return PreviewPrints;
    }

    void ShowDocument(QWidget*, const QString& caption, const QString& html) override
    {
        Documents.emplace_back(caption, html);
    }

    bool AskClassSet(QWidget*, TClassSetRequest& request) override
    {
        if (!ClassSetAnswer) return false;
        request = *ClassSetAnswer;
        return true;
    }

    int ChooseItem(QWidget*, const QString&, const QString&, const QStringList& items, int) override
    {
        Choices.push_back(items);
        return ChoiceAnswer;
    }

    bool AskAnswers(QWidget*, const QString&, const QStringList& problems, QStringList& answers) override
    {
        AnswerRequests.emplace_back(problems, answers);
        if (AnswerRequests.size() > AnswersTyped.size()) return false;
        answers = AnswersTyped[AnswerRequests.size() - 1];
        return true;
    }

    // The texts asked for, and what the tests type into them (none: cancelled).
    std::vector<QString> TextRequests;
    std::optional<QString> TextTyped;
    bool AskText(QWidget*, const QString& caption, const QString&, QString& text) override
    {
        TextRequests.push_back(caption);
        if (!TextTyped) return false;
        text = *TextTyped;
        return true;
    }

    struct TRecordingProgress : TProgress {
        explicit TRecordingProgress(TRecordingDialogs& owner) : Owner(owner) { ++Owner.ProgressOpen; }
        ~TRecordingProgress() override { --Owner.ProgressOpen; }
        bool Step(int done) override
        {
            Owner.ProgressSteps.push_back(done);
            return Owner.CancelAtStep == 0 || static_cast<int>(Owner.ProgressSteps.size()) < Owner.CancelAtStep;
        }
        TRecordingDialogs& Owner;
    };

    std::unique_ptr<TProgress> StartProgress(QWidget*, const QString&, int) override
    {
        return std::make_unique<TRecordingProgress>(*this);
    }

    void Clear()
    {
        Boxes.clear();
        Beeps = 0;
        PrinterSetups = 0;
        Questions.clear();
        ConfirmAnswer = true;
        FileProposals.clear();
        FileAnswer.clear();
        Previews = 0;
        PreviewPdf.clear();
        PreviewPrints = false;
        Documents.clear();
        ClassSetAnswer.reset();
        Choices.clear();
        ChoiceAnswer = 0;
        AnswerRequests.clear();
        AnswersTyped.clear();
        TextRequests.clear();
        TextTyped.reset();
        ProgressSteps.clear();
        CancelAtStep = 0;
        ProgressOpen = 0;
        WhileBoxOpen = nullptr;
        AnswerPrinterSetup = nullptr;
        FilesAnswer.clear();
        ReadAnswerRequests.clear();
        ReadAnswersTyped.clear();
        Results.clear();
        ResultActionsToRun.clear();
    }
};
