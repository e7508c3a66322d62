// The names proposed for the files of sheets, the same in every front end.
// Pure C++.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "worksheet/sheet.h"

// The name proposed for a file of `count` sheets of `operation` numbered on
// from `first`, with `extension` ("pdf", "csv"): 「かけ算-No7.pdf」 for one
// sheet, 「ひき算診断-No41.csv」 for a diagnostic one, 「たし算-No3-30枚.pdf」
// for a set of 30 from No.3.
std::string ProposedFileName(TOperation operation, bool diagnostic, int32_t first, size_t count, const std::string& extension);

// The same for `sheets` as they were made.
std::string ProposedFileName(const std::vector<TSheet>& sheets, const std::string& extension);
