#include "lists/TextFit.h"

#include <vector>

#include "lists/ListRows.h"

const char kEllipsis[] = "…";

std::string FitWithEllipsis(const std::string& text, int width, const std::function<int(const std::string&)>& widthOf) {
    if (widthOf(text) <= width) return text;
    // The places between whole characters, shortest start first.
    std::vector<size_t> cuts;
    for (size_t end = 0; end < text.size();) {
        // One character: a lead byte and the byte after it, or one byte.
        const size_t one = WholeCp932Length(text.c_str() + end, 1);
        const size_t next = one == 1 ? 1 : WholeCp932Length(text.c_str() + end, 2);
        if (next == 0) break;   // a NUL inside the text ends it
        end += next;
        cuts.push_back(end);
    }
    // Longer starts are never narrower: the longest that fits is found by halving.
    auto shortened = [&](size_t cut) {
        std::string start = text.substr(0, cut);
        while (!start.empty() && start.back() == ' ') start.pop_back();
        return start + kEllipsis;
    };
    size_t low = 0, high = cuts.size();   // starts of cuts[0..low) fit, of cuts[high..) do not
    while (low < high) {
        const size_t middle = (low + high) / 2;
        if (widthOf(shortened(cuts[middle])) <= width)
            low = middle + 1;
        else
            high = middle;
    }
    return low == 0 ? std::string(kEllipsis) : shortened(cuts[low - 1]);
}
