// The written figures of decimals: addition and subtraction with their
// points in one column, multiplication with its factors right-aligned and
// its product's point counted, division with both points moved, the
// quotient's point above the moved one and the remainder's at the dividend's
// own. A point stands on the line between two columns and never takes one.
#pragma once

#include "render/figure_style.h"

const TFigureRow& DecimalAdditionFigureRow();
const TFigureRow& DecimalSubtractionFigureRow();
const TFigureRow& DecimalMultiplicationFigureRow();
const TFigureRow& DecimalDivisionFigureRow();
