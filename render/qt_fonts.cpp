#include "render/qt_fonts.h"

#include <QFont>
#include <QString>

void RegisterFontSubstitutes()
{
    static bool registered = false;
    if (registered) return;
    registered = true;
    static const struct {
        const char* face;
        const char* substitute;
    } substitutes[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ ゴシック", "IPAGothic"},
        {"ＭＳ 明朝", "IPAMincho"},
    };
    for (const auto& s : substitutes)
        QFont::insertSubstitution(QString::fromUtf8(s.face), QString::fromUtf8(s.substitute));
}
