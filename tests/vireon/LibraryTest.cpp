// The stand-in library through its exported entry points, on logs, indexes
// and masters made by vireon-tool.
#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>

#include "VireonTestLib.h"
#include "logstore/QsoRecord.h"

#if defined(_WIN32)
#include <windows.h>
#endif

using namespace vxtest;

namespace {

class LibraryTest : public VireonFolder {};

TEST(LibraryExports, EveryVariantExportsExactlyItsBareNames) {
    test::TempDir dir("vireon-exports");
    struct Case { const char* Variant; std::vector<std::string> Missing; };
    const Case cases[] = {
        {"vireon50", {}},
        {"vireon50-noread", {"KVX_readv", "KVX_seek", "dbf_read", "FreqPCheck"}},
        {"vireon50-noopen", {"VireonOpen", "idx_open", "dbf_open", "SetDbsShare"}},
    };
    for (const Case& c : cases) {
        Vireon v;
        ASSERT_TRUE(LoadVireon(dir.Path(), c.Variant, &v)) << c.Variant;
        for (const char* name : kEntryNames) {
            bool missing = std::find(c.Missing.begin(), c.Missing.end(), name) != c.Missing.end();
            EXPECT_EQ(FindEntry(v, name) == nullptr, missing) << c.Variant << " " << name;
        }
        EXPECT_NE(FindEntry(v, "VireonDebugCallCount"), nullptr) << c.Variant;
        EXPECT_EQ(FindEntry(v, "_VireonOpen@16"), nullptr) << c.Variant;
        FreeVireon(&v);
    }
}

TEST_F(LibraryTest, OpenPutsTheCountAt1745AndCloseEndsTheHandle) {
    MakeSmallLog();
    for (const char* name : {"vireon", "vireon.vdb"}) {
        unsigned char block[3928];
        std::memset(block, 0xCC, sizeof block);
        ASSERT_EQ(lib_.VireonOpen(0, block, name, 0), 0) << name;
        EXPECT_EQ(CountAt1745(block), 6) << name;
        EXPECT_EQ(lib_.VireonClose(block, 0), 0);
        EXPECT_NE(lib_.VireonClose(block, 0), 0) << "a second close is refused";
        QsoRecord rec;
        EXPECT_NE(lib_.KVX_readv(block, 1, &rec), 0) << "a closed handle reads nothing";
    }
    unsigned char block[3928] = {};
    EXPECT_NE(lib_.VireonOpen(2, block, "vireon", 0), 0) << "unknown mode";
    EXPECT_NE(lib_.VireonOpen(0, block, nullptr, 0), 0);
    EXPECT_NE(lib_.VireonOpen(0, nullptr, "vireon", 0), 0);
}

TEST_F(LibraryTest, ReadFillsEveryFieldAtItsOffset) {
    MakeSmallLog();
    unsigned char block[3928];
    ASSERT_EQ(lib_.VireonOpen(0, block, "vireon.vdb", 0), 0);
    ASSERT_EQ(CountAt1745(block), int32_t(kSmallLog.size()));
    for (size_t i = 0; i < kSmallLog.size(); ++i) {
        const SmallQso& q = kSmallLog[i];
        QsoRecord rec;
        std::memset(&rec, 0, sizeof rec);
        ASSERT_EQ(lib_.KVX_readv(block, int(i + 1), &rec), 0) << i + 1;
        SCOPED_TRACE(q.Call);
        EXPECT_STREQ(rec.Call, q.Call);
        EXPECT_STREQ(rec.Date, q.Date);
        EXPECT_STREQ(rec.Time, q.Time);
        EXPECT_STREQ(rec.Code, q.Code);
        EXPECT_STREQ(rec.GL, q.GL);
        EXPECT_STREQ(rec.QSL, q.QSL);
        EXPECT_STREQ(rec.His, q.His);
        EXPECT_STREQ(RecordText(rec.My), q.My);
        EXPECT_STREQ(RecordText(rec.Freq), q.Freq);
        EXPECT_STREQ(RecordText(rec.Mode), q.Mode);
        EXPECT_STREQ(RecordText(rec.Name), q.Name);
        EXPECT_STREQ(RecordText(rec.QTH), q.QTH);
        EXPECT_STREQ(RecordText(rec.Remarks1), q.Remarks1);
        EXPECT_STREQ(RecordText(rec.Remarks2), q.Remarks2);
    }
    lib_.VireonClose(block, 0);
}

TEST_F(LibraryTest, ReadCopiesEachFixedTextWithItsNulOnly) {
    MakeSmallLog();
    unsigned char block[3928];
    ASSERT_EQ(lib_.VireonOpen(0, block, "vireon", 0), 0);
    QsoRecord rec;
    std::memset(&rec, 'X', sizeof rec);
    ASSERT_EQ(lib_.KVX_readv(block, 3, &rec), 0);   // JA1ABC
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&rec);
    struct Field { int Offset; const char* Text; int Width; };
    const Field fields[] = {{0, "JA1ABC", 21}, {21, "21/02/06", 9}, {30, "05:08", 7}, {37, "1001  ", 7},
                            {44, "PM95", 7},   {51, "SJR", 6},      {57, "599", 764}};
    for (const Field& f : fields) {
        size_t n = std::strlen(f.Text);
        EXPECT_EQ(std::memcmp(b + f.Offset, f.Text, n + 1), 0) << f.Text;
        for (int k = int(n) + 1; k < f.Width; ++k) ASSERT_EQ(b[f.Offset + k], 'X') << f.Text << " byte " << k;
    }
    for (size_t k = qso_layout::kReservedAt; k < qso_layout::kRecordSize; ++k) EXPECT_EQ(b[k], 'X') << "reserved byte " << k;
    lib_.VireonClose(block, 0);
}

