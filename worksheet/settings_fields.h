// The settings by the names of their controls: one table that the window,
// the settings files and the presets share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "worksheet/settings.h"

// The most characters a box without a limit of its own takes.
constexpr int32_t kLongestBoxText = 32767;

// A text setting: its control's name, its field, the most characters its
// box takes (0: no limit of its own, kLongestBoxText), and whether it holds
// a whole number (an empty box holds 0).
struct TTextField {
    const char* Name;
    std::string TWorksheetSettings::*Member;
    int32_t MaxLength;
    bool Number = true;
};

// A choice setting: its radio group's name, its field (the item index) and
// how many items the group has.
struct TChoiceField {
    const char* Name;
    int32_t TWorksheetSettings::*Member;
    int32_t Items;
};

// A yes-or-no setting: its key in settings files (the menu item is "act"
// followed by it) and its field.
struct TFlagField {
    const char* Name;
    bool TWorksheetSettings::*Member;
};

// u1l … u4h, d1l … d4h, the decimal places u01l … u0001h and d01l …
// d0001h, AnsLow, AnsHigh, QstSentence, PrnNum, in this order.
const std::vector<TTextField>& TextFields();

// True for the boxes of the decimal places (u01l … d0001h).
bool IsDecimalPlaceField(const TTextField& field);

// True when `text` is what the box of `field` may hold: any text for the
// sentence, a whole number (TextToInt) or nothing for a box of a number.
bool HoldsText(const TTextField& field, const std::string& text);

// The text field of that name; std::logic_error when there is none.
const TTextField& TextFieldNamed(const std::string& name);

// rgKuriagari, QNumPattern, rgWaku, rgAmari, in this order.
const std::vector<TChoiceField>& ChoiceFields();

// CarryMarks, PartialSumCarry, in this order.
const std::vector<TFlagField>& FlagFields();
