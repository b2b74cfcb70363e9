#include "memo/memo_dlg.h"

CMemoDlg::CMemoDlg(QWidget* parent) : QDialog(parent) {}
