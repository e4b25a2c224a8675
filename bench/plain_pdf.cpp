// The peer of the report benchmark: a bare QPdfWriter program that draws LINES lines of six
// cells in 10-point Arial across PAGES A4 pages at 600 dpi, with a title and footer per page.
// Usage: plain_pdf OUT.pdf PAGES LINES
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int pages = std::atoi(argv[2]), lines = std::atoi(argv[3]);
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    QFont text("Arial"), title("Arial");
    text.setPointSize(10);
    title.setPointSize(14);
    title.setBold(true);
    const int perPage = (lines + pages - 1) / pages, left = 450, width = writer.width() - 900;
    const int lineHeight = QFontMetrics(QFont(text, &writer), &writer).height();
    int drawn = 0;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        painter.setFont(title);
        painter.drawText(QRect(left, 450, width, 200), Qt::AlignLeft, "Deductible expenses for 2024");
        painter.setFont(text);
        int y = 900;
        for (int i = 0; i < perPage && drawn < lines; ++i, ++drawn, y += lineHeight) {
            const char* cells[] = {"Deductible expense", "02/09", "County Treasurer", "VISA  1042", "1234.56", "CHARITY"};
            for (int c = 0; c < 6; ++c)
                painter.drawText(QRect(left + c * width / 6, y, width / 6, lineHeight), Qt::AlignLeft, cells[c]);
        }
        painter.drawText(QRect(left, writer.height() - 400, width, lineHeight), Qt::AlignRight,
                         QString("  Page %1 of %2").arg(page).arg(pages));
    }
    return 0;
}
