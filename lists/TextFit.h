// A text cut to a width, with a sign that it was cut. Window-free: the
// width of a text is measured by whoever draws it.
#pragma once
#include <functional>
#include <string>

// "…" in code page 932.
extern const char kEllipsis[];

// The code page 932 text as it fits in `width`: the whole text when
// widthOf(text) is at most width; otherwise its longest start, cut between
// characters and without trailing blanks, that fits with "…" after it (just
// "…" when no character does).
std::string FitWithEllipsis(const std::string& text, int width, const std::function<int(const std::string&)>& widthOf);
