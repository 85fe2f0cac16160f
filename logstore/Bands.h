// The band index, the same everywhere in the program: 0..13 stand for the
// bands of 1.9, 3.5, 7, 10, 14, 18, 21, 24, 28, 50, 144, 430, 1200 and
// 2400 MHz, in this order (the library's band lookup, the band boxes of the
// award checks, the tally, the worked summary).
#pragma once

constexpr int kBandCount = 14;

// The band's name as the operator writes it, in MHz: "1.9", "3.5", "7" ...
// "2400"; "" outside 0..13.
const char* BandName(int band);
