// The texts of the help menu.
#pragma once

#include <QString>

// The program's version, from the build ("1.0.0").
QString ProgramVersion();

// 使い方: what each box does, the menu, and what the patterns of every
// operation mean, with one example each.
QString HelpHtml();

// このプログラムについて: name, version and licence.
QString AboutHtml();
