#include "app/history_log.h"

#include "app/application.h"
#include "app/dialogs.h"

THistory* THistoryLog::Get(QWidget* owner)
{
    if (off_) return nullptr;
    if (history_) return history_.get();
    try {
        history_ = std::make_unique<THistory>(DefaultHistoryPath());
    } catch (const EHistoryUnavailable& e) {
        TurnOff(owner, e.what());
        return nullptr;
    }
    if (!history_->MovedAside().empty())
        Dialogs().MessageBox(owner, ApplicationTitle(),
                             QStringLiteral("履歴のファイルが壊れていたので「%1」に移し、新しい履歴を始めました。")
                                 .arg(QString::fromStdString(history_->MovedAside())),
                             TDialogs::TIcon::Warning);
    return history_.get();
}

void THistoryLog::Record(QWidget* owner, std::vector<THistorySheet> sheets)
{
    THistory* history = Get(owner);
    if (!history) return;
    try {
        history->Record(sheets);
    } catch (const EHistoryUnavailable& e) {
        // Kept alive for whoever still holds it; nothing more is recorded.
        TurnOff(owner, e.what());
    }
}

void THistoryLog::Reset()
{
    history_.reset();
    off_ = false;
    why_.clear();
}

void THistoryLog::TurnOff(QWidget* owner, const char* why)
{
    off_ = true;
    why_ = QString::fromUtf8(why);
    Dialogs().MessageBox(owner, ApplicationTitle(), QString::fromUtf8(why), TDialogs::TIcon::Warning);
}

THistoryLog& HistoryLog()
{
    static THistoryLog log;
    return log;
}
