#pragma once
// Choosing the number of decimals that lets a value fill a fixed-width F field.

namespace vorlane::output {

// W: field width; X: the value. D: decimals for an FW.D field; IOVER: 0 when X fits, 1 when
// it does not (D is then not meaningful).
//
// Digits are counted on X + 0.001, so an exact power of ten keeps its decimals. Rounding X to
// the decimals found can still carry into one more integer digit (9999.996 in F7.2 reads
// 10000.00, eight characters); D is then lowered until the rounded value fits, and a value
// that fits with no decimal at all overflows. A value that is not finite never fits.
void DYNAMIC_FT(int W, float X, int& D, int& IOVER);

}  // namespace vorlane::output
