// The main form's commands: shared access and the failure message.
#include "mainform/commands/ViewCommand.h"

#include "dbaccess/AdoFailure.h"
#include "platform/ui/MessageBox.h"

ViewCommand::ViewCommand(CommandHost& host) : m_host(host), m_tree(host.Tree()) {}

void ViewCommand::ReportFailure(const std::string& what, const AdoFailure& failure) const
{
    ui::MessageBox::Show(m_host.DialogParent(), QString::fromStdString(what + "\n" + failure.description), {},
                         ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
}
