// The problems and answers of sheets as CSV, for a spreadsheet to mark with.
// Pure C++.
#pragma once

#include <string>
#include <vector>

#include "worksheet/sheet.h"

// UTF-8, one line per problem on a page, after the header
// "sheet,problem,operation,first,second,answer,remainder": the sheet's
// number, the problem's place on the sheet (from 1), the operation as
// settings files name it, the numbers and the answer; the remainder is
// empty but for a division (and a rounded quotient). Decimals are written
// with their points: "7.4", an answer "2.3", a remainder "0.2".
// Pupils' follow-up sheets among them add two columns, "shusseki,purpose":
// the sheet's 出席番号 (empty for none) and what the problem is for
// (PurposeName).
std::string SheetsCsv(const std::vector<TSheet>& sheets);
