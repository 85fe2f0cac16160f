#include "logstore/QsoSource.h"

#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"

LoggerLogSource::LoggerLogSource() : bound_(LoadLoggerLibrary() == 0) {}

LoggerLogSource::~LoggerLogSource() {
    Close();
    if (bound_) FreeLoggerLibrary();
}

int LoggerLogSource::Open() {
    if (!bound_) return -1;
    const int count = CountLogRecords();
    const bool opened = OpenLog() == 0;
    open_ = true;
    openFailed_ = count < 0 || !opened;
    return openFailed_ ? -1 : count;
}

QsoRecord* LoggerLogSource::Read(int recNo) { return open_ ? ReadLogRecord(recNo) : nullptr; }

int LoggerLogSource::BandOf(const char* freq) { return BandOfFrequency(freq); }

void LoggerLogSource::Close() {
    if (open_) CloseLog();
    open_ = false;
}