TEST_F(LibraryTest, ReadOutsideOneToCountFailsAndLeavesTheBuffer) {
    MakeSmallLog();
    unsigned char block[3928];
    ASSERT_EQ(lib_.VireonOpen(0, block, "vireon", 0), 0);
    for (int recNo : {0, -1, 7, 1000, INT_MAX, INT_MIN}) {
        QsoRecord rec;
        std::memset(&rec, 'Z', sizeof rec);
        EXPECT_NE(lib_.KVX_readv(block, recNo, &rec), 0) << recNo;
        EXPECT_EQ(rec.Call[0], 'Z') << recNo;
    }
    EXPECT_NE(lib_.KVX_readv(block, 1, nullptr), 0);
    lib_.VireonClose(block, 0);
}

TEST_F(LibraryTest, BlocksNeverOpenedOrCopiedAreRefused) {
    MakeSmallLog();
    unsigned char block[3928];
    ASSERT_EQ(lib_.VireonOpen(0, block, "vireon", 0), 0);
    unsigned char copy[3928];
    std::memcpy(copy, block, sizeof copy);
    unsigned char zero[3928] = {};
    QsoRecord rec;
    EXPECT_NE(lib_.KVX_readv(copy, 1, &rec), 0);
    EXPECT_NE(lib_.KVX_readv(zero, 1, &rec), 0);
    EXPECT_NE(lib_.KVX_readv(nullptr, 1, &rec), 0);
    EXPECT_NE(lib_.VireonClose(zero, 0), 0);
    unsigned char ix[272] = {};
    EXPECT_EQ(lib_.idx_next(ix), -1) << "an index call on a block that is no index handle";
    EXPECT_EQ(lib_.KVX_readv(block, 1, &rec), 0);
    lib_.VireonClose(block, 0);
}

TEST_F(LibraryTest, TwoHandlesReadIndependentlyAndTheirPointersStay) {
    MakeSmallLog();
    static unsigned char a[3928], b[3928];
    ASSERT_EQ(lib_.VireonOpen(0, a, "vireon", 0), 0);
    ASSERT_EQ(lib_.VireonOpen(0, b, "vireon.vdb", 0), 0);
    QsoRecord ra, rb;
    ASSERT_EQ(lib_.KVX_readv(a, 3, &ra), 0);
    const char* nameA = ra.Name;
    for (int r = 1; r <= 6; ++r) ASSERT_EQ(lib_.KVX_readv(b, r, &rb), 0);
    EXPECT_STREQ(nameA, "佐藤") << "handle b's reads leave a's texts alone";
    EXPECT_STREQ(rb.Call, "JD1/JA1ABC");
    EXPECT_EQ(lib_.VireonClose(a, 0), 0);
    ASSERT_EQ(lib_.KVX_readv(b, 1, &rb), 0) << "b stays open when a closes";
    EXPECT_STREQ(rb.Call, "JA1ABD");
    EXPECT_EQ(lib_.VireonClose(b, 0), 0);
}

