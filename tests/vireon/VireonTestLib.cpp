#include "VireonTestLib.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vxtest {

const char* const kEntryNames[23] = {
    "VireonOpen", "VireonClose", "KVX_readv", "DbsDbrOpen", "DbsDbrClose", "DbsDbrRead", "dbf_create",
    "dbf_open", "dbf_close", "DB_append", "dbf_read", "QSL_Rcv", "QSL_Send", "KVX_seek", "KVX_top",
    "idx_top", "idx_bottom", "idx_search", "idx_open", "idx_close", "idx_next", "FreqPCheck", "SetDbsShare"};

void* FindEntry(const Vireon& v, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(v.Module), name));
#else
    return dlsym(v.Module, name);
#endif
}

template <class F> void Bind(const Vireon& v, F*& slot, const char* name) {
    slot = reinterpret_cast<F*>(FindEntry(v, name));
}

bool LoadVireon(const std::string& dir, const std::string& variant, Vireon* v) {
    std::string ext = test::LibraryFileName().substr(test::LibraryFileName().rfind('.'));
    std::string path = test::JoinPath(dir, variant + "-under-test" + ext);
    test::CopyFileTo(test::BinFile(variant + ext), path);
#if defined(_WIN32)
    v->Module = LoadLibraryA(path.c_str());
#else
    v->Module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    if (!v->Module) return false;
#define BIND(n) Bind(*v, v->n, #n)
    BIND(VireonOpen); BIND(VireonClose); BIND(KVX_readv); BIND(KVX_seek); BIND(KVX_top);
    BIND(DB_append); BIND(QSL_Rcv); BIND(QSL_Send); BIND(dbf_create); BIND(dbf_open);
    BIND(dbf_read); BIND(dbf_close); BIND(idx_open); BIND(idx_close); BIND(idx_search);
    BIND(idx_next); BIND(idx_top); BIND(idx_bottom); BIND(FreqPCheck); BIND(SetDbsShare);
    BIND(DbsDbrOpen); BIND(DbsDbrClose); BIND(DbsDbrRead); BIND(VireonDebugCallCount);
#undef BIND
    return true;
}

void FreeVireon(Vireon* v) {
    if (!v->Module) return;
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(v->Module));
#else
    dlclose(v->Module);
#endif
    *v = Vireon();
}

void VireonFolder::SetUp() { ASSERT_TRUE(LoadVireon(dir_.Path(), "vireon50", &lib_)); }

std::string VireonFolder::Tool(const std::vector<std::string>& args, int expectedExit) {
    std::string output;
    int code = test::RunVireonTool(args, dir_.Path(), &output);
    std::string line;
    for (const auto& a : args) line += a + " ";
    EXPECT_EQ(code, expectedExit) << "vireon-tool " << line << "\n" << output;
    return output;
}

namespace {
// One ADIF record from (name, UTF-8 value) pairs, lengths counted here.
std::string AdifRecord(const std::vector<std::pair<const char*, const char*>>& fields) {
    std::string out;
    for (const auto& f : fields) {
        std::string v = f.second;
        out += "<" + std::string(f.first) + ":" + std::to_string(v.size()) + ">" + v + " ";
    }
    return out + "<EOR>\n";
}
}  // namespace

