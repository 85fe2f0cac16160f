// The JCC/JCG check dialog (its template only, for now: it opens and closes; its
// criteria and search are added with the award checks).
#pragma once
#include "framework/Framework.h"
#include "res/resource.h"

class JccJcgDialog : public CDialog {
public:
    JccJcgDialog() : CDialog(IDD_JCCJCG) {}
};