TEST_F(LibraryTest, CountStaysAsAtOpenWhileAnotherHandleAppends) {
    MakeSmallLog();
    unsigned char reader[3928], writer[3928];
    ASSERT_EQ(lib_.VireonOpen(0, reader, "vireon", 0), 0);
    ASSERT_EQ(lib_.VireonOpen(1, writer, "vireon", 0), 0);
    QsoRecord add{};
    std::strcpy(add.Call, "JA1NEW");
    std::strcpy(add.Date, "23/01/01");
    add.Freq = "7.010";
    ASSERT_EQ(lib_.DB_append(writer, &add), 0);
    EXPECT_EQ(CountAt1745(writer), 7);
    EXPECT_EQ(CountAt1745(reader), 6);
    QsoRecord rec;
    EXPECT_NE(lib_.KVX_readv(reader, 7, &rec), 0) << "the reader's count is fixed at its open";
    unsigned char fresh[3928];
    ASSERT_EQ(lib_.VireonOpen(0, fresh, "vireon", 0), 0);
    EXPECT_EQ(CountAt1745(fresh), 7);
    ASSERT_EQ(lib_.KVX_readv(fresh, 7, &rec), 0);
    EXPECT_STREQ(rec.Call, "JA1NEW");
    EXPECT_STREQ(RecordText(rec.Freq), "7.010");
    for (unsigned char* h : {reader, writer, fresh}) lib_.VireonClose(h, 0);
}

TEST_F(LibraryTest, IndexSearchFindsThePrefixAndWalksInCallOrder) {
    MakeSmallLog();
    test::CopyFileTo(File("vireon.dx0"), File("call.idx"));
    unsigned char ix[272];
    ASSERT_EQ(lib_.idx_open("call.idx", ix), 0);
    // Call order: JA1AB 5, JA1ABC 3, JA1ABC/1 2, JA1ABD 1, JD1/JA1ABC 6, W1AW 4.
    struct Case { const char* Key; int Length; int First; std::vector<int> Then; };
    const Case cases[] = {
        {"JA1ABC", 0, 3, {2, 1, 6, 4, 0, 0}},
        {"JA1ABC", 6, 3, {2}},
        {"JA1AB", 0, 5, {3}},
        {"JA1ABCXX", 6, 3, {2}},          // the length cuts the key
        {"JA1ABD", 3, 5, {3}},            // "JA1": the first entry beginning so
        {"JA1ABD", 9, 1, {6}},            // a length past the key: the whole key
        {"JA1ABC/1", 0, 2, {1}},          // all 8 bytes of the key
        {"W1AW", 0, 4, {0}},
        {"JA9ZZZ", 0, 0, {0}},            // none: the cursor is past the end
        {"A", 0, 0, {0}},
    };
    for (const Case& c : cases) {
        char key[9] = {};
        std::strncpy(key, c.Key, 8);
        EXPECT_EQ(lib_.idx_search(ix, key, c.Length), c.First) << c.Key << " " << c.Length;
        for (size_t k = 0; k < c.Then.size(); ++k)
            EXPECT_EQ(lib_.idx_next(ix), c.Then[k]) << c.Key << " next " << k;
    }
    EXPECT_EQ(lib_.idx_top(ix), 5);
    EXPECT_EQ(lib_.idx_next(ix), 3);
    EXPECT_EQ(lib_.idx_bottom(ix), 4);
    EXPECT_EQ(lib_.idx_next(ix), 0);
    EXPECT_EQ(lib_.idx_close(ix), 0);
    EXPECT_NE(lib_.idx_close(ix), 0);
    EXPECT_EQ(lib_.idx_search(ix, "JA1ABC", 0), -1) << "closed";
}