// Out of date order on purpose: the tool stores date and time order, QSOs of
// the same minute in file order. The texts are UTF-8 (u8 literals; plain
// literals are CP932 in this build).
const std::string kSmallAdif =
    std::string("written by the vireon tests\n<ADIF_VER:5>3.1.4\n<eoh>\n") +
    AdifRecord({{"CALL", "JA1ABC"}, {"QSO_DATE", "20210206"}, {"TIME_ON", "050800"}, {"FREQ", "7.041"},
                {"MODE", "CW"}, {"RST_SENT", "599"}, {"RST_RCVD", "579"}, {"CNTY", "1001"}, {"QSL_RCVD", "Y"},
                {"QSL_SENT", "Y"}, {"QSL_SENT_VIA", "b"}, {"NAME", u8"佐藤"}, {"QTH", u8"千代田"}, {"COMMENT", "FB"}, {"NOTES", "2nd"},
                {"GRIDSQUARE", "PM95"}}) +
    AdifRecord({{"call", "ja1abc/1"}, {"qso_date", "20200101"}, {"time_on", "1200"}, {"band", "40M"},
                {"mode", "SSB"}, {"state", "12"}}) +
    AdifRecord({{"CALL", "JA1AB"}, {"QSO_DATE", "20210206"}, {"TIME_ON", "0600"}, {"FREQ", "144.200"},
                {"MODE", "FM"}, {"CNTY", "100105"}}) +
    AdifRecord({{"CALL", "JA1ABD"}, {"QSO_DATE", "20190505"}, {"TIME_ON", "235959"}, {"FREQ", "21.074"},
                {"MODE", "FT8"}, {"CNTY", "01001"}, {"LOTW_QSL_RCVD", "y"}, {"NAME", u8"寿限無寿限無五劫の擦り切れ"}}) +
    AdifRecord({{"CALL", "JD1/JA1ABC"}, {"QSO_DATE", "20220303"}, {"TIME_ON", "0101"}, {"FREQ", "1.81"},
                {"MODE", "CW"}, {"CNTY", "01005a"}, {"EQSL_QSL_RCVD", "Y"}}) +
    AdifRecord({{"CALL", "W1AW"}, {"QSO_DATE", "20210206"}, {"TIME_ON", "0508"}, {"BAND", "20m"},
                {"MODE", "SSB"}, {"DXCC", "291"}, {"STATE", "CT"}}) +
    AdifRecord({{"QSO_DATE", "20210207"}, {"TIME_ON", "0000"}, {"MODE", "CW"}}) +
    AdifRecord({{"CALL", "JA2XYZ"}, {"QSO_DATE", "20211332"}, {"TIME_ON", "0000"}});

// Name of JA1ABD: 39 bytes of UTF-8 are 26 bytes of CP932, cut to 23 bytes at
// a character boundary (11 characters = 22 bytes).
const std::vector<SmallQso> kSmallLog = {
    {"JA1ABD", "19/05/05", "23:59", "", "", "21.074", "FT8", "01001 ", "", "  R", "寿限無寿限無五劫の擦り", "", "", ""},
    {"JA1ABC/1", "20/01/01", "12:00", "", "", "7.000", "SSB", "12    ", "", "   ", "", "", "", ""},
    {"JA1ABC", "21/02/06", "05:08", "599", "579", "7.041", "CW", "1001  ", "PM95", "SJR", "佐藤", "千代田", "FB", "2nd"},
    {"W1AW", "21/02/06", "05:08", "", "", "14.000", "SSB", "", "", "   ", "", "", "", ""},
    {"JA1AB", "21/02/06", "06:00", "", "", "144.200", "FM", "100105", "", "   ", "", "", "", ""},
    {"JD1/JA1ABC", "22/03/03", "01:01", "", "", "1.81", "CW", "01005A", "", "  R", "", "", "", ""},
};

void VireonFolder::MakeSmallLog() {
    test::WriteFileBytes(dir_.File("small.adi"), kSmallAdif);
    Tool({"import-adif", "small.adi"}, 1);   // two records skipped, one name cut
}

void VireonFolder::MakeSmallMaster() {
    test::WriteFileBytes(dir_.File("jcc.txt"),
                         "ＪＣＣリスト   test\n\n北海道 01\n"
                         "  0101    Sapporo             札幌\n"
                         "* 0132    Kameda              亀田      \"Nov. 30,1973\"\n"
                         "東京都 10\n"
                         "  100101 Chiyoda         千代田\n"
                         "  100105 Bunkyo          文京\n"
                         "  1001    Tokyo               東京\n"
                         "* 1002    Old                 旧市      \"Jan.31.1967\"\n"
                         "* 1003    Older               古市      \"Jan,9,2006\"\n"
                         "千葉県 12\n"
                         "  1201    Chiba               千葉\n"
                         "* 1202    Gone                消市      \"Sept.30,2007\"\n"
                         "* 1203    Open                開市      \"Dec.31,2005\n");
    test::WriteFileBytes(dir_.File("jcg.txt"),
                         "ＪＣＧリスト   test\n北海道  01\n"
                         "  01001   Akan                阿寒\n"
                         "* 01004   Atsuta              厚田       \"Sep.30,2005\"\n"
                         "  01005   Abashiri            網走\n"
                         "          Ozoracho            大空町\n"
                         "* 09013   (Reserved)          (欠番）\n");
    Tool({"make-master", "--jcc", "jcc.txt", "--jcg", "jcg.txt"});
}

int32_t CountAt1745(const unsigned char* block) {
    int32_t n;
    std::memcpy(&n, block + 1745, 4);
    return n;
}

}  // namespace vxtest
