// Fuzz target over the stand-in's readers: the log, the call index, the area
// master, the ADIF reader and the JARL list reader. The first input byte picks
// the reader; the rest is the file. Built as a plain driver it runs the
// target over built-in seeds (and files given) and random mutations of them:
//     vireon-fuzz [--iterations N] [--seed S] [FILE...]
// Built with -fsanitize=fuzzer and VIREON_LIBFUZZER, libFuzzer drives it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "vireon/Adif.h"
#include "vireon/JarlList.h"
#include "vireon/Store.h"
#include "vireon/ToolCommands.h"

using namespace vireon;

namespace {

std::string ScratchPath() {
    static std::string path;
    if (path.empty()) {
        const char* dir = std::getenv("TMPDIR");
#if defined(_WIN32)
        if (!dir) dir = std::getenv("TEMP");
#endif
        path = std::string(dir ? dir : ".") + "/vireon-fuzz-" + std::to_string(reinterpret_cast<uintptr_t>(&path)) +
               "-" + std::to_string(std::rand()) + ".bin";
    }
    return path;
}

bool WriteScratch(const uint8_t* data, size_t size) {
    OsFile* f = OsOpen(ScratchPath().c_str(), OpenMode::Create, false);
    if (!f) return false;
    bool ok = size == 0 || OsWriteAt(f, 0, data, size);
    OsClose(f);
    return ok;
}

// Every text a reader hands out must end within its field.
void CheckRecord(const unsigned char* rec) {
    for (const FieldSlot& s : kFieldSlots)
        if (strnlen(reinterpret_cast<const char*>(rec + s.Offset), s.Width) >= s.Width) std::abort();
}

void RunLog() {
    LogFile log;
    if (!log.Open(ScratchPath().c_str(), false, true)) return;
    for (uint32_t r = 0; r <= log.Count() + 1 && r < 5000; ++r)
        if (const unsigned char* rec = log.Record(int32_t(r))) CheckRecord(rec);
    log.Record(-1);
    log.Record(0x7FFFFFFF);
}

void RunIndex() {
    IndexFile ix;
    if (!ix.Open(ScratchPath().c_str(), true)) return;
    const char* keys[] = {"", "J", "JA1", "JA1ABC", "ZZZZZZZZ", "\xFF\xFF"};
    for (const char* k : keys) {
        uint32_t i = ix.LowerBound(k, std::strlen(k));
        for (uint32_t n = 0; n < 50 && i + n < ix.Count(); ++n) ix.EntryHasPrefix(i + n, k, std::strlen(k));
    }
    char call[kIndexCallBytes];
    uint32_t rec;
    for (uint32_t i = 0; i < ix.Count() && i < 5000; ++i) ix.Entry(i, call, &rec);
}

void RunMaster() {
    MasterFile m;
    if (!m.Open(ScratchPath().c_str(), true)) return;
    for (uint32_t r = 0; r <= m.Count() + 1; ++r)
        if (const unsigned char* rec = m.Record(int32_t(r)))
            if (rec[kMasterRecordSize - 1] != 0) std::abort();
}

void RunAdif(const uint8_t* data, size_t size) {
    for (const AdifRecord& r : ReadAdifRecords(std::string(reinterpret_cast<const char*>(data), size))) {
        AdifImport imp = ConvertAdifRecord(r);
        if (imp.Ok) {
            StoredRecord rec;
            PackRecord(imp.Qso, rec);
            CheckRecord(rec);
        }
    }
}

void RunJarl(const uint8_t* data, size_t size) {
    JarlList l = ParseJarlList(std::string(reinterpret_cast<const char*>(data), size));
    for (const JarlEntry& e : l.Entries) {
        MasterRecord rec;
        MasterFile::PackEntry(ToMasterEntry(e), rec);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    uint8_t which = data[0] % 5;
    ++data;
    --size;
    switch (which) {
    case 0: if (WriteScratch(data, size)) RunLog(); break;
    case 1: if (WriteScratch(data, size)) RunIndex(); break;
    case 2: if (WriteScratch(data, size)) RunMaster(); break;
    case 3: RunAdif(data, size); break;
    case 4: RunJarl(data, size); break;
    }
    return 0;
}

#if !defined(VIREON_LIBFUZZER)
namespace {

std::vector<std::string> BuiltInSeeds() {
    std::vector<std::string> seeds;
    // A log of three records.
    {
        std::string f(kLogHeaderSize + 3 * kLogRecordSize, '\0');
        MakeHeader(reinterpret_cast<unsigned char*>(&f[0]), kLogMagic, kLogVersion, kLogHeaderSize, kLogRecordSize, 3);
        const char* calls[] = {"JA1ABC", "JA1ABC/1", "7K4MSS/P"};
        for (int i = 0; i < 3; ++i) {
            QsoTexts q;
            q.Field[kCall] = calls[i];
            q.Field[kDate] = "21/02/06";
            q.Field[kCode] = "1001  ";
            q.Field[kQSL] = "S R";
            q.Field[kName] = "佐藤";
            PackRecord(q, reinterpret_cast<unsigned char*>(&f[kLogHeaderSize + size_t(i) * kLogRecordSize]));
        }
        seeds.push_back(std::string(1, '\0') + f);
    }
    // An index of three entries.
    {
        std::string f(kIndexHeaderSize + 3 * kIndexEntrySize + kIndexCallBytes, '\0');
        MakeHeader(reinterpret_cast<unsigned char*>(&f[0]), kIndexMagic, kIndexVersion, kIndexHeaderSize, kIndexEntrySize, 3);
        PutU32(&f[kIndexFenceIntervalAt], kIndexFenceInterval);
        std::memcpy(&f[kIndexHeaderSize + 3 * kIndexEntrySize], "JA1AB", 5);   // the fence
        const char* calls[] = {"JA1AB", "JA1ABC", "JA1ABC/1"};
        for (int i = 0; i < 3; ++i) {
            std::memcpy(&f[kIndexHeaderSize + size_t(i) * kIndexEntrySize], calls[i], std::strlen(calls[i]));
            PutU32(&f[kIndexHeaderSize + size_t(i) * kIndexEntrySize + kIndexCallBytes], uint32_t(i + 1));
        }
        seeds.push_back(std::string(1, '\1') + f);
    }
    // A master of two records.
    {
        std::string f(kMasterHeaderSize + 2 * kMasterRecordSize, '\0');
        MakeHeader(reinterpret_cast<unsigned char*>(&f[0]), kMasterMagic, kMasterVersion, kMasterHeaderSize,
                   kMasterRecordSize, 2);
        MasterFile::PackEntry({"0101", "札幌", "Sapporo"}, reinterpret_cast<unsigned char*>(&f[kMasterHeaderSize]));
        MasterFile::PackEntry({"01004", "厚田*05/09", "Atsuta"},
                              reinterpret_cast<unsigned char*>(&f[kMasterHeaderSize + kMasterRecordSize]));
        seeds.push_back(std::string(1, '\2') + f);
    }
    seeds.push_back(std::string(1, '\3') +
                    "header\n<EOH>\n<CALL:6>JA1ABC <QSO_DATE:8>20210206 <TIME_ON:4>0508 <FREQ:5>7.041 "
                    "<MODE:2>CW <CNTY:4>1001 <QSL_RCVD:1>Y <NAME:6>\xE4\xBD\x90\xE8\x97\xA4 <EOR>\n"
                    "<call:8>JA1ABC/1 <qso_date:8>19991231 <time_on:6>235959 <band:3>40m <state:2>12 <eor>");
    // Lengths that do not fit: past the <EOR>, negative, absurd, short of
    // the text; a missing <EOR>; Shift_JIS and stray bytes.
    seeds.push_back(std::string(1, '\3') +
                    "<CALL:6>JA1AAA <QSO_DATE:8>20200101 <TIME_ON:4>1200 <COMMENT:60>short<EOR>\n"
                    "<CALL:-6>JA2BBB <QSO_DATE:8>20200102 <TIME_ON:4>1200 <NAME:999999999>Taro <QTH:2>Tokyo <EOR>\n"
                    "<CALL:6>JA3CCC <QSO_DATE:8>20200103 <TIME_ON:4>1200 <NAME:4>\x8D\xB2\x93\xA1 <QTH:3>K\xF6\xFF\n"
                    "<CALL:6>JA4DDD <QSO_DATE:8>20200104 <TIME_ON:4>1200 <NOTES:4>a\nb<EOR><NAME:50>x");
    seeds.push_back(std::string(1, '\4') +
                    "北海道 01\n  0101    Sapporo             札幌\n* 0132    Kameda              亀田      \"Nov. 30,1973\"\n"
                    "250105※Higashi        東        平成元年2月12日以前\n");
    return seeds;
}

uint64_t g_state = 88172645463325252ULL;
uint32_t Rand() {
    g_state ^= g_state << 13;
    g_state ^= g_state >> 7;
    g_state ^= g_state << 17;
    return uint32_t(g_state >> 32);
}

std::string Mutate(std::string s) {
    int edits = 1 + int(Rand() % 8);
    for (int e = 0; e < edits; ++e) {
        if (s.size() < 2) { s += char(Rand()); continue; }
        size_t at = 1 + Rand() % (s.size() - 1);
        switch (Rand() % 7) {
        case 0: s[at] = char(s[at] ^ (1 << (Rand() % 8))); break;
        case 1: s[at] = char(Rand()); break;
        case 2: s.resize(at); break;
        case 3: s.insert(at, std::string(1 + Rand() % 16, char(Rand()))); break;
        case 4: s.erase(at, 1 + Rand() % 16); break;
        case 5: {   // an extreme 32-bit word, as counts and sizes are
            static const uint32_t kWords[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 256, 24, 56, 64};
            uint32_t w = kWords[Rand() % 9];
            for (int k = 0; k < 4 && at + size_t(k) < s.size(); ++k) s[at + size_t(k)] = char(w >> (8 * k));
            break;
        }
        case 6: s.insert(at, s.substr(1 + Rand() % (s.size() - 1), 1 + Rand() % 32)); break;
        }
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    long iterations = 20000;
    std::vector<std::string> seeds = BuiltInSeeds();
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--iterations" && i + 1 < argc) iterations = std::atol(argv[++i]);
        else if (a == "--seed" && i + 1 < argc) g_state = std::strtoull(argv[++i], nullptr, 10) | 1;
        else {
            std::string bytes;
            if (!ReadWholeFile(a, &bytes)) {
                std::fprintf(stderr, "vireon-fuzz: cannot read %s\n", a.c_str());
                return 2;
            }
            seeds.push_back(bytes);
        }
    }
    for (const std::string& s : seeds)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(s.data()), s.size());
    for (long i = 0; i < iterations; ++i) {
        std::string input = Mutate(seeds[Rand() % seeds.size()]);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::remove(ScratchPath().c_str());
    std::printf("vireon-fuzz: %ld inputs, no fault\n", iterations + long(seeds.size()));
    return 0;
}
#endif
