// Tavelin: printed drill sheets of column multiplication.
#include "app/application.h"
#include "app/fmain.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TForm1 form;
    form.show();
    return app.exec();
}
