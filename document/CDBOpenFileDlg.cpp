// The database open dialog.
#include "document/CDBOpenFileDlg.h"

#include "platform/ui/FileDialog.h"

bool CDBOpenFileDlg::DoModal()
{
    ui::FileDialog::Request request;
    request.title = "Select Database for Quillmar";
    request.filter = "Quillmar Database files (*.mdb)|*.mdb|All Files (*.*)|*.*||";
    request.defaultExtension = "mdb";
    request.mustExist = true;
    request.checkBoxText = "Set as Default database";
    request.checkBoxChecked = true;
    const auto result = ui::FileDialog::Run(m_parent, request);
    if (!result)
        return false;
    m_strPathName = result->NativePath();
    m_bStoreAsDefault = result->checkBoxChecked;
    return true;
}
