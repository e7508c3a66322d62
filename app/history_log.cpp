#include "app/history_log.h"

#include <QApplication>

#include "app/application.h"
#include "app/dialogs.h"

THistoryRecorder& HistoryLog()
{
    static THistoryRecorder log([](const std::string& message) {
        Dialogs().MessageBox(QApplication::activeWindow(), ApplicationTitle(), QString::fromStdString(WithFinalPeriod(message)),
                             TDialogs::TIcon::Warning);
    });
    return log;
}
