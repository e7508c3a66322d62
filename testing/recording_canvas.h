// A recorded page with simple fixed metrics for the tests: an ASCII
// character is Font.Height / 2 wide (at least 1), any other character twice
// that. It also logs every width it is asked for, with the style of the font.
#pragma once

#include <string>
#include <vector>

#include "render/recorded_page.h"

using TRecord = TCanvasOp;

struct TWidthQuery {
    std::string Text;
    TFontStyles Style;
};

// The fixed metrics themselves.
int32_t FixedWidth(const TFont& font, const std::string& text);

class TRecordingCanvas : public TRecordedPage {
public:
    std::vector<TWidthQuery> WidthQueries;

protected:
    int32_t Measure(const TFont& font, const std::string& text) override;
};
