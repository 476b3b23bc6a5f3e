#pragma once
// Appending one formatted field to a record under construction (no temporary strings).
// The public format_* functions and the edit-list writer both use these.
#include <cstdint>
#include <string>
#include <string_view>

namespace vorlane::records::detail {

// Iw[.m]: `min_digits` < 0 when there is no .m; width 0 = minimal width.
void append_I(std::string& out, int value, int width, int min_digits);
// Fw.d of the exact value: a float is rounded from its own binary value, not from a double
// that happens to be near it. Width 0 = minimal width.
void append_F(std::string& out, float value, int width, int decimals);
void append_F(std::string& out, double value, int width, int decimals);
// The usual narrow fields as one word, for a writer that stores them where they go: the
// field's columns in the word's bytes in the order they are written (the first in the lowest
// byte), blanks after them. False when the field takes the general path (append_F, append_I),
// which writes the same text.
bool narrow_F_word(float value, int width, int decimals, std::uint64_t& word);
bool short_I_word(int value, int width, int min_digits, std::uint64_t& word);
// Ew.d[Ee]: `exponent_digits` < 0 for the default exponent form.
void append_E(std::string& out, double value, int width, int decimals, int exponent_digits);
// Aw (width < 0: the text as it is).
void append_A(std::string& out, std::string_view text, int width);

// NaN and infinities for F and E: "NaN", "Inf"/"Infinity" with a minus sign when negative.
void append_non_finite(std::string& out, double value, int width);
// Right-justifies sign + body in `width` columns, dropping an optional leading "0" of a
// body "0.ddd" when that is what makes it fit; asterisks when it still does not fit.
void append_real_body(std::string& out, bool negative, std::string_view body, int width,
                      bool leading_zero_optional);

}  // namespace vorlane::records::detail
