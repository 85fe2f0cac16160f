// The program's main window (template 102): the call-sign box, the link box,
// the QSO list and the count box; the menu that opens the award checks; the
// version box on the system menu; the icon drawn while minimised.
#pragma once
#include <string>

#include "framework/Framework.h"

class CallsignCheckDialog : public CDialog {
public:
    CallsignCheckDialog();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CListCtrl m_QsoList;
    std::string CallText;
    std::string CountText;

    DECLARE_MESSAGE_MAP()

protected:
    void OnSysCommand(UINT id, LPARAM lp);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnAjdWajaCheck();
    void OnJccJcgCheck();

private:
    void AddAboutEntryToSystemMenu();
    void RecordMainWindowPlacement();

    HICON m_hIcon;
};
