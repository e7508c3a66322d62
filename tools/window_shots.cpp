// Screenshots of the real window for the README, taken on an X server
// (scripts/screenshots runs this under Xvfb):
//   window_shots <folder>
// writes window.png at start and window-preview.png after a 16-problem Preview.
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

#include "app/application.h"
#include "app/controls.h"
#include "app/fmain.h"

namespace {

void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Shoot(TForm1& form, const QString& path)
{
    Settle(400);
    const bool ok = form.screen()->grabWindow(form.winId()).save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    TForm1 form;
    form.show();
    bool ok = Shoot(form, folder + "/window.png");

    // Three digits by two, the product from 1000 to 99999, four rows.
    const char* const settings[][2] = {{"u1h", "9"}, {"u2h", "9"}, {"u3l", "1"}, {"u3h", "9"}, {"d1l", "2"},
                                       {"d1h", "9"}, {"d2l", "1"}, {"d2h", "9"}, {"AnsLow", "1000"},
                                       {"AnsHigh", "99999"}};
    for (const auto& [name, text] : settings)
        static_cast<QLineEdit*>(form.Control(name))->setText(QString::fromUtf8(text));
    form.QNumPattern->SetItemIndex(1);
    form.btnPreview->click();
    ok &= Shoot(form, folder + "/window-preview.png");
    return ok ? 0 : 1;
}
