#include "checkwin/WorkedSummary.h"

#include <cstring>
#include <vector>

#include "logstore/Bands.h"
#include "logstore/QsoRecord.h"

namespace {

enum class Seen : unsigned char { No, Worked, Confirmed };

void Mark(Seen& seen, bool confirmed) {
    if (confirmed) seen = Seen::Confirmed;
    else if (seen == Seen::No) seen = Seen::Worked;
}

// "Label a b c", or "" when there is nothing to list.
template <typename Items>
std::string Group(const char* label, const Items& items, Seen wanted) {
    std::string text;
    for (const auto& item : items) {
        if (item.second != wanted) continue;
        text += text.empty() ? label : "";
        text += ' ';
        text += item.first;
    }
    return text;
}

std::string Joined(const std::string& a, const std::string& b, const char* between) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return a + between + b;
}

}  // namespace

std::string WorkedSummaryText(const QsoRows& rows, BandOfFrequencyFn bandOf) {
    Seen bands[kBandCount] = {};
    // A station is worked in a handful of modes: a short list, searched in order.
    std::vector<std::pair<std::string, Seen>> modes;
    for (int position = 0; position < rows.Count(); ++position) {
        const bool confirmed = HasQslReceivedMark(rows.Text(position, kColumnQsl));
        const int band = bandOf ? bandOf(rows.Text(position, kColumnFreq)) : -1;
        if (band >= 0 && band < kBandCount) Mark(bands[band], confirmed);
        const char* mode = rows.Text(position, kColumnMode);
        if (mode[0] == '\0') continue;
        size_t i = 0;
        while (i < modes.size() && modes[i].first != mode) ++i;
        if (i == modes.size()) modes.emplace_back(mode, Seen::No);
        Mark(modes[i].second, confirmed);
    }
    std::vector<std::pair<const char*, Seen>> bandItems;
    for (int band = 0; band < kBandCount; ++band) bandItems.emplace_back(BandName(band), bands[band]);
    const std::string bandText =
        Joined(Group("Cfm", bandItems, Seen::Confirmed), Group("Wkd", bandItems, Seen::Worked), "  ");
    const std::string modeText = Joined(Group("Cfm", modes, Seen::Confirmed), Group("Wkd", modes, Seen::Worked), "  ");
    return Joined(bandText, modeText, "  /  ");
}
