// Must fail to compile: the pure layers may not include Qt.
#include <QtCore/qglobal.h>

int main()
{
    return 0;
}