TEST_F(LibraryTest, SeekEmptiesTheTextOnlyWhenSeveralEntriesMatch) {
    MakeSmallLog();
    unsigned char block[3928];
    ASSERT_EQ(lib_.VireonOpen(0, block, "vireon.vdb", 0), 0);
    struct Case { const char* Text; bool Found; bool Emptied; };
    const Case cases[] = {
        {"JA1ABC", true, true},    // JA1ABC and JA1ABC/1
        {"JA1AB", true, true},
        {"JA1ABD", true, false},
        {"JA1ABC/1", true, false},
        {"W1AW", true, false},
        {"JD1/", true, false},
        {"JA9ZZZ", false, false},
        {"", false, true},          // empty from the start: refused
        {"JA1ABCDEFGHIJKLMNOPQRSTU", false, false},   // longer than any call
    };
    for (const Case& c : cases) {
        char text[528];
        std::memset(text, 0x7F, sizeof text);
        std::strcpy(text, c.Text);
        int r = lib_.KVX_seek(block, text, 528);
        EXPECT_EQ(r == 0, c.Found) << c.Text;
        EXPECT_EQ(text[0] == '\0', c.Emptied) << c.Text;
        if (*c.Text) {
            EXPECT_STREQ(text + 1, c.Text + 1) << "only the first byte is written";
        }
        for (size_t k = std::strlen(c.Text) + 1; k < sizeof text; ++k) ASSERT_EQ(text[k], 0x7F) << c.Text;
    }
    // A size that holds no terminated text, or none at all: refused, unwritten.
    char text[8] = {'J', 'A', '1', 'A', 'B', 'C', 0, 0};
    EXPECT_NE(lib_.KVX_seek(block, text, 0), 0);
    EXPECT_NE(lib_.KVX_seek(block, text, 3), 0);
    EXPECT_EQ(text[0], 'J');
    EXPECT_NE(lib_.KVX_seek(block, nullptr, 528), 0);
    // Without the log's own index nothing is found.
    lib_.VireonClose(block, 0);
    test::RemoveFile(File("vireon.dx0"));
    ASSERT_EQ(lib_.VireonOpen(0, block, "vireon.vdb", 0), 0);
    char again[528] = "JA1ABC";
    EXPECT_NE(lib_.KVX_seek(block, again, 528), 0);
    EXPECT_STREQ(again, "JA1ABC");
    lib_.VireonClose(block, 0);
}

TEST_F(LibraryTest, MasterCountWordLetsALoaderReadEveryRecord) {
    MakeSmallMaster();
    unsigned char mh[284];
    ASSERT_EQ(lib_.dbf_open("vireon.mst", mh), 0);
    int32_t word;
    std::memcpy(&word, mh + 4, 4);
    ASSERT_EQ(word, 15) << "14 records, one past the last";
    // Codes and names as a loader reading 1 .. word-1 sees them; deleted
    // entries carry *YY/MM from their (irregular) dates.
    struct Expect { const char* Code; const char* Name; const char* Roman; };
    const Expect expect[] = {
        {"0101  ", "札幌", "Sapporo"},       {"0132  ", "亀田*73/11", "Kameda"},
        {"100101", "千代田", "Chiyoda"},     {"100105", "文京", "Bunkyo"},
        {"1001  ", "東京", "Tokyo"},         {"1002  ", "旧市*67/01", "Old"},
        {"1003  ", "古市*06/01", "Older"},   {"1201  ", "千葉", "Chiba"},
        {"1202  ", "消市*07/09", "Gone"},    {"1203  ", "開市*05/12", "Open"},
        {"01001 ", "阿寒", "Akan"},          {"01004 ", "厚田*05/09", "Atsuta"},
        {"01005 ", "網走", "Abashiri"},      {"09013 ", "(欠番）*", "(Reserved)"},   // deleted, no date
    };
    for (int r = 1; r < word; ++r) {
        unsigned char rec[56];
        std::memset(rec, 'X', sizeof rec);
        ASSERT_EQ(lib_.dbf_read(mh, r, rec), 0) << r;
        const Expect& e = expect[r - 1];
        EXPECT_EQ(std::string(reinterpret_cast<char*>(rec), 6), e.Code) << r;
        std::string name(reinterpret_cast<char*>(rec + 6), strnlen(reinterpret_cast<char*>(rec + 6), 28));
        EXPECT_EQ(name, e.Name) << r;
        EXPECT_STREQ(reinterpret_cast<char*>(rec + 34), e.Roman) << r;
        for (size_t k = name.size(); k < 28; ++k) EXPECT_EQ(rec[6 + k], 0) << "name padding, record " << r;
    }
    unsigned char rec[56];
    for (int r : {0, -1, 15, 16, INT_MAX}) EXPECT_NE(lib_.dbf_read(mh, r, rec), 0) << r;
    std::memcpy(mh + 4, &(++word), 4);   // the program raises the word; the library does not care
    EXPECT_NE(lib_.dbf_read(mh, 15, rec), 0);
    EXPECT_EQ(lib_.dbf_read(mh, 14, rec), 0);
    EXPECT_EQ(lib_.dbf_close(mh), 0);
    EXPECT_NE(lib_.dbf_read(mh, 1, rec), 0);
}

