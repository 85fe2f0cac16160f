#include "MemoryLog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "vireon/Store.h"

namespace test {

MemoryLog::MemoryLog(const std::vector<Qso>& qsos, std::vector<int> unreadable)
    : records_(qsos.size()), texts_(2 * qsos.size()), unreadable_(std::move(unreadable)) {
    for (size_t i = 0; i < qsos.size(); ++i) {
        const Qso& q = qsos[i];
        QsoRecord& r = records_[i];
        std::memset(&r, 0, sizeof r);
        std::snprintf(r.Call, sizeof r.Call, "%s", q.Call.c_str());
        if (q.Date.size() == 8)
            std::snprintf(r.Date, sizeof r.Date, "%s/%s/%s", q.Date.substr(2, 2).c_str(), q.Date.substr(4, 2).c_str(),
                          q.Date.substr(6, 2).c_str());
        std::string code = q.Cnty;
        if (!code.empty() && code.size() < 6) code.resize(6, ' ');
        std::snprintf(r.Code, sizeof r.Code, "%s", code.c_str());
        std::snprintf(r.QSL, sizeof r.QSL, "%s", q.Confirmed ? "  R" : "   ");
        texts_[2 * i] = q.Freq;
        texts_[2 * i + 1] = q.Mode;
    }
    // The pointers once the texts stay where they are.
    for (size_t i = 0; i < records_.size(); ++i) {
        records_[i].Freq = texts_[2 * i].c_str();
        records_[i].Mode = texts_[2 * i + 1].c_str();
    }
}

int MemoryLog::Open() {
    ++Opens;
    return static_cast<int>(records_.size());
}

QsoRecord* MemoryLog::Read(int recNo) {
    ++Reads;
    if (recNo < 1 || recNo > static_cast<int>(records_.size())) return nullptr;
    if (std::find(unreadable_.begin(), unreadable_.end(), recNo) != unreadable_.end()) return nullptr;
    // One buffer for every read, as the library has: a reader may rewrite it.
    buffer_ = records_[static_cast<size_t>(recNo - 1)];
    return &buffer_;
}

int MemoryLog::BandOf(const char* freq) {
    ++BandLookups;
    return vireon::BandOfFrequencyText(freq);
}

void MemoryLog::Close() { ++Closes; }

}  // namespace test
