#include "app/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QPrintDialog>
#include <QPrinter>

namespace {

class TQtDialogs : public TDialogs {
public:
    void Beep() override { QApplication::beep(); }

    void MessageBox(QWidget* owner, const QString& caption, const QString& text, TIcon icon) override
    {
        QMessageBox box(icon == TIcon::Warning ? QMessageBox::Warning : QMessageBox::Critical, caption, text,
                        QMessageBox::Ok, owner);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    }

    bool Confirm(QWidget* owner, const QString& caption, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    bool PrinterSetup(QWidget* owner, QPrinter& printer) override
    {
        QPrintDialog dialog(&printer, owner);
        return dialog.exec() == QDialog::Accepted;
    }
};

TQtDialogs qtDialogs;
TDialogs* installed = nullptr;

}  // namespace

TDialogs& Dialogs()
{
    return installed ? *installed : qtDialogs;
}

void InstallDialogs(TDialogs* dialogs)
{
    installed = dialogs;
}
