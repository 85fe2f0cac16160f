// What the logging library and its callers agree on, stated once for the
// program's binding (logstore/QsoRecord.h, LoggerLibrary.h), the stand-in
// library (vireon/) and the tests that load it: the calling convention of the
// entry points and the byte layout of the QSO record that the read fills. The library is 32-bit; a 64-bit
// build (only for testing on machines that cannot run 32-bit programs) keeps
// every text at its offset and widens the seven text pointers to 8 bytes:
//   texts 0..820, pointers 821 + 4 * i (32-bit) or 821 + 8 * i (64-bit),
//   then 23 reserved bytes: 872 or 900 bytes in all.
// Includes nothing but the standard library, so both sides can take it.
#pragma once
#include <cstddef>

// The entry points use the Windows API convention (__stdcall) in a 32-bit
// build; a 64-bit build has one calling convention, and the names are bare in
// both.
#if defined(_WIN32)
#define VIREON_CALL __stdcall
#elif defined(__i386__)
#define VIREON_CALL __attribute__((stdcall))
#else
#define VIREON_CALL
#endif

namespace qso_layout {

constexpr size_t kCallAt = 0, kDateAt = 21, kTimeAt = 30, kCodeAt = 37, kGLAt = 44,
                 kQSLAt = 51, kHisAt = 57;
constexpr size_t kHisWidth = 764;
// The seven text pointers in their order: My, Freq, Mode, Name, QTH, Remarks1, Remarks2.
constexpr size_t kPointerCount = 7;
constexpr size_t kFirstPointerAt = kHisAt + kHisWidth;   // 821
constexpr size_t PointerAt(size_t i) { return kFirstPointerAt + i * sizeof(void*); }
constexpr size_t kReservedAt = PointerAt(kPointerCount);
constexpr size_t kReservedSize = 23;
constexpr size_t kRecordSize = kReservedAt + kReservedSize;

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "a 32-bit or a 64-bit build");
static_assert(kRecordSize == (sizeof(void*) == 4 ? 872 : 900), "the record is 872 bytes (900 in a 64-bit build)");

}  // namespace qso_layout

// Checks a packed struct T with the fields Call, Date, Time, Code, GL, QSL,
// His, My, Freq, Mode, Name, QTH, Remarks1, Remarks2 and Reserved against the
// layout above.
#define QSO_LAYOUT_CHECK(T)                                                                      \
    static_assert(sizeof(T) == qso_layout::kRecordSize, #T ": record size");                    \
    static_assert(offsetof(T, Call) == qso_layout::kCallAt && offsetof(T, Date) == qso_layout::kDateAt && \
                  offsetof(T, Time) == qso_layout::kTimeAt && offsetof(T, Code) == qso_layout::kCodeAt && \
                  offsetof(T, GL) == qso_layout::kGLAt && offsetof(T, QSL) == qso_layout::kQSLAt &&     \
                  offsetof(T, His) == qso_layout::kHisAt, #T ": text offsets");                  \
    static_assert(offsetof(T, My) == qso_layout::PointerAt(0) && offsetof(T, Freq) == qso_layout::PointerAt(1) && \
                  offsetof(T, Mode) == qso_layout::PointerAt(2) && offsetof(T, Name) == qso_layout::PointerAt(3) && \
                  offsetof(T, QTH) == qso_layout::PointerAt(4) && offsetof(T, Remarks1) == qso_layout::PointerAt(5) && \
                  offsetof(T, Remarks2) == qso_layout::PointerAt(6), #T ": pointer offsets");   \
    static_assert(offsetof(T, Reserved) == qso_layout::kReservedAt && sizeof(T::Reserved) == qso_layout::kReservedSize, \
                  #T ": reserved bytes")
