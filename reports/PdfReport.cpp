// Writing a report as PDF.
#include "reports/PdfReport.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <stdexcept>

#include "platform/fs/SafeReplace.h"
#include "platform/fs/TemporaryFile.h"
#include "reports/CExpenseReport.h"

bool PdfReport::Write(CExpenseReport& report, const std::string& path, QPageSize::PageSizeId pageSize, int nDpi,
                      int& nPages, std::string& error)
{
    nPages = 0;
    // A failure inside throws, so the half-written file is removed and never put in place.
    const auto write = [&](const files::TemporaryFile& file) {
        QFile out;
        if (!out.open(file.descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            throw std::runtime_error(out.errorString().toStdString());
        QPdfWriter writer(&out);
        writer.setResolution(nDpi);
        writer.setPageSize(QPageSize(pageSize));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setCreator("Quillmar");
        nPages = report.Prepare(writer);
        if (nPages == 0)
            throw std::runtime_error("the report has no pages" +
                                     (report.ReadFailure().empty() ? std::string() : ": " + report.ReadFailure()));
        QPainter painter(&writer);
        for (int page = 1; page <= nPages; ++page) {
            if (page > 1)
                writer.newPage();
            report.PrintPage(painter, page);
        }
        if (!painter.end() || !out.flush() || out.error() != QFileDevice::NoError)
            throw std::runtime_error("the PDF could not be written: " + out.errorString().toStdString());
    };
    try {
        return files::SafeReplace::replace(path, write, error, files::SafeReplace::Mode::New);
    } catch (const std::exception& failure) {
        error = failure.what();
        return false;
    }
}
