#include "platform/suite/controls/check_box.h"

#include "platform/user/button.h"

IMPLEMENT_DYNAMIC(CCheckBox, CButton)

CCheckBox::~CCheckBox() = default;

bool CCheckBox::IsChecked() const { return m_hWnd && GetCheck() == BST_CHECKED; }

void CCheckBox::SetChecked(bool checked)
{
    if (m_hWnd)
        SetCheck(checked ? BST_CHECKED : BST_UNCHECKED);
}
