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
