// Finding a sheet on a scan or a photo: its four corner marks, the map from
// the page to the image, and the recipe its code holds. Pure C++.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "reader/grey_image.h"
#include "reader/homography.h"
#include "recipe/sheet_recipe.h"

// The centres of four dark squares near the image's corners that may be
// the corner marks (top left, top right, bottom left, bottom right of the
// image): alike squares of the marks' size making a quadrilateral of their
// shape, the largest first, at most kMostMarkCandidates; none when no four
// do.
inline constexpr size_t kMostMarkCandidates = 48;
std::vector<std::array<TPoint, 4>> FindCornerMarks(const TGreyImage& image);

// A sheet found: the map from its page (millimetres from the inside of its
// margins) to the image's pixels, and its recipe.
struct TRegistration {
    THomography PageToImage;
    TSheetRecipe Recipe;
};

// Why a page was not registered.
enum class TRegistrationFailure { NoMarks, NoCode };

// Finds the sheet on `image`: its marks in any of the four turns, the paper
// its code says, the code read (a little off where a photo bends the paper).
struct TRegistrationResult {
    std::optional<TRegistration> Found;
    TRegistrationFailure Failure = TRegistrationFailure::NoMarks;
};
TRegistrationResult Register(const TGreyImage& image);

// The grey levels of the code's modules on `image` under `pageToImage`,
// with the code's box and module in millimetres; read as black and white
// by the ring's and the margin's levels.
std::vector<bool> CodeModulesSeen(const TGreyImage& image, const THomography& pageToImage, TPoint codeTopLeftMm, double moduleMm);
