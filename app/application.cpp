#include "app/application.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>

#include "app/dialogs.h"
#include "render/qt_fonts.h"

namespace {

// The platform's style, with tooltips that appear after 500 ms.
class TToolTipTimingStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay) return 500;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv), qtTranslator_(new QTranslator(this))
{
    RegisterFontSubstitutes();
    setStyle(new TToolTipTimingStyle);
    // Whatever the user's locale: the whole interface is Japanese.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    if (qtTranslator_->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtTranslator_);
}

TApplication::~TApplication() = default;

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

std::string NoDisplayMessage()
{
    const QByteArray display = qgetenv("DISPLAY");
    const std::string which = display.isEmpty() ? std::string() : "「" + display.toStdString() + "」";
    return "画面（ディスプレイ" + which + "）につながらないので、ウィンドウを開けません。"
           "画面のあるところで起動するか、Tavelin --help でコマンドラインの使い方を見てください。";
}

QString ApplicationTitleOf(const QString& programFileName)
{
    QString title = programFileName.left(programFileName.indexOf(QLatin1Char('.')));
    if (title.size() > 1) title = title.left(1) + title.mid(1).toLower();
    return title;
}

QString ApplicationTitle()
{
    return ApplicationTitleOf(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

QString ErrorBoxText(const std::string& message)
{
    return QString::fromStdString(WithFinalPeriod(message));
}

void ShowException(const std::exception& error)
{
    ShowErrorMessage(MessageOf(error));
}

void ShowErrorMessage(const std::string& message)
{
    // A repaint that fails again while the box is open would open box upon box.
    static bool showing = false;
    if (showing) return;
    showing = true;
    struct TReset {
        ~TReset() { showing = false; }
    } reset;
    Dialogs().MessageBox(QApplication::activeWindow(), ApplicationTitle(), ErrorBoxText(message),
                         TDialogs::TIcon::Critical);
}
