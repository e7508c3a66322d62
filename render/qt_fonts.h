// The program's face names and the fonts that stand in for them here.
#pragma once

// Registers, once per process, the IPA fonts as substitutes for the face
// names the program uses: "ＭＳ Ｐゴシック" → IPAPGothic, "ＭＳ ゴシック" →
// IPAGothic, "ＭＳ 明朝" → IPAMincho. Needs a QGuiApplication.
void RegisterFontSubstitutes();
