// What every benchmark needs: the median of its timed runs, and a way into
// the folder of the log it measures.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <direct.h>
#else
#include <unistd.h>
#endif

namespace bench {

// The median: the middle value, or the mean of the two middle ones; 0 for
// no values.
inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t mid = v.size() / 2;
    return v.size() % 2 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
}

// Makes `dir` the current folder, where the library looks for the log.
inline bool EnterFolder(const std::string& dir) {
#if defined(_WIN32)
    return _chdir(dir.c_str()) == 0;
#else
    return chdir(dir.c_str()) == 0;
#endif
}

}  // namespace bench
