// The lookup table editors, run from the main form.
#include "mainform/commands/ConfigureLookupsCommand.h"

#include "mainform/CQuillmarView.h"
#include "dialogs/CAccountsDlg.h"
#include "dialogs/CCategoriesDlg.h"
#include "dialogs/CProjectsDlg.h"

void ConfigureLookupsCommand::Accounts()
{
    CAccountsDlg dialog(View().Database(), &View());
    dialog.exec();  // the tree shows no account, so nothing to rebuild
}

void ConfigureLookupsCommand::Categories()
{
    CCategoriesDlg dialog(Tree().Types(), &View());
    dialog.exec();
    AfterEditor(dialog.Changed());
}

void ConfigureLookupsCommand::Projects()
{
    CProjectsDlg dialog(Tree().Projects(), &View());
    dialog.exec();
    AfterEditor(dialog.Changed());
}

void ConfigureLookupsCommand::AfterEditor(bool bChanged)
{
    if (bChanged)
        View().RefreshTree();
}
