#pragma once
// Radians to degrees with the library's own factor.
namespace vorlane::symmetry {

// 57.29578 (bits 42652EE1), one unit in the last place above the 180/pi of the cell geometry.
float DEGREE(float X);

}  // namespace vorlane::symmetry
