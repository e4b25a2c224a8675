// The lookup table editors, run from the main form.
#include "mainform/commands/ConfigureLookupsCommand.h"

#include "dialogs/CAccountsDlg.h"
#include "dialogs/CCategoriesDlg.h"
#include "dialogs/CProjectsDlg.h"

void ConfigureLookupsCommand::Accounts()
{
    CAccountsDlg dialog(Host().Database(), Host().DialogParent());
    dialog.exec();  // the tree shows no account, so nothing to rebuild
}

void ConfigureLookupsCommand::Categories()
{
    CCategoriesDlg dialog(Tree().Types(), Host().DialogParent());
    dialog.exec();
    AfterEditor(dialog.Changed());
}

void ConfigureLookupsCommand::Projects()
{
    CProjectsDlg dialog(Tree().Projects(), Host().DialogParent());
    dialog.exec();
    AfterEditor(dialog.Changed());
}

void ConfigureLookupsCommand::AfterEditor(bool bChanged)
{
    if (bChanged)
        Host().RefreshTree();
}
