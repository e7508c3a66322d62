// The program's face names and the fonts that stand in for them here.
#pragma once

#include <QString>

#include <string>

// Registers, once per process, the IPA fonts as substitutes for the face
// names the program uses: "ＭＳ Ｐゴシック" → IPAPGothic, "ＭＳ ゴシック" →
// IPAGothic, "ＭＳ 明朝" → IPAMincho. Needs a QGuiApplication.
void RegisterFontSubstitutes();

// The installed family that stands in for a face name of the program (the
// same table); any other name as it is. Asking for the installed family
// spares the font lookup the substitution would cost.
QString InstalledFamily(const std::string& face);
