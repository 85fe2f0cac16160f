// The version box (template 100): two lines of text, closed with its close
// box or Escape.
#pragma once
#include "framework/Framework.h"
#include "res/resource.h"

class AboutDialog : public CDialog {
public:
    AboutDialog() : CDialog(IDD_ABOUTBOX) {}
};