TEST_F(LibraryTest, FreqPCheckMapsTheJapaneseBands) {
    struct Case { const char* Mhz; int Band; };
    const Case cases[] = {
        {"1.9", 0}, {"1.800", 0}, {"1.875", 0}, {"1.8751", -1}, {"1.9075", 0}, {"1.9125", 0}, {"1.913", -1},
        {"3.5", 1}, {"3.500", 1}, {"3.580", 1}, {"3.59", -1}, {"3.6", 1}, {"3.7", -1}, {"3.805", 1},
        {"7", 2}, {"7.0", 2}, {"7.200", 2}, {"7.2000000001", -1}, {"6.999", -1},
        {"10", 3}, {"10.125", 3}, {"14", 4}, {"14.350", 4}, {"14.351", -1},
        {"18", 5}, {"18.068", 5}, {"18.1", 5}, {"21", 6}, {"21.450", 6}, {"24", 7}, {"24.94", 7},
        {"28", 8}, {"29.7", 8}, {"50", 9}, {"54.000", 9}, {"54.001", -1},
        {"144", 10}, {"145.5", 10}, {"146.001", -1}, {"430", 11}, {"439.99", 11}, {"440.01", -1},
        {"1200", 12}, {"1260", 12}, {"1295.5", 12}, {"1240", -1}, {"2400", 13}, {"2450.0", 13}, {"2451", -1},
        {" 7.050 ", 2}, {"7.", 2}, {".5", -1},
        {"", -1}, {" ", -1}, {"abc", -1}, {"7.0.1", -1}, {"-7", -1}, {"7MHz", -1}, {"5.357", -1},
        {"70.200", -1}, {"0", -1}, {"99999999999", -1}, {"100001", -1},
        // Decimals past the fourth still count at the edges and at the names.
        {"1.91250001", -1}, {"1.90749999", -1}, {"1.9075000", 0}, {"1.9000001", -1}, {"144.00000", 10},
    };
    for (const Case& c : cases) EXPECT_EQ(lib_.FreqPCheck(c.Mhz), c.Band) << '"' << c.Mhz << '"';
    EXPECT_EQ(lib_.FreqPCheck(nullptr), -1);
}

TEST_F(LibraryTest, WriteSideCreatesAppendsAndMarksQsl) {
    ASSERT_EQ(lib_.dbf_create("mine", 0), 0);
    unsigned char h[3928];
    ASSERT_EQ(lib_.VireonOpen(1, h, "mine", 0), 0);
    EXPECT_EQ(CountAt1745(h), 0);
    EXPECT_EQ(lib_.KVX_top(h), 0) << "empty log";
    QsoRecord q{};
    std::strcpy(q.Call, "JA1ZZZ");
    std::strcpy(q.Date, "24/12/31");
    std::strcpy(q.Code, "1001  ");
    q.Name = "山田";
    ASSERT_EQ(lib_.DB_append(h, &q), 0);
    std::memset(q.Call, 'A', sizeof q.Call);   // no NUL within the field
    EXPECT_NE(lib_.DB_append(h, &q), 0);
    std::strcpy(q.Call, "JA1YYY");
    std::string longName(24, 'n');             // one byte more than Name holds
    q.Name = longName.c_str();
    EXPECT_NE(lib_.DB_append(h, &q), 0);
    q.Name = nullptr;
    ASSERT_EQ(lib_.DB_append(h, &q), 0);
    EXPECT_EQ(CountAt1745(h), 2) << "refused appends add nothing";
    EXPECT_EQ(lib_.KVX_top(h), 1);
    {
        // An append without marks stores three blanks, so that position 2
        // of a buffer that held a confirmed QSO before reads as a blank.
        QsoRecord rec;
        std::memset(&rec, 'R', sizeof rec);
        ASSERT_EQ(lib_.KVX_readv(h, 2, &rec), 0);
        EXPECT_STREQ(rec.QSL, "   ");
    }

    struct Step { int (VX_CALL* Vireon::*Call)(void*, int, int); int Rec; int Mark; bool Ok; const char* Qsl; };
    const Step steps[] = {
        {&Vireon::QSL_Send, 1, 'S', true, "S  "},   // three positions, blanks where no mark is
        {&Vireon::QSL_Rcv, 1, 'R', true, "S R"},
        {&Vireon::QSL_Send, 1, 0, true, "  R"},
        {&Vireon::QSL_Rcv, 1, 0, true, "   "},
        {&Vireon::QSL_Rcv, 1, 'J', true, "  J"},
        {&Vireon::QSL_Rcv, 3, 'R', false, "  J"},
        {&Vireon::QSL_Rcv, 0, 'R', false, "  J"},
        {&Vireon::QSL_Rcv, 1, 0x81, false, "  J"},   // a single lead byte is no mark
    };
    for (const Step& s : steps) {
        EXPECT_EQ((lib_.*s.Call)(h, s.Rec, s.Mark) == 0, s.Ok) << s.Qsl;
        QsoRecord rec;
        ASSERT_EQ(lib_.KVX_readv(h, 1, &rec), 0);
        EXPECT_STREQ(rec.QSL, s.Qsl);
        EXPECT_STREQ(RecordText(rec.Name), "山田");
    }
    lib_.VireonClose(h, 0);

    ASSERT_EQ(lib_.dbf_create("mine.vdb", 1), 0) << "the index beside the log";
    unsigned char ix[272];
    ASSERT_EQ(lib_.idx_open("mine.dx0", ix), 0);
    EXPECT_EQ(lib_.idx_search(ix, "JA1YYY", 0), 2);
    lib_.idx_close(ix);
    EXPECT_NE(lib_.dbf_create("mine", 7), 0);
    EXPECT_NE(lib_.dbf_create("absent.vdb", 1), 0);

    unsigned char ro[3928];
    ASSERT_EQ(lib_.VireonOpen(0, ro, "mine", 0), 0);
    EXPECT_NE(lib_.DB_append(ro, &q), 0) << "read-only handle";
    EXPECT_NE(lib_.QSL_Rcv(ro, 1, 'R'), 0);
    lib_.VireonClose(ro, 0);
    EXPECT_NE(lib_.DbsDbrOpen(), 0);
    EXPECT_NE(lib_.DbsDbrRead(), 0);
    EXPECT_NE(lib_.DbsDbrClose(), 0);
}

