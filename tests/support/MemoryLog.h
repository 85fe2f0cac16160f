// A log held in memory, for the tests of whole-log scans without the
// logging library: records made from test::Qso as the stand-in stores an
// imported QSO (date YY/MM/DD, the code padded with blanks to six
// characters, QSL "  R" when confirmed), bands by the stand-in's own table.
#pragma once
#include <string>
#include <vector>

#include "TestSupport.h"
#include "logstore/QsoSource.h"

namespace test {

class MemoryLog : public QsoSource {
public:
    // Records numbered from 1 in the order given; the numbers in
    // `unreadable` cannot be read.
    explicit MemoryLog(const std::vector<Qso>& qsos, std::vector<int> unreadable = {});

    int Open() override;
    QsoRecord* Read(int recNo) override;
    int BandOf(const char* freq) override;
    void Close() override;

    // The stored record recNo, to give it odd bytes (1-based).
    QsoRecord& Stored(int recNo) { return records_[static_cast<size_t>(recNo - 1)]; }

    int Opens = 0, Closes = 0, Reads = 0, BandLookups = 0;

private:
    std::vector<QsoRecord> records_;
    std::vector<std::string> texts_;   // Freq and Mode of each record
    std::vector<int> unreadable_;
    QsoRecord buffer_{};
};

}  // namespace test
