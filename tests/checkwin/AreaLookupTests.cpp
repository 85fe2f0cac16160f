// The main window's area lookup: a JCC/JCG code typed in the box and Enter,
// F4 on a listed QSO, and what they list and say, on a log made by
// vireon-tool and the demo master.
#include <cstdlib>

#include "CheckWindowFixture.h"
#include "res/resource.h"

namespace checkwin_test {
namespace {

Qso On(Qso q, const std::string& freq, const std::string& mode, bool confirmed) {
    q.Freq = freq;
    q.Mode = mode;
    q.Confirmed = confirmed;
    return q;
}

// 1001 (Tokyo's 23 wards) was deleted in March 2010; from April 2010 each
// ward counts by itself.
const std::vector<Qso> kAreaLog = {
    On(Station("JA1AAA", "20090101", "100101"), "7.041", "CW", true),    // 1: a ward, then 1001
    On(Station("JA1BBB", "20100301", "1001"), "14.074", "FT8", false),   // 2
    On(Station("JA1CCC", "20100401", "1001"), "21.074", "SSB", true),    // 3: after the deletion
    Station("JA1DDD", "20100402", "100101"),                             // 4: the ward by itself
    Station("JA8AAA", "20110101", "01005A"),                             // 5: a town of 01005
    Station("JA1EEE", "20110102", "9999"),                               // 6: in no table
};

std::vector<int> RecordNumbers(HWND main) {
    std::vector<int> numbers;
    for (const std::string& t : ListColumn(main, 0)) numbers.push_back(std::atoi(t.c_str()));
    return numbers;
}

class AreaLookupTest : public CheckWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(MakeLog(kAreaLog));
        ASSERT_NO_FATAL_FAILURE(MakeDemoMaster());
    }
};

TEST_F(AreaLookupTest, ACodeTypedOrTheCodeOfAListedQsoListsItsAreaAndTellsWhatCounts) {
    const std::string tokyo = "JCC 1001 東京23区*10/03  Cfm 7  Wkd 14  /  Cfm CW  Wkd FT8";
    struct Case {
        const char* typed;
        UINT key;
        int select;   // F4: the row selected first, -1 none
        const char* box;
        const char* count;
        std::vector<int> recNos;
        std::string status;
    };
    const Case cases[] = {
        // The QSO after the deletion is listed; only the others count.
        {"1001", VK_RETURN, -1, "1001", "交信回数 3 回", {1, 2, 3}, tokyo},
        {"01005", VK_DOWN, -1, "01005", "交信回数 1 回", {5}, "JCG 01005 網走  Wkd 7  /  Wkd FT8"},
        {"01005B", VK_RETURN, -1, "01005B", "交信回数 1 回", {5}, "JCG 01005 網走  Wkd 7  /  Wkd FT8"},
        {"0101", VK_RETURN, -1, "0101", "交信回数 0 回", {}, "JCC 0101 札幌  未交信"},
        {"9999", VK_RETURN, -1, "9999", "交信回数 1 回", {6}, "JCC/JCG の表にない番号です"},
        // F4 over the rows of a pattern search JA1???: records 1, 2, 3, 4, 6.
        {"JA1", VK_F4, 3, "100101", "交信回数 1 回", {4}, "JCC 100101 千代田  Wkd 7  /  Wkd FT8"},
        {"JA1", VK_F4, -1, "1001", "交信回数 3 回", {1, 2, 3}, tokyo},
        {"JA1", VK_F4, 4, "9999", "交信回数 1 回", {6}, "JCC/JCG の表にない番号です"},
    };
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.typed) + " key " + std::to_string(c.key));
            Type(main, c.typed);
            if (c.key == VK_F4) {
                Press(box, VK_F3);
                ASSERT_EQ(RecordNumbers(main), (std::vector<int>{1, 2, 3, 4, 6}));
                SelectRow(main, c.select);
            }
            Press(c.key == VK_F4 ? ::GetDlgItem(main, IDC_QSOLIST) : box, c.key);
            EXPECT_EQ(CallBox(main), c.box);
            EXPECT_EQ(CountBox(main), c.count);
            EXPECT_EQ(RecordNumbers(main), c.recNos);
            EXPECT_EQ(StatusBar(main), c.status);
        }
        // After F4 the box holds the code: Enter looks up the same area.
        Press(box, VK_RETURN);
        EXPECT_EQ(RecordNumbers(main), (std::vector<int>{6}));
        // A call sign is still a call sign.
        Type(main, "JA1CCC");
        Press(box, VK_RETURN);
        EXPECT_EQ(RecordNumbers(main), (std::vector<int>{3}));
        EXPECT_EQ(StatusBar(main), "Cfm 21  /  Cfm SSB");

        // Without the master nothing can be named: said as the JCC check says it.
        ::DeleteFileA(Folder().File("vireon.mst").c_str());
        Type(main, "1001");
        gui::PostKey(box, VK_RETURN);
        MessageBoxSeen seen = WaitForMessageBox(main);
        ASSERT_NE(seen.Window, nullptr);
        EXPECT_EQ(seen.Text, "vireon.mst を読み込めません");
        EXPECT_TRUE(seen.Exclamation);
        Dismiss(seen);
        gui::Settle(main);
        EXPECT_EQ(ListCount(main), 0);
        EXPECT_EQ(CountBox(main), "");
    });
}

}  // namespace
}  // namespace checkwin_test
