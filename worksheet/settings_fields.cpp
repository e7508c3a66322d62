#include "worksheet/settings_fields.h"

#include <stdexcept>

#include "worksheet/text_to_int.h"

using S = TWorksheetSettings;

const std::vector<TTextField>& TextFields()
{
    static const std::vector<TTextField> fields = {
        {"u1l", &S::u1l, 1}, {"u1h", &S::u1h, 1}, {"u2l", &S::u2l, 1}, {"u2h", &S::u2h, 1},
        {"u3l", &S::u3l, 1}, {"u3h", &S::u3h, 1}, {"u4l", &S::u4l, 1}, {"u4h", &S::u4h, 1},
        {"d1l", &S::d1l, 1}, {"d1h", &S::d1h, 1}, {"d2l", &S::d2l, 1}, {"d2h", &S::d2h, 1},
        {"d3l", &S::d3l, 1}, {"d3h", &S::d3h, 1}, {"d4l", &S::d4l, 1}, {"d4h", &S::d4h, 1},
        {"u01l", &S::u01l, 1}, {"u01h", &S::u01h, 1}, {"u001l", &S::u001l, 1}, {"u001h", &S::u001h, 1},
        {"u0001l", &S::u0001l, 1}, {"u0001h", &S::u0001h, 1},
        {"d01l", &S::d01l, 1}, {"d01h", &S::d01h, 1}, {"d001l", &S::d001l, 1}, {"d001h", &S::d001h, 1},
        {"d0001l", &S::d0001l, 1}, {"d0001h", &S::d0001h, 1},
        {"AnsLow", &S::AnsLow, 9}, {"AnsHigh", &S::AnsHigh, 9}, {"QstSentence", &S::QstSentence, 0, false},
        {"PrnNum", &S::PrnNum, 0},
    };
    return fields;
}

bool IsDecimalPlaceField(const TTextField& field)
{
    const std::string name = field.Name;
    return name.size() >= 4 && (name[0] == 'u' || name[0] == 'd') && name[1] == '0';
}

bool HoldsText(const TTextField& field, const std::string& text)
{
    if (!field.Number || text.empty()) return true;
    try {
        TextToInt(text);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

const TTextField& TextFieldNamed(const std::string& name)
{
    for (const TTextField& field : TextFields())
        if (name == field.Name) return field;
    throw std::logic_error("no settings field " + name);
}

const std::vector<TChoiceField>& ChoiceFields()
{
    static const std::vector<TChoiceField> fields = {
        {"rgKuriagari", &S::Kuriagari, 6},
        {"QNumPattern", &S::QNumPattern, 2},
        {"rgWaku", &S::Waku, 2},
        {"rgAmari", &S::Amari, 3},
    };
    return fields;
}

const std::vector<TFlagField>& FlagFields()
{
    static const std::vector<TFlagField> fields = {
        {"CarryMarks", &S::CarryMarks},
        {"PartialSumCarry", &S::PartialSumCarry},
        {"ReadingMarks", &S::ReadingMarks},
    };
    return fields;
}
