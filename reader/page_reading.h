// A page of the class's answers read whole: registered by its marks and
// code, its sheet made again from the recipe, every answer cell found by the
// same layout that drew it and read. Pure C++.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "reader/answer_reading.h"
#include "reader/grey_image.h"
#include "reader/homography.h"
#include "render/figure_style.h"
#include "worksheet/sheet.h"

struct TReadPage {
    // Why the page could not be read, in Japanese; empty when it was.
    std::string Failure;
    TSheet Sheet;                // made again from its code
    std::string Paper;           // the paper its code names
    THomography PageToImage;     // millimetres inside the margins to pixels
    std::optional<int32_t> Roll; // 出席番号: printed, or read surely enough
    std::vector<TAnswerReading> Answers;  // in problem order
    std::vector<TGreyImage> Pictures;     // each answer's cells as written (the remainder's after a gap)
    std::vector<TAnswerPlaces> Places;    // each answer's cells, in tenths of a millimetre
    bool Read() const { return Failure.empty(); }
};

// Reads `image`, a page of a sheet of 大きなマス with the reader's marks.
TReadPage ReadPage(const TGreyImage& image);

// The answer's cells of `places` as one picture, `cellSide` pixels a cell.
TGreyImage AnswerPicture(const TGreyImage& image, const THomography& pageToImage, const TAnswerPlaces& places, int32_t cellSide);
