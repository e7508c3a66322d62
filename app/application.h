// The application object and the top-level display of errors.
#pragma once

#include <QApplication>
#include <QString>
#include <QTranslator>

#include <exception>
#include <string>

#include "errors/errors.h"

// The QApplication of this program: no exception thrown by an event handler
// crosses the event loop; each is shown by ShowException and the loop goes on.
// Qt's own dialogs, menus and messages speak Japanese, as the program does.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;
    bool notify(QObject* receiver, QEvent* event) override;

private:
    QTranslator* qtTranslator_;
};

// True when the window can be shown: a display (X11 or Wayland) is named, or
// a Qt platform is chosen that needs none.
bool HasDisplay();

// What the program says when the window cannot be shown for want of a
// display, in Japanese, with the way to use it without one.
std::string NoDisplayMessage();

// The application title from a program file name: everything from the first
// "." is dropped, and every character after the first is turned to lower case
// ("ABC.EXE" gives "Abc").
QString ApplicationTitleOf(const QString& programFileName);

// The title of this program, from the name of its running file.
QString ApplicationTitle();

// The text of the error box: the message with a "." appended, unless it is
// empty or its last character's code is not above that of ".".
QString ErrorBoxText(const std::string& message);

// Shows the error in a modal box owned by the active window, captioned with
// the application title, with the stop icon and one OK button. An error
// raised while such a box is open is not shown again.
void ShowException(const std::exception& error);
void ShowErrorMessage(const std::string& message);

// Runs `action`; an exception it throws is shown by ShowException instead of
// travelling on (EAbort, a command the user called off, is not shown).
// Command handlers run through this.
template <typename F>
void RunGuarded(F&& action)
{
    try {
        action();
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowErrorMessage("");
    }
}
