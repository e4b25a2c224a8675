// Reports from the main form.
#include "mainform/commands/ReportCommand.h"

#include <QPdfWriter>
#include <QBuffer>

#include "mainform/CQuillmarView.h"
#include "platform/ui/MessageBox.h"
#include "reports/CReportOpts.h"
#include "reports/ReportFactory.h"
#include "reports/ReportPrinter.h"

void ReportCommand::Run(ReportSettings& settings)
{
    CReportOpts dialog(View().Database(), Tree().Types(), Tree().Projects(), Tree().Statuses(), settings, &View());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const auto report = ReportFactory::Create(View().Database(), settings);
    // Read the rows once before any dialog, so a report without rows says so instead of
    // showing blank paper; its pages are laid out again for the printer actually chosen.
    QBuffer scratch;
    scratch.open(QIODevice::WriteOnly);
    QPdfWriter probe(&scratch);
    if (!report || report->Prepare(probe) == 0) {
        ui::MessageBox::Show(&View(),
                             QString::fromStdString("The report has no pages.\n" + (report ? report->ReadFailure() : "")),
                             {}, ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Warning);
        return;
    }
    if (dialog.m_bPreview)
        ReportPrinter::Preview(&View(), *report, [this](const QString& text) { View().ShowStatus(text); });
    else
        ReportPrinter::Print(&View(), *report);
}
