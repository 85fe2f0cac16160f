// What the listed QSOs of one station say at a glance: on which bands and
// modes it is confirmed, and on which only worked. The main window's status
// bar shows it after an exact lookup that lists rows.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "checkwin/QsoRows.h"
#include "logstore/Bands.h"

// The band index (0..13, -1 for none) of a frequency text; the program
// passes the library's own band lookup.
using BandOfFrequencyFn = int (*)(const char* freq);

// "Cfm B…  Wkd B…  /  Cfm M…  Wkd M…", read from the rows' Freq, Mode and
// QSL texts alone:
// - B… the bands by name in band order, M… the modes as the records hold
//   them (whole texts, byte for byte) in the order they first appear in the
//   rows as listed;
// - under Cfm those with at least one confirmed QSO (the QSL text's received
//   mark, as the award tally reads it), under Wkd those worked but never
//   confirmed;
// - a QSO whose frequency gives no band counts for its mode only, one
//   without a mode text for its band only;
// - a label with nothing after it is left out, and so is the "/" when
//   either side is empty: a station never confirmed shows
//   "Wkd 7 14  /  Wkd CW". No rows give "".
std::string WorkedSummaryText(const QsoRows& rows, BandOfFrequencyFn bandOf);

// The same text gathered QSO by QSO, in the order they are listed: band
// 0..13 (anything else: none), the mode text, the received mark.
class WorkedSummary {
public:
    void Add(int band, const char* mode, bool confirmed);
    bool Empty() const { return count_ == 0; }
    std::string Text() const;

    enum class Seen : unsigned char { No, Worked, Confirmed };

private:
    int count_ = 0;
    Seen bands_[kBandCount] = {};
    // A station or an area is worked in a handful of modes: a short list,
    // searched in order.
    std::vector<std::pair<std::string, Seen>> modes_;
};
