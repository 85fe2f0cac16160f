// The QSO record as the logging library's read fills it. The layout belongs
// to the library and is fixed byte for byte (QsoRecordLayout.h); the program
// reads the fields at these offsets and nothing else. Offsets in the comments
// are those of the 32-bit library; a 64-bit test build widens the pointers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "logstore/LibraryContract.h"

#pragma pack(push, 1)
struct QsoRecord {
    char Call[21];        // 0
    char Date[9];         // 21: YY/MM/DD, digits at positions 0-1, 3-4, 6-7
    char Time[7];         // 30
    char Code[7];         // 37: area code, 6 characters and a NUL
    char GL[7];           // 44
    char QSL[6];          // 51: position 2 is the received mark
    char His[764];        // 57: NUL-terminated; the width is the library's
    const char* My;       // 821
    const char* Freq;     // 825
    const char* Mode;     // 829
    const char* Name;     // 833
    const char* QTH;      // 837
    const char* Remarks1; // 841
    const char* Remarks2; // 845
    char Reserved[23];    // 849..871: not read
};
#pragma pack(pop)

QSO_LAYOUT_CHECK(QsoRecord);

// The six date digits YYMMDD of a record's Date text: the characters at
// positions 0, 1, 3, 4, 6 and 7, in that order. The shared record buffer keeps
// bytes of earlier records behind a shorter text, so a position at or past
// the text's terminating NUL counts as absent: the digits end there.
// `digits` receives at most 6 characters and a NUL.
void TakeDateDigits(const char* date, char digits[7]);

// Whether a QSO's QSL text carries the received mark: the text has a third
// character (position 2) and it is not a blank. A shorter text has no mark,
// whatever bytes lie behind its NUL. Every count of confirmed QSOs reads it
// this way.
inline bool HasQslReceivedMark(const char* qsl) {
    return qsl && qsl[0] != '\0' && qsl[1] != '\0' && qsl[2] != '\0' && qsl[2] != ' ';
}

// A pointer field of the record as a text: the library may leave one null;
// it then reads as the empty text.
inline const char* RecordText(const char* p) { return p ? p : ""; }
