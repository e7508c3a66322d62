#include "app/spoken_names.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QLabel>
#include <QTextEdit>
#include <QWidget>

#include "worksheet/operations.h"

QString SpokenBoxName(const std::string& field, TOperation operation)
{
    static const char* const kPlaces[] = {"一の位", "十の位", "百の位", "千の位"};
    if (field.size() == 3 && (field[0] == 'u' || field[0] == 'd') && field[1] >= '1' && field[1] <= '4') {
        const TOperationRules& rules = RulesOf(operation);
        return QStringLiteral("%1 %2 %3")
            .arg(QString::fromUtf8(field[0] == 'u' ? rules.FirstNumberName : rules.SecondNumberName),
                 QString::fromUtf8(kPlaces[field[1] - '1']),
                 field[2] == 'l' ? QStringLiteral("いちばん小さい数字") : QStringLiteral("いちばん大きい数字"));
    }
    // The decimal places: u01l, d001h, …
    if (field.size() >= 4 && (field[0] == 'u' || field[0] == 'd') && field[1] == '0') {
        const TOperationRules& rules = RulesOf(operation);
        const size_t zeros = field.find('1') - 2;
        static const char* const kDecimalPlaces[] = {"1/10の位", "1/100の位", "1/1000の位"};
        return QStringLiteral("%1 %2 %3")
            .arg(QString::fromUtf8(field[0] == 'u' ? rules.FirstNumberName : rules.SecondNumberName),
                 QString::fromUtf8(kDecimalPlaces[std::min<size_t>(zeros, 2)]),
                 field.back() == 'l' ? QStringLiteral("いちばん小さい数字") : QStringLiteral("いちばん大きい数字"));
    }
    if (field == "AnsLow") return QStringLiteral("答えの範囲 下限");
    if (field == "AnsHigh") return QStringLiteral("答えの範囲 上限");
    if (field == "QstSentence") return QStringLiteral("問題文");
    if (field == "PrnNum") return QStringLiteral("プリント番号");
    return {};
}

void NameForScreenReaders(QWidget* root)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy && buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')).remove(QStringLiteral("：")));
    }
    for (QAbstractItemView* view : root->findChildren<QAbstractItemView*>()) view->setTabKeyNavigation(false);
    for (QTextEdit* text : root->findChildren<QTextEdit*>()) text->setTabChangesFocus(true);
}
