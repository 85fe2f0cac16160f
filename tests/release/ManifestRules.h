// What every shipped program's application manifest must say, checked on its
// text: common controls version 6, the supportedOS ids of Windows 7 to 11,
// the execution level asInvoker and DPI awareness. Window-free, so that the
// rules are tested natively on faulty copies of the real manifest.
#pragma once
#include <string>
#include <vector>

namespace manifest {

// One line per entry that is missing or wrong; empty when all is right.
// The text must be well formed in the small sense checked here: every tag
// closed in order, attributes quoted, every prefix declared. Each entry
// counts only in its own XML namespace, as Windows reads it.
std::vector<std::string> Problems(const std::string& xml);

}  // namespace manifest
