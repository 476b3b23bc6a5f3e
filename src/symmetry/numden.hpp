#pragma once
// A real as a small fraction, for printing translations.
namespace vorlane::symmetry {

// K on entry: denominator class (largest denominator 9 - 3K: K = 1 gives 6 without 5,
// K = 2 gives 3). On return NUM/DEN is the fraction and K the result code: 0 zero,
// +-1 a fraction of X itself, +-2 a fraction of the part of X beyond its whole number,
// +-99 no small fraction; the sign is the sign of X.
void NUMDEN(float X, int& NUM, int& DEN, int& K);

}  // namespace vorlane::symmetry
