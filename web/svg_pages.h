// The browser edition's pages: sheets drawn as SVG by the desktop's page
// and figure code, at the size and resolution of the desktop's PDF of the
// same paper, so that they are laid out as its PDF is. Pure C++.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/page_layout.h"
#include "sheets/sheet_output.h"
#include "worksheet/sheet.h"

// The inside of a paper's margins in the desktop PDF's dots (1200 per inch)
// and in millimetres; the margin in whole points, as the PDF keeps it.
struct TSvgPageSize {
    int32_t W = 0, H = 0;
    int32_t MarginPt = 0;
    double WidthMm = 0, HeightMm = 0;
    double DotsPerMm = 0;
};

// The page size for the paper of that name (A4 for a name it does not know).
TSvgPageSize SvgPageSize(const std::string& paperName);

// The view `sheet` is drawn with on that paper: its settings' view, in the
// paper's millimetres.
TPageView SvgPageView(const TSheet& sheet, const std::string& paperName);

struct TSvgPage {
    std::string Svg;
    int32_t Number = 0;
    bool Answers = false;
};

// Every page of `sheets` in `order` on that paper, one SVG each.
std::vector<TSvgPage> SvgPages(const std::vector<TSheet>& sheets, TAnswerOrder order, const std::string& paperName);
