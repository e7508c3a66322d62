// The modal boxes, the beep and the printer-setup dialog, behind one small
// interface so that tests can answer them without blocking.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/printer.h"

class QImage;
class QPrinter;
class QWidget;
struct TClassSetRequest;

// A long task's progress bar with Cancel.
class TProgress {
public:
    virtual ~TProgress() = default;
    // `done` steps of the total are done; false when the user cancelled.
    virtual bool Step(int done) = 0;
};

class TDialogs {
public:
    enum class TIcon { Warning, Critical, Information };

    virtual ~TDialogs() = default;
    // The system beep.
    virtual void Beep() = 0;
    // A modal box with the icon and one "OK" button, owned by `owner` (may be
    // null); returns when the user has closed it.
    virtual void MessageBox(QWidget* owner, const QString& caption, const QString& text, TIcon icon) = 0;
    // A modal question with the question icon and the buttons はい and いいえ
    // (the default); true for はい.
    virtual bool Confirm(QWidget* owner, const QString& caption, const QString& text) = 0;
    // The platform's printer-setup dialog on `printer`; true when the user
    // chose OK, in which case `printer` holds the chosen printer and settings.
    virtual bool PrinterSetup(QWidget* owner, QPrinter& printer) = 0;
    // The file dialog for a file to write, starting at `proposed` (a path);
    // the chosen path, or empty when the user cancelled. It does not ask
    // about replacing a file: the caller does.
    virtual QString SaveFileName(QWidget* owner, const QString& caption, const QString& proposed,
                                 const QString& filter) = 0;
    // The file dialog for a file to read, starting in `folder`; empty when
    // the user cancelled.
    virtual QString OpenFileName(QWidget* owner, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    // The file dialog for files to read, several at once; empty when the
    // user cancelled.
    virtual QStringList OpenFileNames(QWidget* owner, const QString& caption, const QString& folder,
                                      const QString& filter) = 0;
    // An answer the reader could not decide: `picture` (its cells as
    // written) above `label`, and a box holding `text` at first. True (and
    // `text` what was typed) for OK or Enter; false when the teacher stops.
    virtual bool AskReadAnswer(QWidget* owner, const QImage& picture, const QString& label, QString& text) = 0;
    // The class's results as a table (`header`, `rows`, `footer` under it)
    // with a button for each of `actions` (its caption, what it runs) and
    // 閉じる; returns when it is closed.
    virtual void ShowClassResults(QWidget* owner, const QString& caption, const QStringList& header,
                                  const std::vector<QStringList>& rows, const QString& footer,
                                  const std::vector<std::pair<QString, std::function<void()>>>& actions) = 0;
    // Qt's print preview on `printer`, its pages drawn by `paintPages`.
    // True when the user asked to print from it; the pages are then not
    // printed by the dialog: the caller prints them.
    virtual bool PrintPreview(QWidget* owner, QPrinter& printer, const std::function<void(QPrinter&)>& paintPages) = 0;
    // A modal window with a rich text (help, about) and a close button.
    virtual void ShowDocument(QWidget* owner, const QString& caption, const QString& html) = 0;
    // The class-set dialog on `request`; true (and the request changed) when
    // the user pressed 作成.
    virtual bool AskClassSet(QWidget* owner, TClassSetRequest& request) = 0;
    // A choice of one of `items`, with `label` above them and `current`
    // chosen at first: the index chosen, or -1 when the user cancelled.
    virtual int ChooseItem(QWidget* owner, const QString& caption, const QString& label, const QStringList& items,
                           int current) = 0;
    // A box for each of `problems` (their texts), filled with `answers`: a
    // pupil's answers as the teacher types them. True (and `answers` the
    // texts typed, one per problem) when the user pressed 調べる.
    virtual bool AskAnswers(QWidget* owner, const QString& caption, const QStringList& problems, QStringList& answers) = 0;
    // A one-line box with `label` above it, holding `text` at first: true
    // (and `text` what was typed) when the user pressed OK.
    virtual bool AskText(QWidget* owner, const QString& caption, const QString& label, QString& text) = 0;
    // A progress bar for a task of `total` steps, shown when the task takes
    // longer than a moment; gone with the object.
    virtual std::unique_ptr<TProgress> StartProgress(QWidget* owner, const QString& text, int total) = 0;
};

// The dialogs in use: Qt's own unless a test installed others.
TDialogs& Dialogs();

// Installs `dialogs` (not owned; must outlive its use), or Qt's own for null.
void InstallDialogs(TDialogs* dialogs);

// Before a command writes the file at `path`: refuses (EFileError, naming
// it) a place that is no place for the file (CheckFileToWrite: a device, a
// folder, the history, ...), then asks before an existing file is replaced;
// raises EAbort when the user says no.
void AskBeforeReplacing(QWidget* owner, const QString& path);

// Before a job goes to `printer`: its printable area (PortraitArea), then,
// for a printer that prints into a file, AskBeforeReplacing of that file.
TPrintArea AskBeforeJob(QWidget* owner, TPrinter& printer);
