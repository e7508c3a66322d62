// The wrong procedures pupils follow with decimals, each as what a pupil
// following it writes given the problem worked the right way: the points
// lined up in a multiplication as in an addition, the product's point taken
// from the longer factor, the remainder's point taken from the moved point,
// the quotient's 0. left out, and the digits of an addition or subtraction
// lined up at the right instead of at the point. They are the catalogues of
// the decimal operations' diagnostic rows (WrongProcedures). Pure C++.
#pragma once

#include "worksheet/diagnostic_row.h"
