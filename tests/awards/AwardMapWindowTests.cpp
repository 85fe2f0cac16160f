// The award map window over a real tally: opened from the result list by
// key and by menu, the tiles' states read back from the model the drawing
// uses (and from the pixels of the copied picture), the band chooser, the
// drill-down, the clipboard and the PNG file.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "AwardWindowFixture.h"
#include "GuiDriver.h"
#include "app/MainWindowPlacement.h"
#include "app/ProgramObjects.h"
#include "awards/AwardFilter.h"
#include "awards/AwardList.h"
#include "awards/AwardListDialog.h"
#include "awards/AwardMapDialog.h"
#include "lists/FileSave.h"
#include "res/resource.h"

namespace {

// The small master's cities 0101-0105 (Hokkaido) and 1001, 1002 (Tokyo),
// counties 01001, 01002 (Hokkaido).
const std::vector<awardgui::Qso> kMapLog = {
    {"20200101", "7.010", "CW", "0101", true},     // 0101 confirmed on 7 MHz
    {"20200102", "14.025", "CW", "0102", false},   // 0102 worked on 14 MHz
    {"20200103", "14.025", "CW", "1001", true},
    {"20200104", "14.025", "CW", "1002", true},    // Tokyo all confirmed on 14 MHz
    {"20200105", "7.010", "CW", "4701", false},    // Okinawa worked only
    {"20200106", "7.010", "CW", "01001", true},
};

class AwardMapWindowTest : public awardgui::AwardWindowTest {
protected:
    void SetUp() override {
        awardgui::ResetAwardState();
        UseLibrary();
        ASSERT_NO_FATAL_FAILURE(MakeLog(kMapLog));
        ASSERT_NO_FATAL_FAILURE(MakeSmallMaster());
        ASSERT_NO_FATAL_FAILURE(LoadTables());
        MainWindowPlacement = {50, 40, 333};
    }
    static void Search(int32_t kind) {
        AwardFilter.AwardKind = kind;
        AwardFilter.BandSelected[2] = 1;   // 7 and 14 MHz
        AwardFilter.BandSelected[4] = 1;
        AwardFilter.EndDate = 20501231;
    }
    // The list of a search, its map opened above it by Ctrl+M (or the menu),
    // handed to check() with the window object, then closed.
    void WithMap(bool byMenu, const std::function<void(HWND, AwardMapDialog&)>& check) {
        AwardListDialog list(AwardFilter, MainWindowPlacement, ColumnSortState, TheAwardResults);
        gui::RunModal(list, [&](HWND window) {
            HWND control = ::GetDlgItem(window, IDC_AWARDLIST);
            if (byMenu)
                ::PostMessageA(window, WM_COMMAND, ID_LIST_MAP, 0);
            else
                gui::PostCtrlKey(control, 'M', [&] { return gui::WaitForModalAbove(window, 100) != nullptr; });
            HWND map = gui::WaitForModalAbove(window);
            ASSERT_NE(map, nullptr);
            gui::Settle(map);
            AwardMapDialog* dialog = AwardMapDialog::FromWindow(map);
            ASSERT_NE(dialog, nullptr);
            check(map, *dialog);
            awardgui::CloseAndWait(map, window);
        });
    }
};

void ChooseBandAsTheOperatorDoes(HWND map, int position) {
    HWND box = ::GetDlgItem(map, IDC_MAP_BAND);
    ::SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    ::PostMessageA(map, WM_COMMAND, MAKEWPARAM(IDC_MAP_BAND, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    gui::Settle(map);
}

// The colour at (x, y) of the CF_DIB on the clipboard, as 0xRRGGBB; the
// size of the bitmap in *width and *height.
uint32_t ClipboardPixel(int x, int y, int* width, int* height) {
    uint32_t colour = 0xFFFFFFFF;
    if (!::OpenClipboard(nullptr)) return colour;
    if (HGLOBAL memory = ::GetClipboardData(CF_DIB)) {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(memory));
        *width = header->biWidth;
        *height = std::abs(header->biHeight);
        if (header->biBitCount == 24 && x < *width && y < *height) {
            const size_t stride = ((static_cast<size_t>(*width) * 24 + 31) / 32) * 4;
            const int row = header->biHeight > 0 ? *height - 1 - y : y;
            const auto* p = reinterpret_cast<const unsigned char*>(header + 1) + stride * row + 3 * x;
            colour = (static_cast<uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
        }
        ::GlobalUnlock(memory);
    }
    ::CloseClipboard();
    return colour;
}

// A point inside a tile that no text, mark or hatching covers.
POINT PlainPointOf(const MapGeometry& g, int prefecture) {
    const MapRect r = g.TileRect(prefecture);
    return {r.Left + 3 + g.Cell / 16, r.Bottom - 4 - g.Cell / 16};
}

TEST_F(AwardMapWindowTest, EachAwardsMapOpensByKeyAndMenuAndShowsTheStatesOfTheLog) {
    struct Case {
        int32_t kind;
        const char* caption;
        std::vector<std::pair<int, TileState>> states;   // prefecture, state on every band
    } cases[] = {
        {Waja, "WAJA 地図", {{1, TileState::Confirmed}, {10, TileState::Confirmed}, {47, TileState::WorkedOnly},
                             {13, TileState::NotWorked}}},
        {Ajd, "AJD 地図", {{1, TileState::Confirmed}, {13, TileState::Confirmed}, {40, TileState::WorkedOnly},
                            {47, TileState::WorkedOnly}, {9, TileState::NotWorked}}},
        {Jcc, "JCC 地図", {{10, TileState::Confirmed}, {1, TileState::WorkedOnly}, {47, TileState::NotWorked}}},
        {Jcg, "JCG 地図", {{1, TileState::WorkedOnly}, {10, TileState::NotWorked}}},
    };
    for (const Case& c : cases) {
        Search(c.kind);
        for (bool byMenu : {false, true}) {
            WithMap(byMenu, [&](HWND map, AwardMapDialog& dialog) {
                EXPECT_EQ(gui::WindowText(map), c.caption);
                for (const auto& s : c.states)
                    EXPECT_EQ(dialog.Map().Tile(s.first).State, s.second) << c.caption << " " << s.first;
                EXPECT_EQ(dialog.Map().Band, -1);
                EXPECT_EQ(::SendMessageA(::GetDlgItem(map, IDC_MAP_BAND), CB_GETCOUNT, 0, 0), 3) << "全バンド, 7, 14";
                if (byMenu) return;
                // Opened over the list, scaled, everything inside the view.
                RECT window, view;
                ::GetWindowRect(map, &window);
                ::GetClientRect(dialog.View(), &view);
                EXPECT_EQ(window.left, MainWindowPlacement.Left);
                EXPECT_EQ(window.top, MainWindowPlacement.Top);
                const MapGeometry g = dialog.Geometry();
                EXPECT_GE(g.Cell, ScaleToDpi(30, SystemDpi()));
                EXPECT_LE(g.Left + g.Cell * kMapColumns, view.right);
                EXPECT_LE(g.Totals.Bottom, view.bottom);
                EXPECT_GE(g.Totals.Top, g.Top + g.Cell * kMapRows);
            });
        }
    }
}

TEST_F(AwardMapWindowTest, JccShadesFollowTheChosenBandAndTheCopiedPictureHasTheirColours) {
    Search(Jcc);
    WithMap(false, [](HWND map, AwardMapDialog& dialog) {
        auto expectTile = [&](int p, const char* count, int shade, bool mark, const char* what) {
            const MapTile& t = dialog.Map().Tile(p);
            EXPECT_EQ(TileCountText(t), count) << what;
            EXPECT_EQ(t.Shade, shade) << what;
            EXPECT_EQ(t.WorkedMark, mark) << what;
        };
        expectTile(1, "1/5", 1, true, "Hokkaido, every band");
        expectTile(10, "2/2", 4, false, "Tokyo, every band");
        EXPECT_EQ(dialog.Map().Totals, "Cfm 3  Wkd 1  全 7  JCC-100 まで 97");

        ChooseBandAsTheOperatorDoes(map, 2);   // 14 MHz
        EXPECT_EQ(dialog.Map().Band, 4);
        expectTile(1, "0/5", 0, true, "Hokkaido on 14");
        expectTile(10, "2/2", 4, false, "Tokyo on 14");
        EXPECT_EQ(dialog.Map().Totals, "Cfm 2  Wkd 1  全 7  JCC-100 まで 98");
        ChooseBandAsTheOperatorDoes(map, 1);   // 7 MHz
        expectTile(10, "0/2", 0, false, "Tokyo on 7");

        // Ctrl+C: the picture of the view, drawn from that model.
        gui::SetClipboardText("before");
        gui::PostCtrlKey(dialog.View(), 'C');
        RECT view;
        ::GetClientRect(dialog.View(), &view);
        const MapGeometry g = dialog.Geometry();
        int width = 0, height = 0;
        for (int p : {1, 10, 47}) {
            const POINT at = PlainPointOf(g, p);
            EXPECT_EQ(ClipboardPixel(at.x, at.y, &width, &height), TileColour(dialog.Map(), dialog.Map().Tile(p))) << p;
        }
        EXPECT_EQ(width, view.right);
        EXPECT_EQ(height, view.bottom);
    });
}

TEST_F(AwardMapWindowTest, AClickAndEnterOpenThePrefecturesRows) {
    Search(Jcc);
    WithMap(false, [](HWND map, AwardMapDialog& dialog) {
        const MapRect tokyo = dialog.Geometry().TileRect(10);
        ::PostMessageA(dialog.View(), WM_LBUTTONDOWN, MK_LBUTTON,
                       MAKELPARAM((tokyo.Left + tokyo.Right) / 2, (tokyo.Top + tokyo.Bottom) / 2));
        HWND rows = gui::WaitForModalAbove(map);
        ASSERT_NE(rows, nullptr);
        EXPECT_EQ(gui::WindowText(rows), "JCC 東京都");
        const awardgui::Rows shown = awardgui::ReadListRows(::GetDlgItem(rows, IDC_AWARDLIST));
        EXPECT_EQ(awardgui::ColumnOf(shown, 2), (std::vector<std::string>{"1001  ", "1002  "}));
        awardgui::CloseAndWait(rows, map);
        EXPECT_EQ(dialog.FocusedTile(), 10);

        // The keyboard: from Tokyo left to Saitama, then Enter.
        gui::PostKey(dialog.View(), VK_LEFT);
        gui::Settle(map);
        EXPECT_EQ(dialog.FocusedTile(), 13);
        gui::PostKey(dialog.View(), VK_RETURN);
        HWND saitama = gui::WaitForModalAbove(map);
        ASSERT_NE(saitama, nullptr);
        EXPECT_EQ(gui::WindowText(saitama), "JCC 埼玉県");
        EXPECT_EQ(::SendMessageA(::GetDlgItem(saitama, IDC_AWARDLIST), LVM_GETITEMCOUNT, 0, 0), 0);
        awardgui::CloseAndWait(saitama, map);
        EXPECT_TRUE(::IsWindow(map)) << "Enter on a tile does not close the map";
    });
}

TEST_F(AwardMapWindowTest, AClickOnAWajaTileListsThePrefecturesQsos) {
    Search(Waja);
    WithMap(false, [](HWND map, AwardMapDialog& dialog) {
        const MapRect hokkaido = dialog.Geometry().TileRect(1);
        ::PostMessageA(dialog.View(), WM_LBUTTONDOWN, MK_LBUTTON,
                       MAKELPARAM((hokkaido.Left + hokkaido.Right) / 2, (hokkaido.Top + hokkaido.Bottom) / 2));
        HWND qsos = gui::WaitForModalAbove(map);
        ASSERT_NE(qsos, nullptr);
        EXPECT_EQ(gui::WindowText(qsos).rfind("01 ", 0), 0u) << gui::WindowText(qsos);
        EXPECT_GT(::SendMessageA(::GetDlgItem(qsos, IDC_AWARDLIST), LVM_GETITEMCOUNT, 0, 0), 0);
        awardgui::CloseAndWait(qsos, map);
    });
}

TEST_F(AwardMapWindowTest, CtrlSSavesAPngOfTheViewsSize) {
    Search(Waja);
    const std::string path = Dir().File("map.png");
    WithMap(false, [&](HWND map, AwardMapDialog& dialog) {
        gui::PostCtrlKey(dialog.View(), 'S', [] { return gui::FindProcessWindow("PNG で保存") != nullptr; });
        EXPECT_EQ(awardgui::AnswerSaveDialog("PNG で保存", path), "WAJA-地図-" + TodayYmd() + ".png");
        gui::Settle(map);
        RECT view;
        ::GetClientRect(dialog.View(), &view);
        // Opened as an image, with the view's size.
        namespace gp = Gdiplus;
        gp::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        ASSERT_EQ(gp::GdiplusStartup(&token, &input, nullptr), gp::Ok);
        std::wstring wide(path.begin(), path.end());
        gp::GpImage* image = nullptr;
        ASSERT_EQ(gp::DllExports::GdipLoadImageFromFile(wide.c_str(), &image), gp::Ok);
        UINT w = 0, h = 0;
        gp::DllExports::GdipGetImageWidth(image, &w);
        gp::DllExports::GdipGetImageHeight(image, &h);
        GUID format{};
        gp::DllExports::GdipGetImageRawFormat(image, &format);
        gp::DllExports::GdipDisposeImage(image);
        gp::GdiplusShutdown(token);
        EXPECT_EQ(static_cast<LONG>(w), view.right);
        EXPECT_EQ(static_cast<LONG>(h), view.bottom);
        EXPECT_TRUE(::IsEqualGUID(format, gp::ImageFormatPNG));
    });
}

}  // namespace