// ---- damaged files ----

std::string SetU32(std::string bytes, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes[at + size_t(k)] = char(v >> (8 * k));
    return bytes;
}
// Rewrites the header check (FNV-1a of bytes 0..23) after an edit.
std::string FixCheck(std::string b) {
    uint32_t h = 2166136261u;
    for (int i = 0; i < 24; ++i) h = (h ^ static_cast<unsigned char>(b[size_t(i)])) * 16777619u;
    return SetU32(b, 24, h);
}

TEST_F(LibraryTest, DamagedFilesFailToOpen) {
    MakeSmallLog();
    MakeSmallMaster();
    struct Kind { const char* File; std::function<int(const char*)> Open; };
    const Kind kinds[] = {
        {"vireon.vdb", [&](const char* n) { unsigned char b[3928]; int r = lib_.VireonOpen(0, b, n, 0); if (!r) lib_.VireonClose(b, 0); return r; }},
        {"vireon.dx0", [&](const char* n) { unsigned char b[272]; int r = lib_.idx_open(n, b); if (!r) lib_.idx_close(b); return r; }},
        {"vireon.mst", [&](const char* n) { unsigned char b[284]; int r = lib_.dbf_open(n, b); if (!r) lib_.dbf_close(b); return r; }},
    };
    for (const Kind& k : kinds) {
        std::string good = test::ReadFileBytes(File(k.File));
        ASSERT_GT(good.size(), 64u) << k.File;
        test::WriteFileBytes(File("good.bin"), good);
        ASSERT_EQ(k.Open("good.bin"), 0) << k.File << " as made";
        std::string garbage(good.size(), '\0');
        for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = char(i * 131 + 7);
        const std::pair<const char*, std::string> damaged[] = {
            {"empty", ""},
            {"a part of the header", good.substr(0, 10)},
            {"truncated records", good.substr(0, good.size() - 1)},
            {"wrong version", FixCheck(SetU32(good, 8, 2))},
            {"wrong record size", FixCheck(SetU32(good, 16, 255))},
            {"count past the end", FixCheck(SetU32(good, 20, 0x7FFFFFFF))},
            {"header check broken", SetU32(good, 20, 1)},
            {"wrong magic", FixCheck(std::string("XIREON") + good.substr(6))},
            {"garbage", garbage},
        };
        for (const auto& d : damaged) {
            test::WriteFileBytes(File("bad.bin"), d.second);
            EXPECT_NE(k.Open("bad.bin"), 0) << k.File << ": " << d.first;
        }
        EXPECT_NE(k.Open("missing.bin"), 0) << k.File;
        EXPECT_NE(k.Open("."), 0) << k.File << ": a folder";
    }
}

