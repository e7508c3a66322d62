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
#include "recipe/sheet_recipe.h"
#include "render/figure_style.h"
#include "worksheet/sheet.h"

struct TReadPage {
    // Why the page could not be read, in Japanese; empty when it was read or
    // passed over.
    std::string Failure;
    // Passed over: a white page (the back of a duplex scan) or, by its
    // code, an answer sheet or a diagnostic sheet's key.
    bool Blank = false;
    TPageKind Kind = TPageKind::Problems;
    TSheet Sheet;                // made again from its code
    std::string Paper;           // the paper its code names
    THomography PageToImage;     // millimetres inside the margins to pixels
    std::optional<int32_t> Roll; // 出席番号: printed, or read surely enough
    std::vector<TAnswerReading> Answers;  // in problem order
    std::vector<TGreyImage> Pictures;     // each answer's cells as written (the remainder's after a gap)
    std::vector<TAnswerPlaces> Places;    // each answer's cells, in tenths of a millimetre
    bool Skipped() const { return Failure.empty() && (Blank || Kind != TPageKind::Problems); }
    bool Read() const { return Failure.empty() && !Skipped(); }
};

// True for a page with next to no ink: nothing printed or written on it.
bool IsBlankPage(const TGreyImage& image);

// Reads `image`, a page of a sheet of 大きなマス with the reader's marks; a
// white page and a page whose code says it is no problem sheet are passed
// over unread.
TReadPage ReadPage(const TGreyImage& image);

// The sheet as it was printed on its paper (`paper`, as its code names
// it), `dotsPerMm` pixels a millimetre: each point taken from `image` where
// the registration puts it, so the scan's turn, scale and perspective are
// undone; white beyond the image.
TGreyImage RectifiedPage(const TGreyImage& image, const THomography& pageToImage, const std::string& paper, double dotsPerMm);

// The answer's cells of `places` as one picture, `cellSide` pixels a cell.
TGreyImage AnswerPicture(const TGreyImage& image, const THomography& pageToImage, const TAnswerPlaces& places, int32_t cellSide);
