// Reports from the main form.
#include "mainform/commands/ReportCommand.h"

#include <QPdfWriter>
#include <QBuffer>

#include "platform/ui/MessageBox.h"
#include "reports/CReportOpts.h"
#include "reports/ReportFactory.h"
#include "reports/ReportPrinter.h"

void ReportCommand::Run(ReportSettings& settings)
{
    CReportOpts dialog(Host().Database(), Tree().Types(), Tree().Projects(), Tree().Statuses(), settings,
                       Host().DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const auto report = ReportFactory::Create(Host().Database(), settings);
    // Read the rows once before any dialog, so a report without rows says so instead of
    // showing blank paper; its pages are laid out again for the printer actually chosen.
    QBuffer scratch;
    scratch.open(QIODevice::WriteOnly);
    QPdfWriter probe(&scratch);
    if (!report || report->Prepare(probe) == 0) {
        ui::MessageBox::Show(Host().DialogParent(),
                             QString::fromStdString("The report has no pages.\n" + (report ? report->ReadFailure() : "")),
                             {}, ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Warning);
        return;
    }
    if (dialog.m_bPreview)
        ReportPrinter::Preview(Host().DialogParent(), *report,
                               [this](const QString& text) { Host().ShowStatus(text); });
    else
        ReportPrinter::Print(Host().DialogParent(), *report);
}
