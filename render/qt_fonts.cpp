#include "render/qt_fonts.h"

#include <QFont>

#include "render/reference_page.h"

namespace {

const struct {
    const char* Face;
    const char* Installed;
} kSubstitutes[] = {
    {kPGothicFace, "IPAPGothic"},
    {kGothicFace, "IPAGothic"},
    {kMinchoFace, "IPAMincho"},
};

}  // namespace

void RegisterFontSubstitutes()
{
    static bool registered = false;
    if (registered) return;
    registered = true;
    for (const auto& s : kSubstitutes)
        QFont::insertSubstitution(QString::fromUtf8(s.Face), QString::fromUtf8(s.Installed));
}

QString InstalledFamily(const std::string& face)
{
    for (const auto& s : kSubstitutes)
        if (face == s.Face) return QString::fromUtf8(s.Installed);
    return QString::fromStdString(face);
}