TEST_F(LibraryTest, DamagedRecordsFailAloneAndTextsStayTerminated) {
    MakeSmallLog();
    std::string log = test::ReadFileBytes(File("vireon.vdb"));
    const size_t rec2 = 64 + 256, rec3 = 64 + 2 * 256;
    log[rec2 + 255] = 0;                                   // record 2: not a written record
    for (size_t k = 0; k < 255; ++k) log[rec3 + k] = 'A';  // record 3: no NUL anywhere
    test::WriteFileBytes(File("vireon.vdb"), log);
    unsigned char h[3928];
    ASSERT_EQ(lib_.VireonOpen(0, h, "vireon", 0), 0);
    QsoRecord rec;
    EXPECT_EQ(lib_.KVX_readv(h, 1, &rec), 0);
    EXPECT_NE(lib_.KVX_readv(h, 2, &rec), 0);
    ASSERT_EQ(lib_.KVX_readv(h, 3, &rec), 0);
    EXPECT_EQ(std::strlen(rec.Call), 20u);
    EXPECT_EQ(std::strlen(rec.Date), 8u);
    EXPECT_EQ(std::strlen(rec.QSL), 5u);
    EXPECT_EQ(std::strlen(rec.His), 15u);
    for (const char* p : {rec.My, rec.Freq, rec.Mode, rec.Name, rec.QTH, rec.Remarks1, rec.Remarks2})
        EXPECT_LT(std::strlen(p), 40u);
    EXPECT_EQ(lib_.KVX_readv(h, 4, &rec), 0);
    EXPECT_STREQ(rec.Call, "W1AW");
    lib_.VireonClose(h, 0);
}

TEST_F(LibraryTest, CallCountsCountEveryEntryPoint) {
    MakeSmallLog();
    unsigned char h[3928];
    QsoRecord rec;
    lib_.SetDbsShare(1);
    ASSERT_EQ(lib_.VireonOpen(0, h, "vireon", 0), 0);
    for (int r = 1; r <= 6; ++r) lib_.KVX_readv(h, r, &rec);
    lib_.KVX_readv(h, 99, &rec);
    lib_.VireonClose(h, 0);
    lib_.FreqPCheck("7");
    EXPECT_EQ(lib_.VireonDebugCallCount("KVX_readv"), 7);
    EXPECT_EQ(lib_.VireonDebugCallCount("VireonOpen"), 1);
    EXPECT_EQ(lib_.VireonDebugCallCount("SetDbsShare"), 1);
    EXPECT_EQ(lib_.VireonDebugCallCount("idx_open"), 0);
    EXPECT_EQ(lib_.VireonDebugCallCount(""), 7 + 1 + 1 + 1 + 1);
    EXPECT_EQ(lib_.VireonDebugCallCount("NoSuchEntry"), -1);
    EXPECT_EQ(lib_.VireonDebugCallCount(nullptr), -1);
}

TEST_F(LibraryTest, SetDbsShareTakesOnlyZeroOrOne) {
    EXPECT_EQ(lib_.SetDbsShare(1), 0);
    EXPECT_EQ(lib_.SetDbsShare(0), 0);
    EXPECT_NE(lib_.SetDbsShare(2), 0);
    EXPECT_NE(lib_.SetDbsShare(-1), 0);
}

#if defined(_WIN32)
TEST_F(LibraryTest, SharingLetsTheLoggingProgramKeepWriting) {
    MakeSmallLog();
    // The logging program holds the log open for writing.
    HANDLE writer = CreateFileA("vireon.vdb", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    unsigned char h[3928];
    ASSERT_EQ(lib_.SetDbsShare(0), 0);
    EXPECT_NE(lib_.VireonOpen(0, h, "vireon", 0), 0) << "without sharing the writer locks us out";
    ASSERT_EQ(lib_.SetDbsShare(1), 0);
    ASSERT_EQ(lib_.VireonOpen(0, h, "vireon", 0), 0);
    QsoRecord rec;
    EXPECT_EQ(lib_.KVX_readv(h, 1, &rec), 0);
    lib_.VireonClose(h, 0);
    CloseHandle(writer);
}
#endif

}  // namespace
