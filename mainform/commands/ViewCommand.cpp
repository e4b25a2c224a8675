// The main form's commands: shared access and the failure message.
#include "mainform/commands/ViewCommand.h"

#include "mainform/CQuillmarView.h"
#include "dbaccess/AdoFailure.h"
#include "platform/ui/MessageBox.h"

ViewCommand::ViewCommand(CQuillmarView& view) : m_view(view), m_tree(view.Tree()) {}

void ViewCommand::ReportFailure(const std::string& what, const AdoFailure& failure) const
{
    ui::MessageBox::Show(&m_view, QString::fromStdString(what + "\n" + failure.description), {},
                         ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
}
