// Tavelin: printed drill sheets of column multiplication. With options it
// runs as a command line, without a window.
#include <iostream>

#include "app/application.h"
#include "app/fmain.h"
#include "cli/command_line.h"

int main(int argc, char** argv)
{
    if (HasCommandLineOptions(argc, argv)) return RunCommandLine(argc, argv, std::cout, std::cerr);
    TApplication app(argc, argv);
    TForm1 form;
    form.show();
    return app.exec();
}
