#include "render/qt_fonts.h"

#include <QFont>
#include <QString>

#include "render/reference_page.h"

void RegisterFontSubstitutes()
{
    static bool registered = false;
    if (registered) return;
    registered = true;
    static const struct {
        const char* face;
        const char* substitute;
    } substitutes[] = {
        {kPGothicFace, "IPAPGothic"},
        {kGothicFace, "IPAGothic"},
        {kMinchoFace, "IPAMincho"},
    };
    for (const auto& s : substitutes)
        QFont::insertSubstitution(QString::fromUtf8(s.face), QString::fromUtf8(s.substitute));
}
