// Where a whole-log scan takes its records from, record by record in record
// order: the log through the logging library in the program, a list in
// memory in tests.
#pragma once
#include "logstore/QsoRecord.h"

class QsoSource {
public:
    virtual ~QsoSource() = default;
    // Opens the log: the number n of records (numbered 1 to n), or -1 when
    // none can be read.
    virtual int Open() = 0;
    // Record recNo, or null when it cannot be read. The record is a buffer
    // that the next read overwrites; the reader may rewrite its texts.
    virtual QsoRecord* Read(int recNo) = 0;
    // The band index 0..13 of a frequency text in MHz, or -1 for no band.
    virtual int BandOf(const char* freq) = 0;
    virtual void Close() = 0;
};

// The log "vireon.vdb" through the logging library: the library is bound
// while the object lives, the log open between Open and Close (or the end).
class LoggerLogSource : public QsoSource {
public:
    LoggerLogSource();
    ~LoggerLogSource() override;
    LoggerLogSource(const LoggerLogSource&) = delete;
    LoggerLogSource& operator=(const LoggerLogSource&) = delete;

    // false when the library could not be loaded: nothing can be read.
    bool Bound() const { return bound_; }
    // true after an Open in which the bound library could not count or open
    // the log (missing or damaged); a log of 0 records is no failure.
    bool OpenFailed() const { return openFailed_; }

    int Open() override;
    QsoRecord* Read(int recNo) override;
    int BandOf(const char* freq) override;
    void Close() override;

private:
    bool bound_ = false;
    bool open_ = false;
    bool openFailed_ = false;
};
