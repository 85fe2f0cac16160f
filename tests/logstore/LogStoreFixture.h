// A test folder entered as the current directory, with the stand-in library
// copied in and helpers that make logs and masters with vireon-tool.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace logtest {

using test::Qso;

// One entry line of JARL's city or county list: `deletedOn` is the list's
// date text ("Mar.31,2010") of a deleted entry, "" for an existing one.
using test::JarlListLine;
// One record as `vireon-tool dump` lists it.
using DumpRow = test::DumpedRecord;

class LogFolder : public ::testing::Test {
protected:
    LogFolder() : dir_("logstore", true) {}
    void TearDown() override;

    const test::TempDir& Dir() const { return dir_; }
    // Copies a build of the library ("vireon50", "vireon50-noread", ...) in
    // under the name the program loads.
    void UseLibrary(const std::string& variant = "vireon50");
    // Runs vireon-tool here and fails the test unless it succeeds.
    void Tool(const std::vector<std::string>& args);
    // Writes the ADIF file, imports it and copies the index to "call.idx".
    void MakeLog(const std::vector<Qso>& qsos);
    // Writes the JARL-style lists (the entry lines given; titles added) and
    // makes vireon.mst of them.
    void MakeMaster(const std::string& jccLines, const std::string& jcgLines,
                    const std::string& kuLines = "");
    std::vector<DumpRow> Dump();
    // Entry calls so far through the library's call counter ("" = all).
    int Calls(const char* entry);

private:
    test::TempDir dir_;
};

}  // namespace logtest
