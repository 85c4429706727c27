#pragma once

namespace paylark {

// A sheet of paper in twentieths of a point, the unit of word-processor page sizes.
struct PaperSize {
  int width;
  int height;
};

inline constexpr PaperSize kA4Paper = {11906, 16838};
inline constexpr PaperSize kLetterPaper = {12240, 15840};

// The paper of the process locale (LC_PAPER): US Letter in en_US, A4 in de_DE. The locale gives
// whole millimetres, so its A4 and Letter are read as the exact standard sizes.
PaperSize LocalePaperSize();

}  // namespace paylark
