// The names a screen reader speaks for the controls of the window and its
// dialogs: every focusable control has one of its own, in Japanese.
#pragma once

#include <QString>

#include <string>

#include "worksheet/settings.h"

class QWidget;

// The name of the settings box `field` (u1l … d4h, AnsLow, AnsHigh,
// QstSentence, PrnNum) while the window is set to `operation`:
// "かけられる数 一の位 いちばん小さい数字", "答えの範囲 下限", "問題文", ….
QString SpokenBoxName(const std::string& field, TOperation operation);

// Gives every focusable control under `root` that has no name of its own the
// text of the label that stands for it (its buddy), and makes Tab leave
// tables and text views instead of moving inside them.
void NameForScreenReaders(QWidget* root);
