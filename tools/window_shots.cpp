// Screenshots of the real window for the README, taken on an X server
// (scripts/screenshots runs this under Xvfb):
//   window_shots <folder>
// writes window.png at start, window-preview.png after a 16-problem Preview,
// window-menu.png with the settings menu and its presets open,
// window-subtraction.png after a Preview of a subtraction with its marks,
// window-class-set.png with the class-set dialog and window-history.png with
// the history window (of a history made for the picture).
#include <QAction>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

#include <QTemporaryDir>

#include "app/application.h"
#include "app/class_set_dialog.h"
#include "app/history_log.h"
#include "app/history_window.h"
#include "sheets/class_set.h"
#include "sheets/presets.h"
#include "app/controls.h"
#include "app/fmain.h"

namespace {

void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Shoot(QWidget& form, const QString& path)
{
    Settle(400);
    const bool ok = form.screen()->grabWindow(form.winId()).save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// The screen around the window, so that open menus show too.
bool ShootScreen(TForm1& form, const QRect& area, const QString& path)
{
    Settle(600);
    const bool ok = form.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

}  // namespace

// A few weeks of sheets in a history of its own.
void RecordSampleHistory()
{
    const char* const presets[] = {"2けた・3けた×1けた（一の位でくり上がり）", "3けた＋3けた（くり上がり2回）",
                                   "3けた−3けた（0をこえるくり下がり）"};
    int32_t number = 1;
    TRandom random{20261207u};
    for (const char* name : presets) {
        const TWorksheetSettings settings = [&] {
            TWorksheetSettings s;
            ApplyNamed(FindPreset(name)->Settings, s);
            return s;
        }();
        const TClassSet set = MakeClassSet(settings, 4, number, random);
        HistoryLog().Record(set.Sheets, true, "TavelinPDF");
        number += 4;
    }
}

int main(int argc, char** argv)
{
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
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

    // The settings menu with its presets.
    auto* settingsMenu = form.findChild<QMenu*>("mnuSettings");
    auto* presets = form.findChild<QMenu*>("mnuPresets");
    form.MenuBar->setActiveAction(settingsMenu->menuAction());
    Settle(300);
    settingsMenu->setActiveAction(presets->menuAction());
    presets->popup(settingsMenu->mapToGlobal(settingsMenu->actionGeometry(presets->menuAction()).topRight()));
    const QRect frame = form.frameGeometry();
    const QRect menus = presets->geometry().united(settingsMenu->geometry());
    ok &= ShootScreen(form, QRect(frame.topLeft(), QSize(std::max(frame.width(), menus.right() - frame.left() + 8),
                                                         std::max(frame.height(), menus.bottom() - frame.top() + 8)))
                                .intersected(form.screen()->geometry()),
                      folder + "/window-menu.png");
    settingsMenu->close();
    form.MenuBar->setActiveAction(nullptr);

    TClassSetRequest request;
    TClassSetDialog classSet(&form, request);
    classSet.show();
    ok &= Shoot(classSet, folder + "/window-class-set.png");
    classSet.close();

    // A subtraction with borrows across 0, its answer sheet with the marks.
    form.SetOperation(TOperation::Subtraction);
    for (size_t i = 0; i < Presets().size(); ++i)
        if (Presets()[i].Name == "3けた−3けた（0をこえるくり下がり）") form.PresetClick(i);
    form.SetCarryMarks(true);
    form.btnPreview->click();
    ok &= Shoot(form, folder + "/window-subtraction.png");
    form.SetCarryMarks(false);
    form.SetOperation(TOperation::Multiplication);

    RecordSampleHistory();
    form.HistoryClick();
    form.HistoryWindow()->resize(1180, 520);
    form.HistoryWindow()->SelectRow(2);
    ok &= Shoot(*form.HistoryWindow(), folder + "/window-history.png");
    return ok ? 0 : 1;
}
