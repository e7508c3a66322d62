#include "sheets/presets.h"

#include "errors/errors.h"
#include "render/figure.h"
#include "render/large_cell_page.h"
#include "render/paper_size.h"
#include "sheets/json_text.h"
#include "worksheet/settings_fields.h"
#include "worksheet/text_fold.h"

extern const char* const kPresetsJson;

namespace {

std::vector<TPreset> ReadPresets()
{
    const nlohmann::json document = ParseJsonObject(kPresetsJson, "プリセット");
    std::vector<TPreset> presets;
    const auto list = document.find("presets");
    if (list != document.end() && list->is_array())
        for (const nlohmann::json& entry : *list) {
            const auto name = entry.find("name"), settings = entry.find("settings");
            if (name == entry.end() || !name->is_string() || settings == entry.end() || !settings->is_object())
                throw EFileError("プリセットの書き方が正しくありません");
            TSettingsFile file = SettingsFromJson(*settings);
            // A preset says what its problems are: a condition on them that it
            // does not name is off, not left from the preset chosen before.
            // The marks of either kind stay the teacher's choice.
            for (const TFlagField& flag : FlagFields())
                if (flag.Member != &TWorksheetSettings::CarryMarks && flag.Member != &TWorksheetSettings::ReadingMarks)
                    file.Named.insert(flag.Name);
            presets.push_back({name->get<std::string>(), std::move(file)});
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

TSettingsFile PresetFor(const TPreset& preset, const std::string& paperName)
{
    TSettingsFile file = preset.Settings;
    TWorksheetSettings& s = file.Values;
    if (s.CellMM == 0) return file;
    const TPaperSize& paper = PaperSizeNamed(paperName);
    TSheet probe;
    probe.Settings = s;
    probe.Settings.CarryMarks = true;
    const TCellGrid grid = FigureOf(s.Operation).Grid(ShapeOf(probe));
    for (int32_t cell = s.CellMM; cell >= kSmallestCellMM; --cell) {
        int32_t count = 0;
        for (const int32_t offered : kProblemCounts)
            if (offered <= s.Problems &&
                FitLargeCells(grid, cell, offered, paper.WidthMm - 2 * kSheetMarginMm, paper.HeightMm - 2 * kSheetMarginMm,
                              s.ReadingMarks)
                    .Fits())
                count = offered;
        if (count == 0) continue;
        s.CellMM = cell;
        s.Problems = count;
        if (count >= 12) s.QNumPattern = count == 12 ? 0 : 1;
        return file;
    }
    return file;
}

const TPreset* FindPreset(const std::string& name)
{
    // Names as an input method types them: full-width digits, another minus.
    const std::string wanted = FoldForMatching(name);
    for (const TPreset& preset : Presets())
        if (FoldForMatching(preset.Name) == wanted) return &preset;
    return nullptr;
}
