// Printing, previewing and exporting a report.
#include "reports/ReportPrinter.h"

#include <QAction>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"
#include "reports/CExpenseReport.h"
#include "reports/PdfReport.h"

bool ReportPrinter::Render(CExpenseReport& report, QPrinter& printer)
{
    const int pages = report.Prepare(printer);
    if (pages == 0)
        return true;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const int first = printer.fromPage() > 0 ? printer.fromPage() : 1;
    const int last = printer.toPage() > 0 ? std::min(printer.toPage(), pages) : pages;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        report.PrintPage(painter, page);
    }
    return painter.end();
}

void ReportPrinter::Preview(QWidget* parent, CExpenseReport& report, const std::function<void(const QString&)>& status)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&report](QPrinter* target) { Render(report, *target); });
    if (auto* toolBar = dialog.findChild<QToolBar*>()) {
        QAction* exportPdf = toolBar->addAction("Export PDF...");
        exportPdf->setObjectName("exportPdfAction");
        QObject::connect(exportPdf, &QAction::triggered, &dialog, [&dialog, &report, &printer, &status] {
            ui::FileDialog::Request request;
            request.save = true;
            request.title = "Export PDF";
            request.filter = "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||";
            request.defaultExtension = "pdf";
            request.initialName = "report.pdf";
            request.confirmOverwrite = true;
            const auto chosen = ui::FileDialog::Run(&dialog, request);
            if (!chosen)
                return;
            int pages = 0;
            std::string error;
            if (!PdfReport::Write(report, chosen->NativePath(), printer.pageLayout().pageSize().id(), 600, pages,
                                  error))
                ui::MessageBox::Show(&dialog, QString::fromStdString("The PDF could not be written.\n" + error), {},
                                     ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
            else if (status)
                status(QString("Exported %1 %2 to %3.").arg(pages).arg(pages == 1 ? "page" : "pages", chosen->path));
            report.Prepare(printer);  // the preview's pages again
        });
    }
    dialog.exec();
}

void ReportPrinter::Print(QWidget* parent, CExpenseReport& report)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!Render(report, printer))
        ui::MessageBox::Show(parent, "The printer could not be started. Choose another printer or print to a PDF file.", {},
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
}
