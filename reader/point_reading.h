// A decimal point a pupil writes on the line between two cells of an answer,
// read from a picture of the foot of that line. Pure C++.
#pragma once

#include "reader/grey_image.h"
#include "reader/homography.h"
#include "reader/cell_reading.h"

// The part of the page where a point after `cell` is written: a square as
// high as six tenths of the cell, across the line at its right, from the
// middle of the cell to a little below its foot.
TCellMm PointPlace(const TCellMm& cell);

// The chance that the picture of a PointPlace holds a written point: a small
// solid dot inside it, clear of its edges; strokes of the digits beside it
// (which reach its edges) and rules across it are no point.
double ReadPoint(const TGreyImage& picture);
