// A deterministic synthetic log for tests and benchmarks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "vireon/Store.h"

namespace vireon {

// The call that gets more than 1000 QSOs in any log of 2,300 QSOs or more.
constexpr const char* kBusyCall = "JA1ABC";

// A small master of made-up areas in every prefecture (cities, counties and
// a few wards), for generate in a folder without vireon.mst.
std::vector<MasterEntry> BuiltInSampleMaster();

// Writes N QSOs to logPath and their index to indexPath, with codes drawn
// from the master. The same N, seed and master give the same bytes on every
// platform (integer arithmetic only).
bool GenerateLog(uint32_t count, uint64_t seed, const MasterFile& master, const std::string& logPath,
                 const std::string& indexPath, std::string* error);

}  // namespace vireon
