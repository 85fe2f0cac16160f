// The award map window: the result of the last tally as a tile map of
// Japan, one band or all at a time, with the totals and a legend. Opened
// modally from the result list (Ctrl+M, "地図"). A click or Enter on a
// tile opens the prefecture's rows; Ctrl+C copies the picture, Ctrl+S
// saves it as PNG.
#pragma once
#include <string>
#include <vector>

#include "awards/AwardFilter.h"
#include "awards/AwardMap.h"
#include "awards/AwardMapPicture.h"
#include "awards/AwardTally.h"
#include "framework/Framework.h"

class AwardMapDialog : public CDialog {
public:
    AwardMapDialog(const AwardCriteria& criteria, const AwardStatistics& results);
    ~AwardMapDialog() override;

    // The map window behind a window handle, or null.
    static AwardMapDialog* FromWindow(HWND window);

    // What the window shows now: the model the drawing uses.
    const AwardMap& Map() const { return map_; }
    HWND View() const { return view_; }
    int FocusedTile() const { return focused_; }
    // Where the view draws the tiles at its present size.
    MapGeometry Geometry() const;
    // The band chooser set to a band (-1 every band) and the map redrawn
    // from the counted result; false when the search did not count that band.
    bool ChooseBand(int band);
    // The picture as the view shows it, without the focus frame.
    HBITMAP RenderPicture() const;
    // Ctrl+C; false when the clipboard could not be had.
    bool CopyPicture();
    // Ctrl+S: asked for a file name, then written whole.
    void SavePicture();

    DECLARE_MESSAGE_MAP()

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    void OnSize(UINT type, int cx, int cy);
    void OnBandChange();
    void OnCopy();
    void OnSavePng();
    LRESULT OnContextMenu(WPARAM, LPARAM);
    LRESULT OnMinMaxInfo(WPARAM, LPARAM);

private:
    static LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT ViewMessage(UINT msg, WPARAM wp, LPARAM lp);
    void PaintView();
    void LayOut(int cx, int cy);
    void PlaceOverOwner();
    void ShowBand(int band);
    // The tooltip of the tile under the mouse.
    void TrackTip(int x, int y);
    MapLook Look(bool withFocus) const;
    void MoveFocus(int dx, int dy);
    // The areas of a prefecture (a click or Enter on its tile). Its one
    // call site, so that another window can take its place.
    void OpenPrefectureAreas(int prefecture);

    const AwardCriteria& criteria_;
    const AwardStatistics& results_;
    AwardMap map_;
    std::vector<int> bands_;
    HWND view_ = nullptr;
    HWND tips_ = nullptr;
    int focused_ = 1;
    int hovered_ = 0;
    std::string tipText_;
};
