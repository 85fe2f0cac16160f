#include "checkwin/WorkedSummary.h"

#include <cstring>
#include <vector>

#include "logstore/Bands.h"
#include "logstore/QsoRecord.h"

namespace {

using Seen = WorkedSummary::Seen;

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

void WorkedSummary::Add(int band, const char* mode, bool confirmed) {
    ++count_;
    if (band >= 0 && band < kBandCount) Mark(bands_[band], confirmed);
    if (!mode || mode[0] == '\0') return;
    size_t i = 0;
    while (i < modes_.size() && modes_[i].first != mode) ++i;
    if (i == modes_.size()) modes_.emplace_back(mode, Seen::No);
    Mark(modes_[i].second, confirmed);
}

std::string WorkedSummary::Text() const {
    std::vector<std::pair<const char*, Seen>> bandItems;
    for (int band = 0; band < kBandCount; ++band) bandItems.emplace_back(BandName(band), bands_[band]);
    const std::string bandText =
        Joined(Group("Cfm", bandItems, Seen::Confirmed), Group("Wkd", bandItems, Seen::Worked), "  ");
    const std::string modeText = Joined(Group("Cfm", modes_, Seen::Confirmed), Group("Wkd", modes_, Seen::Worked), "  ");
    return Joined(bandText, modeText, "  /  ");
}

std::string WorkedSummaryText(const QsoRows& rows, BandOfFrequencyFn bandOf) {
    WorkedSummary summary;
    for (int position = 0; position < rows.Count(); ++position)
        summary.Add(bandOf ? bandOf(rows.Text(position, kColumnFreq)) : -1, rows.Text(position, kColumnMode),
                    HasQslReceivedMark(rows.Text(position, kColumnQsl)));
    return summary.Text();
}
