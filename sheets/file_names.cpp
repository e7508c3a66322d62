#include "sheets/file_names.h"

#include "worksheet/operations.h"

std::string ProposedFileName(TOperation operation, bool diagnostic, int32_t first, size_t count, const std::string& extension)
{
    std::string name = std::string(RulesOf(operation).Name) + (diagnostic ? "診断" : "") + "-No" + std::to_string(first);
    if (count > 1) name += "-" + std::to_string(count) + "枚";
    return name + "." + extension;
}

std::string ProposedFileName(const std::vector<TSheet>& sheets, const std::string& extension)
{
    if (sheets.empty()) return "プリント." + extension;
    const TSheet& first = sheets.front();
    return ProposedFileName(first.Settings.Operation, first.Diagnostic, first.Number, sheets.size(), extension);
}
