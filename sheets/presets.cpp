#include "sheets/presets.h"

#include <QJsonArray>

#include "sheets/settings_file.h"
#include "errors/errors.h"
#include "worksheet/text_fold.h"

extern const char* const kPresetsJson;

namespace {

std::vector<TPreset> ReadPresets()
{
    const QJsonObject document = ParseJsonObject(QByteArray(kPresetsJson), QStringLiteral("プリセット"));
    std::vector<TPreset> presets;
    for (const QJsonValue& entry : document.value(QStringLiteral("presets")).toArray()) {
        const QJsonObject object = entry.toObject();
        presets.push_back({object.value(QStringLiteral("name")).toString().toStdString(),
                           SettingsFromJson(object.value(QStringLiteral("settings")).toObject())});
    }
    if (presets.empty()) throw EFileError("プリセットがありません");
    return presets;
}

}  // namespace

const std::vector<TPreset>& Presets()
{
    static const std::vector<TPreset> presets = ReadPresets();
    return presets;
}

const TPreset* FindPreset(const std::string& name)
{
    // Names as an input method types them: full-width digits, another minus.
    const std::string wanted = FoldForMatching(name);
    for (const TPreset& preset : Presets())
        if (FoldForMatching(preset.Name) == wanted) return &preset;
    return nullptr;
}
